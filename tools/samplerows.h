#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include "store/database.h"

// Writes the rows of a sample base (the README's menu, the benchmarks' large bases, the tests'
// menus) with the program's own statements.
class SampleRows {
public:
    struct Dish {
        qint64 code;
        QString name;
        QString group;
        QVariant price;
        QVariant minutes;
        QString description;
        QByteArray picture;  // none: the dish has no picture
    };
    struct Order {
        qint64 code;
        QVariant waiter;
        qint64 quantity;
        QVariant price;
        QVariant sum;
        QVariant date;
    };

    explicit SampleRows(store::Database& db);

    void add(const Dish& dish);
    void add(const Order& order);

private:
    store::Statement dish_;
    store::Statement picture_;
    store::Statement order_;
};
