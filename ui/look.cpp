#include "ui/look.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>

namespace ui {

namespace {

// Undoes a minimise as soon as the window manager reports one.
class StayRestored : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->windowState() & Qt::WindowMinimized) {
                QTimer::singleShot(0, window, [window] { restore(*window); });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void restore(QWidget& window) {
        // The window manager may have taken the owner along with it.
        if (QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr) {
            if (owner->windowState() & Qt::WindowMinimized) {
                owner->setWindowState(owner->windowState() & ~Qt::WindowMinimized);
                owner->show();
            }
        }
        if (window.isVisible() || (window.windowState() & Qt::WindowMinimized)) {
            window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
            window.show();
            window.raise();
            window.activateWindow();
        }
    }
};

}  // namespace

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

void makeFixedWindow(QWidget& window) {
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window.installEventFilter(new StayRestored(&window));
}

void makeFixedDialog(QDialog& dialog, int clientWidth, int clientHeight, int left, int top) {
    makeFixedWindow(dialog);
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

}  // namespace ui
