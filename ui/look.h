#pragma once

#include <QFont>
#include <QStringList>

class QDialog;

namespace ui {

// "MS Sans Serif" 8 points where the desktop has it, else the nearest narrow sans face, so
// that the fixed layouts keep their captions whole.
QFont formFont();
// "Arial", or its metric twin.
QFont arialFont(int pointSize, bool bold);

// A dialog of fixed size: a title bar with a close box only.
void makeFixedDialog(QDialog& dialog, int clientWidth, int clientHeight, int left, int top);

}  // namespace ui
