#include "rules/order.h"

#include <QRegularExpression>

#include "store/error.h"
#include "store/field.h"

namespace rules {

Quantity checkQuantity(const QString& typed) {
    static const QRegularExpression form(QStringLiteral("^[1-9][0-9]{0,2}$"));
    if (typed.isEmpty()) {
        return Quantity::Empty;
    }
    return form.match(typed).hasMatch() ? Quantity::Valid : Quantity::Refused;
}

OrderFigures orderFigures(const QString& quantity, const QString& price) {
    const qint64 each = store::toInteger(price);
    OrderFigures figures;
    figures.quantity = store::toInteger(quantity);
    if (__builtin_mul_overflow(figures.quantity, each, &figures.sum)) {
        throw AppError(QStringLiteral("Сома тым үлкен: %1 x %2").arg(figures.quantity).arg(each));
    }
    return figures;
}

bool orderIsComplete(const QString& waiter, const QString& quantity) {
    return !waiter.isEmpty() && !quantity.isEmpty();
}

}  // namespace rules
