#include "rules/search.h"

#include "store/statements.h"

namespace rules {

std::optional<store::Line> searchFilter(SearchField field, const QString& text) {
    if (field == SearchField::Name) {
        return statements::nameFilter(text);
    }
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return field == SearchField::Price ? statements::priceFilter(text)
                                       : statements::timeFilter(text);
}

}  // namespace rules
