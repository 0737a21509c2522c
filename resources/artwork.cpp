#include "resources/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <functional>

namespace resources::artwork {

namespace {

const QColor kInk(30, 30, 30);
const QColor kPaper(255, 255, 255);
const QColor kBlue(30, 90, 200);
const QColor kYellow(250, 210, 40);

QPixmap canvas(int size, qreal ratio, const std::function<void(QPainter&)>& draw) {
    const int pixels = static_cast<int>(std::ceil(size * ratio));
    QPixmap pixmap(pixels, pixels);
    // The painter then draws in the designed units.
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

void page(QPainter& p, bool lined) {
    QPainterPath sheet;
    sheet.moveTo(3.5, 1.5);
    sheet.lineTo(10.5, 1.5);
    sheet.lineTo(13.5, 4.5);
    sheet.lineTo(13.5, 14.5);
    sheet.lineTo(3.5, 14.5);
    sheet.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 4.5));
    p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
    if (lined) {
        p.setPen(QPen(QColor(120, 120, 160), 1));
        for (int y = 7; y <= 12; y += 2) {
            p.drawLine(QPointF(5, y + 0.5), QPointF(12, y + 0.5));
        }
    }
}

void globe(QPainter& p, QPointF centre, double r) {
    p.setPen(QPen(QColor(0, 80, 160), 1));
    p.setBrush(QColor(90, 170, 240));
    p.drawEllipse(centre, r, r);
    p.setBrush(QColor(60, 160, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(centre.x() - r / 3, centre.y() - r / 4), r / 2.5, r / 3);
    p.drawEllipse(QPointF(centre.x() + r / 3, centre.y() + r / 3), r / 3, r / 4);
    p.setPen(QPen(QColor(0, 80, 160), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r / 2.2, r);
    p.drawLine(QPointF(centre.x() - r, centre.y()), QPointF(centre.x() + r, centre.y()));
}

void pencil(QPainter& p, QPointF tip) {
    p.save();
    p.translate(tip);
    p.rotate(-45);
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(240, 170, 40));
    p.drawRect(QRectF(3, -1.5, 8, 3));
    p.setBrush(QColor(240, 210, 170));
    QPolygonF point;
    point << QPointF(0, 0) << QPointF(3, -1.5) << QPointF(3, 1.5);
    p.drawPolygon(point);
    p.restore();
}

void floppy(QPainter& p, QRectF box) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(40, 60, 140));
    p.drawRect(box);
    p.setBrush(kPaper);
    p.drawRect(QRectF(box.left() + box.width() * 0.2, box.top() + 1, box.width() * 0.6,
                      box.height() * 0.4));
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(QRectF(box.left() + box.width() * 0.25, box.bottom() - box.height() * 0.35,
                      box.width() * 0.5, box.height() * 0.35));
}

void sparkle(QPainter& p, QPointF c, double r) {
    p.setPen(QPen(kYellow.darker(120), 1));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.setPen(QPen(kYellow, 1));
    p.drawLine(QPointF(c.x() - r * 0.6, c.y() - r * 0.6),
               QPointF(c.x() + r * 0.6, c.y() + r * 0.6));
    p.drawLine(QPointF(c.x() - r * 0.6, c.y() + r * 0.6),
               QPointF(c.x() + r * 0.6, c.y() - r * 0.6));
}

