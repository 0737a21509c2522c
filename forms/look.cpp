#include "forms/look.h"

#include "ui/fixedwindow.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QRadioButton>
#include <QStyle>

namespace forms {

void useDesktopFaces() {
    // The toolkit tries a family's substitutes, in order, where the desktop lacks it; a
    // substitute already listed is not added again.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

void makeFixedDialog(QDialog& dialog) {
    ui::makeFixedWindow(dialog);
    dialog.setFixedSize(dialog.size());
    dialog.move(dialog.property("designedPosition").toPoint());
}

void tabStopOnCheckedButton(const QList<QRadioButton*>& group) {
    auto update = [group] {
        for (QRadioButton* button : group) {
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
        }
    };
    for (QRadioButton* button : group) {
        QObject::connect(button, &QRadioButton::toggled, button, update);
    }
    update();
}

QFont titleFontFitting(const QFont& base, const QStringList& titles, const QList<int>& widths) {
    QFont font = base;
    font.setBold(true);
    const int margin = 2 * QApplication::style()->pixelMetric(QStyle::PM_HeaderMargin) + 2;
    auto fits = [&](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        for (qsizetype i = 0; i < titles.size() && i < widths.size(); ++i) {
            if (metrics.horizontalAdvance(titles[i]) + margin > widths[i]) {
                return false;
            }
        }
        return true;
    };
    // A condensed stretch first, then smaller sizes: the face stays the desktop's own.
    for (int stretch : {QFont::Unstretched, QFont::SemiCondensed, QFont::Condensed}) {
        font.setStretch(stretch);
        if (fits(font)) {
            return font;
        }
    }
    font.setStretch(QFont::Unstretched);
    // Half a point at a time, down to 5.5 points.
    const qreal designed = font.pointSizeF();
    for (int step = 0; designed - step * 0.5 > 5.0; ++step) {
        font.setPointSizeF(designed - step * 0.5);
        if (fits(font)) {
            break;
        }
    }
    return font;
}

}  // namespace forms
