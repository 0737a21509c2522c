#pragma once

#include <QDate>
#include <QList>

#include "store/query.h"
#include "store/summary.h"

// Every statement the program sends, built in one place: the windows', the dish editor's, the
// reports', the tools' and the connection's own (its settings, its check of the schema, its
// transactions). Only the schema (store/schema.sql) is a file of its own. What the user typed
// is always a bound value; the lines keep their places, so a search replaces line 3 and a
// sort line 4.
namespace store::statements {

constexpr int FilterLine = 3;
constexpr int OrderLine = 4;

// The dish list: only what the grid shows plus what the dialogs read of the current dish.
// Names and groups sort in the Kazakh alphabet's order, by the keys kept beside the dishes
// (a key not made yet is computed while the list sorts); numbers sort as numbers.
QList<store::Line> dishList();

store::Line nameFilter(const QString& searchText);
// Price and preparation time: an optional operator <, >, =, <=, >= or <> and a number.
store::Line priceFilter(const QString& searchText);
store::Line timeFilter(const QString& searchText);
store::Line sortOrder(int column, bool descending);

store::Line deleteDish(const QString& name);

// A dish as a dialog showed it: an order is written only while the menu still holds it so.
struct ShownDish {
    qint64 code = 0;
    QVariant name;   // its stored bytes
    QVariant price;  // as the dialog shows it
};
store::Line insertOrder(const ShownDish& dish, const QString& waiter, qint64 quantity, qint64 sum,
                        const QDate& date);
// The name (its stored bytes) and price a dish has in the menu now.
store::Line dishNow(qint64 code);

QList<store::Line> orders();  // the first line and the filter line for every order
store::Line ordersSelect();
// The orders list read in pages by the orders' rowid: the order its join scans them in.
const store::Keyset& ordersKeyset();
store::Line ordersByWaiter(const QString& searchText);
store::Line ordersByDish(const QString& searchText);

// One dish as the dish editor reads it, with its picture (Code, Nm, Tys, DS, PS, Vozr, Comm,
// Img; bound: the code); reading the menu at all, which reports a base without one; writing
// the dish as a new row or over the row of the bound code (Code, Nm, Tys, DS, PS, Vozr, Comm,
// then the code it had), each answering the code as stored; and dropping its picture (bound:
// the code). A picture is written with pictureRowInsert().
QString dishRecord();
QString menuProbe();
QString insertDish();
QString updateDish();
QString deletePicture();
// What the main window shows of the current dish only: its description and picture (bound:
// the code).
QString dishDetails();

// The connection's own: its settings right after opening, the write transaction, and what
// the schema holds (every object: type, name, table; a table's columns, bound: its name).
QString foreignKeysOn();
QString journalToWal();
QString fullSync();
QString beginWrite();
QString commit();
QString rollback();
QString schemaObjects();
QString tableColumns();

// The backup tool's: a copy made to stand alone, one file with no log beside it; and the check
// that a copy is a whole base before it is restored.
QString standAloneJournal();
QString quickCheck();

// Whole rows as the sample-base tools write them, every value bound: a dish (Code, Nm, Tys,
// PS, Vozr, Comm; DS is 4 as in every saved row), its picture (Code, Img), an order (code,
// fio, kvo, sena, summ, dt).
QString dishRowInsert();
QString pictureRowInsert();
QString orderRowInsert();

// The sort keys of the Kazakh alphabet's order (store/collation.cpp): the collation version
// the keys were made with (bound: the collation's name) and how many of the key tables the
// base holds; making every key again; storing the version (name, version); whether keys are
// due, making them (into the base's table, also while the connection's own hides it) and
// clearing the list of due codes; and an empty table of keys of the connection's own, which
// hides the base's.
QString sortKeysVersion();
QString sortKeyTablesPresent();
QStringList remakeAllSortKeys();
QString storeSortKeysVersion();
QString sortKeysDue();
QString makeDueSortKeys();
QString clearDueSortKeys();
QString sortKeysOfThisRunOnly();
// The sales summary of one grouping over the orders dated from ?1 to ?2, both included, or
// over every order line when not ranged: the group's key, the code of a deleted dish (else
// null), the lines, the quantity and the sum. The program sends it for days, months and
// waiters; dishes and groups it sums itself from summaryLines, faster than this group by,
// which stays as the plain SQL that the benchmark gives the sqlite3 shell.
QString summary(store::Grouping grouping, bool ranged);
// The dish code, quantity and sum of each order line dated from ?1 to ?2, or of every line
// when not ranged: the program sums dishes and groups from these itself.
QString summaryLines(bool ranged);
// The highest dish code on the menu.
QString lastDishCode();
// The code, name and group of the dish ?1; of the dishes from code ?1 to ?2, in code order.
QString dishNameAndGroup();
QString dishesNamesAndGroups();
// The first and the last order date.
QString orderDates();
// The order-date index, for a base made before it was part of the schema.
QString orderDateIndex();

// '%', '_' and '\' in a search text stand for themselves.
QString likeContains(const QString& text);

}  // namespace store::statements