void drawToolImage(QPainter& p, int index) {
    switch (index) {
        case 0: {  // about: blue round badge with a white question mark
            QRadialGradient shine(QPointF(6, 5), 9);
            shine.setColorAt(0, QColor(120, 170, 255));
            shine.setColorAt(1, kBlue);
            p.setPen(QPen(kBlue.darker(140), 1));
            p.setBrush(shine);
            p.drawEllipse(QRectF(1, 1, 14, 14));
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(12);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case 1:  // delete: black diagonal cross
            p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
            p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
            break;
        case 2:  // change: lined page, pencil, yellow sparkle
            page(p, true);
            pencil(p, QPointF(6, 13));
            sparkle(p, QPointF(4, 4), 2.5);
            break;
        case 3:  // green square with a cross
            p.setPen(QPen(QColor(0, 100, 0), 1));
            p.setBrush(QColor(60, 170, 60));
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            p.setPen(QPen(Qt::white, 2));
            p.drawLine(QPointF(5, 5), QPointF(11, 11));
            p.drawLine(QPointF(11, 5), QPointF(5, 11));
            break;
        case 4: {  // take order: form sheet with a yellow hand
            page(p, true);
            p.setPen(QPen(kInk.lighter(150), 0.8));
            p.setBrush(kYellow);
            QPainterPath hand;
            hand.addRoundedRect(QRectF(6, 8, 7, 6), 2, 2);
            for (int f = 0; f < 3; ++f) {
                hand.addRoundedRect(QRectF(6.5 + f * 2.2, 4.5, 1.8, 5), 0.9, 0.9);
            }
            hand.addRoundedRect(QRectF(3.5, 9, 4, 1.8), 0.9, 0.9);
            p.drawPath(hand.simplified());
            break;
        }
        case 5:  // page with a small globe
            page(p, false);
            globe(p, QPointF(9.5, 10.5), 3.5);
            break;
        case 6:  // menu report: globe on a stand
            globe(p, QPointF(8, 6.5), 5.5);
            p.setPen(QPen(QColor(110, 80, 40), 1.4));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(1.5, 0.5, 13, 13), 200 * 16, 140 * 16);
            p.drawLine(QPointF(8, 12.5), QPointF(8, 14));
            p.setBrush(QColor(110, 80, 40));
            p.drawRect(QRectF(4.5, 14, 7, 1.5));
            break;
        case 7:  // add: blank page with a folded corner
            page(p, false);
            break;
        case 8:  // page with a globe and a floppy disk
            page(p, false);
            globe(p, QPointF(7, 7), 3);
            floppy(p, QRectF(8.5, 8.5, 6.5, 6.5));
            break;
        case 9: {  // blue square with a white W
            p.setPen(QPen(kBlue.darker(140), 1));
            p.setBrush(kBlue);
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(11);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("W"));
            break;
        }
        case 10:  // orders: table grid with a pencil
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(1.5, 2.5, 12, 11));
            p.setBrush(QColor(200, 220, 250));
            p.drawRect(QRectF(1.5, 2.5, 12, 3));
            for (double x : {5.5, 9.5}) {
                p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
            }
            for (double y : {8.5, 11.0}) {
                p.drawLine(QPointF(1.5, y), QPointF(13.5, y));
            }
            pencil(p, QPointF(9, 15));
            break;
        case 11: {  // multicoloured figure-eight emblem with a red band
            p.setBrush(Qt::NoBrush);
            const QColor colours[] = {QColor(230, 60, 40), QColor(250, 180, 20),
                                      QColor(40, 160, 60), QColor(40, 100, 220)};
            for (int i = 0; i < 4; ++i) {
                p.setPen(QPen(colours[i], 1.6));
                p.drawArc(QRectF(1.5 + (i % 2) * 6.5, 3.5, 6.5, 9), i * 90 * 16, 180 * 16);
            }
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 20, 20));
            p.drawRect(QRectF(0.5, 7, 15, 2.2));
            break;
        }
        case 12:  // print: printer
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(4.5, 1.5, 7, 5));
            p.setBrush(QColor(170, 170, 170));
            p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
            p.setBrush(kPaper);
            p.drawRect(QRectF(4.5, 10.5, 7, 4));
            p.setPen(QPen(QColor(40, 200, 40), 1.2));
            p.drawPoint(QPointF(12.5, 8.5));
            break;
        case 13: {  // exit: blue arrow pointing left
            QPolygonF arrow;
            arrow << QPointF(1.5, 8) << QPointF(7.5, 2.5) << QPointF(7.5, 5.5) << QPointF(14.5, 5.5)
                  << QPointF(14.5, 10.5) << QPointF(7.5, 10.5) << QPointF(7.5, 13.5);
            p.setPen(QPen(kBlue.darker(150), 1));
            p.setBrush(kBlue);
            p.drawPolygon(arrow);
            break;
        }
        case 14:  // save: floppy disk
            floppy(p, QRectF(1.5, 1.5, 13, 13));
            break;
        default:
            break;
    }
}

