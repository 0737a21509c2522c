#include "rules/dish.h"

#include "rules/currentdish.h"

namespace rules {

bool dishIsComplete(const DishFields& dish) {
    return !dish.code.isEmpty() && !dish.name.isEmpty() && !dish.group.isEmpty() &&
           !dish.ds.isEmpty() && !dish.minutes.isEmpty() && !dish.description.isEmpty();
}

QVariant storedValue(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

std::optional<qint64> dishToChange(const CurrentDish& current) {
    if (!current.hasDish()) {
        return std::nullopt;
    }
    const store::Field code = current.field(QStringLiteral("Code"));
    if (code.isNull()) {
        return std::nullopt;
    }
    return code.asInteger();
}

std::optional<QString> dishToDelete(const CurrentDish& current) {
    if (!current.hasDish()) {
        return std::nullopt;
    }
    const QString name = current.field(QStringLiteral("Nm")).asString();
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return name;
}

}  // namespace rules
