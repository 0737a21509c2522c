#pragma once

#include <QString>

// The texts the user reads that more than one window says, kept in one place.
namespace rules::texts {

// Change with no dish to change: the main window's command and the editor.
QString noDishToChange();
// OK before every required field is filled: the editor and the order dialog.
QString fillEveryField();

}  // namespace rules::texts
