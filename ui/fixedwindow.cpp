#include "ui/fixedwindow.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

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

void makeFixedWindow(QWidget& window) {
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window.installEventFilter(new StayRestored(&window));
}

}  // namespace ui
