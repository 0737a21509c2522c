#pragma once

#include <QFont>
#include <QList>
#include <QStringList>
#include <initializer_list>
#include <limits>

class QDialog;
class QRadioButton;
class QWidget;

namespace forms {

// "MS Sans Serif" 8 points where the desktop has it, else the nearest narrow sans face, so
// that the fixed layouts keep their captions whole.
QFont formFont();
// "Arial", or its metric twin.
QFont arialFont(int pointSize, bool bold);

// The longest text an edit box takes: all of it (the toolkit's default would cut a long
// paste at 32 767 characters without a word).
constexpr int kWholeText = std::numeric_limits<int>::max();

// A dialog of fixed size: a fixed window (ui/fixedwindow.h) at its designed place and client size.
void makeFixedDialog(QDialog& dialog, int clientWidth, int clientHeight, int left, int top);

// The Tab key visits the controls in this order.
void chainTabOrder(std::initializer_list<QWidget*> controls);

// A group of radio buttons is one stop on the Tab key: the checked button. The arrow keys
// move the check within the group.
void tabStopOnCheckedButton(const QList<QRadioButton*>& group);

// The bold title font of a grid, made narrower where the desktop's face is wider than the
// designed one, so that every title fits its column's designed width.
QFont titleFontFitting(const QFont& base, const QStringList& titles, const QList<int>& widths);

}  // namespace forms
