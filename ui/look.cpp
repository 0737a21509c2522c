#include "ui/look.h"

#include <QDialog>

namespace ui {

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

void makeFixedDialog(QDialog& dialog, int clientWidth, int clientHeight, int left, int top) {
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog.setFixedSize(clientWidth, clientHeight);
    dialog.move(left, top);
}

}  // namespace ui
