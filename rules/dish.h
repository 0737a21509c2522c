#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace rules {

class CurrentDish;

// A dish as the editor's fields hold it.
struct DishFields {
    QString code;
    QString name;
    QString group;
    QString ds;
    QString price;
    QString minutes;
    QString description;
};

// Every saved dish carries this DS (the field the editor keeps hidden).
inline constexpr int SavedDs = 4;

// A dish is saved only with every field filled but the price.
bool dishIsComplete(const DishFields& dish);

// An empty field is stored as no value at all.
QVariant storedValue(const QString& text);

// The code of the dish the editor changes: the current dish's, when there is one and it has
// a code.
std::optional<qint64> dishToChange(const CurrentDish& current);

// The name of the dish Delete removes, to be confirmed by the user first: the current dish's,
// when there is one and it has a name. The menu's dishes are deleted by name, so a dish
// without one is never deleted from the list.
std::optional<QString> dishToDelete(const CurrentDish& current);

}  // namespace rules
