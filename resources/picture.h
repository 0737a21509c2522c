#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pictures {

// Loads a picture the user picked. The extension chooses the reader: "bmp" a Windows bitmap,
// "jpg"/"jpeg" JPEG, "ico" an icon, no extension any format the system knows. Metafiles and
// other extensions are refused; every refusal is an error with a clear text.
QImage loadPicture(const QString& path);

// Pictures are stored as Windows bitmaps.
QByteArray bitmapBytes(const QImage& image);
QImage pictureFromBytes(const QByteArray& bytes);

}  // namespace pictures
