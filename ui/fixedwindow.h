#pragma once

class QWidget;

namespace ui {

// A window that is a fixed dialog: a title bar with a close box only, never minimised.
// Window managers that draw a minimise button all the same (Openbox does, on every dialog)
// find the dialog back in its place at once.
void makeFixedWindow(QWidget& window);

}  // namespace ui
