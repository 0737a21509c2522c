#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's pictures, drawn at start-up so that they stay sharp and need no files. Each is
// drawn for a device pixel ratio (2 on a high-density screen): its size in pixels is its
// designed size times the ratio, so nothing is scaled up and blurred.
namespace resources::artwork {

// The 16 x 16 command images, by their index in the toolbar's image list (fifteen).
QPixmap toolImage(int index, qreal ratio = 1);
QPixmap searchGlyph(qreal ratio = 1);  // 18 x 18 magnifier
// The same as icons, drawn once for ordinary and once for double-density screens.
QIcon toolIcon(int index);
QIcon searchIcon();
QIcon applicationIcon();               // three round smiley faces, 16 to 256 pixels
QImage aboutPicture(qreal ratio = 1);  // 400 x 192, pale green with a light line drawing

}  // namespace resources::artwork
