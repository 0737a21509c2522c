#pragma once

#include <QDialog>
#include <exception>
#include <new>
#include <utility>

#include "ui/messages.h"

namespace ui {

// Runs one user command; whatever escapes it ends the command there and is shown in the
// common error box. Qt does not promise to carry an exception through its own frames, so
// every handler is entered through here.
template <typename Command>
void guarded(Command&& command) {
    try {
        std::forward<Command>(command)();
    } catch (const std::bad_alloc&) {
        errorBox(QStringLiteral("Out of memory"));
    } catch (const std::exception& error) {
        // The program's own errors carry their text as UTF-8 here too.
        errorBox(QString::fromUtf8(error.what()));
    }
}

// A slot that runs a member handler through the guard.
template <typename Owner, typename... Args>
auto guardedSlot(Owner* owner, void (Owner::*handler)(Args...)) {
    return [owner, handler](Args... args) { guarded([&] { (owner->*handler)(args...); }); };
}

// Shows a dialog modally after running its showing handler through the guard. A handler
// that fails still lets the dialog appear; one that answers false keeps it closed.
template <typename FormShow>
int showModal(QDialog& dialog, FormShow&& formShow) {
    bool open = true;
    guarded([&] { open = std::forward<FormShow>(formShow)(); });
    return open ? dialog.exec() : QDialog::Rejected;
}

// Shows a dialog modally only if its showing handler succeeds and answers true; a handler
// that fails shows its error and keeps the dialog closed.
template <typename FormShow>
int showModalIfReady(QDialog& dialog, FormShow&& formShow) {
    bool ready = false;
    guarded([&] { ready = std::forward<FormShow>(formShow)(); });
    return ready ? dialog.exec() : QDialog::Rejected;
}

}  // namespace ui
