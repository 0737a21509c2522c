#pragma once

#include <optional>

#include "store/query.h"

namespace rules {

// The field the main window searches by: its three option buttons.
enum class SearchField { Name, Price, Time };

// The dish list's filter line for a search text. A name search takes any text, the empty one
// too (every named dish); a price or time search needs a text, so none comes back for an
// empty one and the window asks for it. A price or time text that is no comparison gives a
// refused line: the list then stays closed, and says why, until the next search.
std::optional<store::Line> searchFilter(SearchField field, const QString& text);

}  // namespace rules
