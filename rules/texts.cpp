#include "rules/texts.h"

namespace rules::texts {

QString noDishToChange() {
    return QStringLiteral("Өзгертетін тағам табылмады.");
}

QString fillEveryField() {
    return QStringLiteral("Алдымен барлық өрістерді толтырыңыз.");
}

}  // namespace rules::texts
