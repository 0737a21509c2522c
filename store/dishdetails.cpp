#include "store/dishdetails.h"

#include "store/database.h"
#include "store/statements.h"

namespace store {

DishDetails readDishDetails(const QString& dataFolder, const QVariant& code) {
    DishDetails details;
    if (code.isNull()) {
        return details;
    }
    auto db = connectionFor(dataFolder);
    Statement statement(*db, statements::dishDetails());
    statement.bind(1, code);
    if (statement.step()) {
        details.description = statement.column(0).toString();
        details.picture = statement.columnBlob(1);
        statement.run();
    }
    return details;
}

}  // namespace store
