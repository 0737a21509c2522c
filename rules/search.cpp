#include "rules/search.h"

#include "store/statements.h"

namespace rules {

std::optional<store::Line> searchFilter(SearchField field, const QString& text) {
    if (field == SearchField::Name) {
        return store::statements::nameFilter(text);
    }
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return field == SearchField::Price ? store::statements::priceFilter(text)
                                       : store::statements::timeFilter(text);
}

}  // namespace rules
