#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's pictures, drawn at start-up so that they stay sharp and need no files.
namespace artwork {

// The 16 x 16 command images, by their index in the toolbar's image list.
QPixmap toolImage(int index);
QPixmap searchGlyph();    // 18 x 18 magnifier
QIcon applicationIcon();  // three round smiley faces, 16 to 128 pixels
QImage aboutPicture();    // 400 x 192, pale green with a light line drawing

}  // namespace artwork
