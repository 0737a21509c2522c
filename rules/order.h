#pragma once

#include <QString>

namespace rules {

// A quantity as typed into the order dialog: nothing to do while the box is empty; valid as a
// whole number from 1 to 999 written without leading zeros; anything else is refused.
enum class Quantity { Empty, Valid, Refused };
Quantity checkQuantity(const QString& typed);

// The quantity and the sum an order line is written with, read from the dialog's texts. The
// price is read first: a text that is no whole number is the store's error for that text; a
// sum past 64 bits is refused with the figures, never wrapped round.
struct OrderFigures {
    qint64 quantity = 0;
    qint64 sum = 0;
};
OrderFigures orderFigures(const QString& quantity, const QString& price);

// An order is taken only with a waiter and a quantity.
bool orderIsComplete(const QString& waiter, const QString& quantity);

}  // namespace rules
