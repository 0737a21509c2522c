#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace resources::pictures {

// The largest picture kept for a dish: a larger one is scaled down to fit when it is chosen,
// so that its bitmap stays near 2.4 MB whatever camera took it.
inline constexpr QSize kLargest(1024, 768);

// The picture chooser's filters: every format the toolkit reads, then bitmaps, then any file.
QString chooserFilter();

// Loads a picture the user picked, in any format the toolkit reads (the content decides, the
// extension is only a hint). The picture comes upright (a camera's orientation applied) and
// at most kLargest, scaled smoothly with its shape kept. Only a regular file is opened, and
// never so that the program could wait on it. Every refusal is an error with a clear text.
QImage loadPicture(const QString& path);

// Pictures are stored as Windows bitmaps.
QByteArray bitmapBytes(const QImage& image);
QImage pictureFromBytes(const QByteArray& bytes);

}  // namespace resources::pictures
