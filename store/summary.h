#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

// The sales summary: the order lines of a range of days, counted and summed per group by the
// store itself.
namespace store {

enum class Grouping { Day, Month, Waiter, Dish, Group };

struct SummaryRow {
    QVariant key;        // the day or month (ISO text), the waiter, the dish's name or group
    qint64 deleted = 0;  // the code of a deleted dish whose orders the row holds, else 0
    qint64 lines = 0;
    qint64 quantity = 0;
    double sum = 0;
};

// The groups of the order lines dated from first to last, both included; days and months
// in date order, the others by sum, largest first. Without a range (null dates), every
// order line.
QList<SummaryRow> readSummary(const QString& dataFolder, Grouping grouping, const QDate& first,
                              const QDate& last);

// The first and the last day with orders; null dates when there are none.
std::pair<QDate, QDate> orderDates(const QString& dataFolder);

}  // namespace store
