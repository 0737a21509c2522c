#pragma once

#include <QFont>
#include <QList>
#include <QStringList>

class QDialog;
class QRadioButton;
class QWidget;

namespace forms {

// The layout files name the designed faces, "MS Sans Serif" and "Arial". Where the desktop
// lacks them, the toolkit falls back on Liberation Sans, Arial's metric twin, which is narrow
// enough for the fixed layouts to keep their captions whole. Every window calls this before
// it builds its controls.
void useDesktopFaces();
// A dialog of fixed size at its designed place: its layout file's size, and the position it
// gives as the property "designedPosition".
void makeFixedDialog(QDialog& dialog);

// A group of radio buttons is one stop on the Tab key: the checked button. The arrow keys
// move the check within the group.
void tabStopOnCheckedButton(const QList<QRadioButton*>& group);

// The bold title font of a grid, made narrower where the desktop's face is wider than the
// designed one, so that every title fits its column's designed width.
QFont titleFontFitting(const QFont& base, const QStringList& titles, const QList<int>& widths);

}  // namespace forms
