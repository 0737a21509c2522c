#include "forms/application.h"

#include "ui/desktop.h"
#include "ui/guard.h"

namespace forms {

OrvelinApplication::OrvelinApplication(int& argc, char** argv) : QApplication(argc, argv) {
    ui::keepDialogSettingsForThisRunOnly();
    setApplicationName(QStringLiteral("orvelin"));
    // Matches the menu entry, so that docks and task bars show its icon and name.
    setDesktopFileName(QStringLiteral("kz.orvelin.Orvelin"));
}

bool OrvelinApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    ui::guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace forms
