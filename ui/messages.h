#pragma once

#include <QString>

// The program's message boxes, all through the desktop seam.
namespace ui {

void information(const QString& text);                    // "Information", one OK
void warning(const QString& text);                        // "Warning", one OK
bool confirm(const QString& text);                        // "Confirm", Yes/No; Esc answers No
bool yesNo(const QString& caption, const QString& text);  // no icon
// True when no file is at path, or the user agrees to replace the one there.
bool mayReplace(const QString& path, const QString& caption);

// The common error box: caption "orvelin", error icon, the text with a full stop added
// unless it already ends in a character up to the full stop.
void errorBox(const QString& text);
QString errorBoxText(const QString& text);

}  // namespace ui
