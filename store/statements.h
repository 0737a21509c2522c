#pragma once

#include <QDate>
#include <QList>

#include "store/query.h"
#include "store/summary.h"

// Every statement the program sends, built in one place. What the user typed is always a
// bound value; the lines keep their places, so a search replaces line 3 and a sort line 4.
namespace statements {

constexpr int FilterLine = 3;
constexpr int OrderLine = 4;

// The dish list: only what the grid shows plus what the dialogs read of the current dish.
QList<store::Line> dishList();

store::Line nameFilter(const QString& searchText);
// Price and preparation time: an optional operator <, >, =, <=, >= or <> and a number.
store::Line priceFilter(const QString& searchText);
store::Line timeFilter(const QString& searchText);
store::Line sortOrder(int column, bool descending);

store::Line deleteDish(const QString& name);

store::Line insertOrder(qint64 code, const QString& waiter, qint64 quantity, const QVariant& price,
                        qint64 sum, const QDate& date);

QList<store::Line> orders();  // the first line and the filter line for every order
store::Line ordersSelect();
store::Line ordersByWaiter(const QString& searchText);
store::Line ordersByDish(const QString& searchText);

// Whole rows as the sample-base tools write them, every value bound: a dish (Code, Nm, Tys,
// PS, Vozr, Comm; DS is 4 as in every saved row), its picture (Code, Img), an order (code,
// fio, kvo, sena, summ, dt).
QString dishRowInsert();
QString pictureRowInsert();
QString orderRowInsert();

// The sales summary of one grouping over the orders dated from ?1 to ?2, both included, or
// over every order line when not ranged: the group's key, the code of a deleted dish (else
// null), the lines, the quantity and the sum.
QString summary(store::Grouping grouping, bool ranged);
// The first and the last order date.
QString orderDates();
// The order-date index, for a base made before it was part of the schema.
QString orderDateIndex();

// '%', '_' and '\' in a search text stand for themselves.
QString likeContains(const QString& text);

}  // namespace statements