void smiley(QPainter& p, QPointF c, double r, const QColor& colour) {
    QRadialGradient gloss(QPointF(c.x() - r * 0.35, c.y() - r * 0.4), r * 1.3);
    gloss.setColorAt(0, colour.lighter(170));
    gloss.setColorAt(0.5, colour);
    gloss.setColorAt(1, colour.darker(140));
    p.setPen(QPen(colour.darker(170), std::max(0.6, r / 12)));
    p.setBrush(gloss);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 20));
    p.drawEllipse(QPointF(c.x() - r * 0.33, c.y() - r * 0.2), r * 0.11, r * 0.17);
    p.drawEllipse(QPointF(c.x() + r * 0.33, c.y() - r * 0.2), r * 0.11, r * 0.17);
    p.setPen(QPen(QColor(40, 30, 20), std::max(0.8, r / 9), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r * 0.55, c.y() - r * 0.45, r * 1.1, r * 1.0), 200 * 16, 140 * 16);
}

}  // namespace

QPixmap toolImage(int index, qreal ratio) {
    return canvas(16, ratio, [index](QPainter& p) { drawToolImage(p, index); });
}

QPixmap searchGlyph(qreal ratio) {
    return canvas(18, ratio, [](QPainter& p) {
        p.setPen(QPen(QColor(90, 60, 30), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11.5, 11.5), QPointF(16, 16));
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(200, 230, 255, 200));
        p.drawEllipse(QPointF(7.5, 7.5), 5.5, 5.5);
        p.setPen(QPen(Qt::white, 1.2));
        p.drawArc(QRectF(4, 4, 6, 6), 90 * 16, 90 * 16);
    });
}

QIcon toolIcon(int index) {
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(toolImage(index, ratio));
    }
    return icon;
}

QIcon searchIcon() {
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(searchGlyph(ratio));
    }
    return icon;
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(canvas(size, 1, [size](QPainter& p) {
            const double s = size;
            smiley(p, QPointF(s * 0.30, s * 0.36), s * 0.27, QColor(245, 170, 20));
            smiley(p, QPointF(s * 0.70, s * 0.36), s * 0.27, QColor(60, 170, 60));
            smiley(p, QPointF(s * 0.50, s * 0.68), s * 0.29, QColor(140, 60, 170));
        }));
    }
    return icon;
}

QImage aboutPicture(qreal ratio) {
    QImage image(static_cast<int>(std::ceil(400 * ratio)), static_cast<int>(std::ceil(192 * ratio)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter p(&image);
    QLinearGradient fade(0, 0, 400, 192);
    fade.setColorAt(0, QColor(236, 250, 230));
    fade.setColorAt(1, QColor(196, 230, 190));
    p.fillRect(QRectF(0, 0, 400, 192), fade);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.2));
    p.setBrush(Qt::NoBrush);
    // A steaming bowl and a teapot in light strokes.
    p.drawArc(QRectF(230, 70, 130, 90), 180 * 16, 180 * 16);
    p.drawLine(QPointF(230, 115), QPointF(360, 115));
    p.drawLine(QPointF(270, 160), QPointF(320, 160));
    for (int i = 0; i < 3; ++i) {
        QPainterPath steam;
        const double x = 265 + i * 30;
        steam.moveTo(x, 105);
        steam.cubicTo(x - 10, 90, x + 10, 80, x, 62);
        p.drawPath(steam);
    }
    p.drawEllipse(QRectF(40, 110, 90, 60));
    p.drawArc(QRectF(120, 120, 40, 30), -90 * 16, 180 * 16);
    p.drawLine(QPointF(45, 128), QPointF(18, 112));
    p.drawEllipse(QRectF(75, 100, 20, 10));
    for (int i = 0; i < 12; ++i) {
        p.drawEllipse(QPointF(20 + i * 33, 182), 3, 3);
    }
    return image;
}

}  // namespace resources::artwork
