#include "ui/look.h"

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

}  // namespace ui
