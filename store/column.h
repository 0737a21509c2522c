#pragma once

#include <QString>

namespace store {

// One column of a list as a window shows it and a report writes it: the result field and
// its title.
struct Column {
    QString field;
    QString title;
};

}  // namespace store
