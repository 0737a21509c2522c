#include "forms/look.h"

#include "ui/fixedwindow.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QRadioButton>
#include <QStyle>

namespace forms {

QFont formFont() {
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                                 QStringLiteral("Arial")});
    font.setPointSize(8);
    return font;
}

QFont arialFont(int pointSize, bool bold) {
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

void makeFixedDialog(QDialog& dialog, int clientWidth, int clientHeight, int left, int top) {
    ui::makeFixedWindow(dialog);
    dialog.setFixedSize(clientWidth, clientHeight);
    dialog.move(left, top);
}

void chainTabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
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
    for (qreal size = font.pointSizeF(); size > 5.0; size -= 0.5) {
        font.setPointSizeF(size);
        if (fits(font)) {
            break;
        }
    }
    return font;
}

}  // namespace forms
