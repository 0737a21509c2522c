#pragma once

// The widget-free part of the tests' fixture: a program folder of its own with a base made from
// the schema, the sample menu, and files of given bytes. tests/support.h adds the windows.

#include <QList>
#include <QSet>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

#include "store/database.h"

// A program folder of its own for one test: base/orvelin.db made from the schema, an empty
// img folder, and the program pointed at it. With a name, the program folder is a folder of
// that name inside the temporary one.
class TestFolder {
public:
    explicit TestFolder(bool withBase = true, const QString& name = {});
    ~TestFolder();
    QString path() const { return path_; }
    QString dataFolder() const { return path_ + QStringLiteral("/base"); }
    store::Database& db();

    void addDish(qint64 code, const QString& name, const QString& group, const QVariant& price,
                 const QVariant& minutes, const QString& description = QStringLiteral("Сипаттама"),
                 const QByteArray& picture = {});
    void addOrder(qint64 code, const QString& waiter, qint64 quantity, double price,
                  const QString& isoDate);
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    // 2 000 dishes (Vozr 0 for every 90th) and that many orders over 2 100 codes (so some
    // have no dish), 20 waiters, prices with fractions, dates over eleven years.
    void addManyOrders(int orders);
    // The rows one statement of a query yields, read at once, ISO dates in dateColumns as dates.
    QList<QVariantList> statementRows(const QString& sql, const QVariantList& params,
                                      const QSet<int>& dateColumns);

private:
    QTemporaryDir dir_;
    QString path_;
    std::shared_ptr<store::Database> db_;
};

// Writes a file whole (and its folder), for tests that need a file of given bytes.
bool writeFile(const QString& path, const QByteArray& bytes);

// A small Windows bitmap of one colour.
QByteArray sampleBitmap(int width, int height, Qt::GlobalColor colour);

// One dish of a menu a test starts from.
struct Dish {
    qint64 code;
    QString name;
    QString group;
    QVariant price;
    QVariant minutes;
    QString description = QStringLiteral("Сипаттама");
    QByteArray picture = {};
};

// The sample menu: five dishes in four groups, the first (a 20 x 10 red picture) and the third
// (8 x 8 blue) with pictures, or both with plate when one is given.
QList<Dish> sampleMenu(const QByteArray& plate = {});

// Adds the dishes of a menu, the sample menu when none is named.
void addMenu(TestFolder& folder, const QList<Dish>& dishes = sampleMenu());
