#pragma once

#include <QString>

#include "store/field.h"

namespace rules {

// The main window's current dish as the dialogs see it: every read is of the row the list
// shows at that moment, never of a copy taken before. The main window implements it.
class CurrentDish {
public:
    // False while the list is closed or has no current row.
    virtual bool hasDish() const = 0;
    // A field of the current row (Code, Nm, Tys, PS, Vozr); only while hasDish().
    virtual store::Field field(const QString& name) const = 0;
    // The data folder the list is read from.
    virtual QString dataFolder() const = 0;
    // Reads the list again with its search and sort, after a dish was saved.
    virtual void reopenList() = 0;

protected:
    CurrentDish() = default;
    CurrentDish(const CurrentDish&) = default;
    CurrentDish& operator=(const CurrentDish&) = default;
    ~CurrentDish() = default;
};

}  // namespace rules
