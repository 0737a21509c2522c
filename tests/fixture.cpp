#include "tests/fixture.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>

#include "store/datafolder.h"
#include "tools/samplerows.h"

TestFolder::TestFolder(bool withBase, const QString& name)
    : path_(name.isEmpty() ? dir_.path() : dir_.path() + QLatin1Char('/') + name) {
    QDir(path_).mkpath(QStringLiteral("img"));
    if (withBase) {
        QDir(path_).mkpath(QStringLiteral("base"));
        db_ = store::Database::create(store::databasePath(dataFolder()));
    }
    store::setProgramFolder(path_);
}

TestFolder::~TestFolder() {
    db_.reset();
    store::forgetConnections();
    store::setProgramFolder(QString());
}

store::Database& TestFolder::db() {
    return *db_;
}

void TestFolder::addDish(qint64 code, const QString& name, const QString& group,
                         const QVariant& price, const QVariant& minutes, const QString& description,
                         const QByteArray& picture) {
    SampleRows(*db_).add(SampleRows::Dish{code, name, group, price, minutes, description, picture});
}

void TestFolder::addOrder(qint64 code, const QString& waiter, qint64 quantity, double price,
                          const QString& isoDate) {
    SampleRows(*db_).add(SampleRows::Order{code, waiter.isNull() ? QVariant() : QVariant(waiter),
                                           quantity, price, price * static_cast<double>(quantity),
                                           isoDate});
}

void TestFolder::addManyOrders(int orders) {
    db().exec(
        QStringLiteral(
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 2000) "
            "insert into goods (Code, Nm, Tys, DS, PS, Vozr, Comm) select i, 'Тағам ' || i, "
            "'Топ', 4, i * 10, i % 90, null from n; "
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
            "insert into orders (code, fio, kvo, sena, summ, dt) select 1 + i % 2100, "
            "'Даяшы ' || (i % 20), 1 + i % 9, (i % 500) / 4.0, (1 + i % 9) * ((i % 500) / 4.0), "
            "date('2016-01-01', '+' || (i % 4000) || ' days') from n")
            .arg(orders));
}

QList<QVariantList> TestFolder::statementRows(const QString& sql, const QVariantList& params,
                                              const QSet<int>& dateColumns) {
    QList<QVariantList> rows;
    store::Statement statement(db(), sql);
    statement.bindAll(params);
    while (statement.step()) {
        QVariantList row;
        for (int c = 0; c < statement.columnCount(); ++c) {
            QVariant value = statement.column(c);
            if (dateColumns.contains(c)) {
                const QDate date = QDate::fromString(value.toString(), Qt::ISODate);
                value = date.isValid() ? QVariant(date) : value;
            }
            row.append(value);
        }
        rows.append(row);
    }
    return rows;
}

QVariant TestFolder::scalar(const QString& sql, const QVariantList& params) {
    store::Statement statement(*db_, sql);
    statement.bindAll(params);
    QVariant value;
    if (statement.step()) {
        value = statement.column(0);
        statement.run();
    }
    return value;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray sampleBitmap(int width, int height, Qt::GlobalColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QList<Dish> sampleMenu(const QByteArray& plate) {
    const auto picture = [&plate](int width, int height, Qt::GlobalColor colour) {
        return plate.isEmpty() ? sampleBitmap(width, height, colour) : plate;
    };
    return {
        {1, QStringLiteral("Бесбармақ"), QStringLiteral("Ұлттық ет тағамдары"), 3500, 180,
         QStringLiteral("Жылқы етінен"), picture(20, 10, Qt::red)},
        {2, QStringLiteral("Қуырдақ"), QStringLiteral("Ет тағамдары"), 2800, 60,
         QStringLiteral("Қой етінен")},
        {3, QStringLiteral("Бауырсақ"), QStringLiteral("Нан өнімдері"), 90, 30,
         QStringLiteral("Майға қуырылған"), picture(8, 8, Qt::blue)},
        {4, QStringLiteral("Таба нан"), QStringLiteral("Нан өнімдері"), 100, 0},
        {5, QStringLiteral("Шай"), QStringLiteral("Сусындар"), 100, 5},
    };
}

void addMenu(TestFolder& folder, const QList<Dish>& dishes) {
    for (const Dish& dish : dishes) {
        folder.addDish(dish.code, dish.name, dish.group, dish.price, dish.minutes, dish.description,
                       dish.picture);
    }
}
