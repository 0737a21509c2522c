#include "tests/support.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <utility>

#include "store/datafolder.h"

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
    store::Statement insert(*db_, QStringLiteral("insert into goods (Code, Nm, Tys, DS, PS, Vozr, "
                                                 "Comm) values (?, ?, ?, 4, ?, ?, ?)"));
    insert.bindAll({code, name, group, price, minutes, description});
    insert.run();
    if (!picture.isEmpty()) {
        store::Statement add(*db_,
                             QStringLiteral("insert into pictures (Code, Img) values (?, ?)"));
        add.bindAll({code, picture});
        add.run();
    }
}

void TestFolder::addOrder(qint64 code, const QString& waiter, qint64 quantity, double price,
                          const QString& isoDate) {
    store::Statement insert(*db_, QStringLiteral("insert into orders (code, fio, kvo, sena, summ, "
                                                 "dt) values (?, ?, ?, ?, ?, ?)"));
    insert.bindAll({code, waiter.isNull() ? QVariant() : QVariant(waiter), quantity, price,
                    price * static_cast<double>(quantity), isoDate});
    insert.run();
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

ScriptedDesktop::ScriptedDesktop() {
    ui::setDesktop(this);
}

ScriptedDesktop::~ScriptedDesktop() {
    ui::setDesktop(nullptr);
}

void ScriptedDesktop::message(ui::MessageKind kind, const QString& caption, const QString& text) {
    messages.append({kind, caption, text});
}

bool ScriptedDesktop::ask(ui::Question kind, const QString& caption, const QString& text) {
    const char* const kinds[] = {"confirm|", "plain|", "replace|"};
    questions.append(QLatin1String(kinds[static_cast<int>(kind)]) + caption + QLatin1Char('|') +
                     text);
    return answers.isEmpty() ? false : answers.takeFirst();
}

QString ScriptedDesktop::openPictureName(QWidget*, const QString& filter) {
    pictureFilter = filter;
    return pictureName;
}

QString ScriptedDesktop::saveFileName(QWidget*, const QString& title, const QString& filter) {
    saveTitle = title;
    saveFilter = filter;
    return std::exchange(saveName, QString());
}

bool ScriptedDesktop::choosePrinter(QWidget*, QPrinter& printer) {
    return printerChoice ? printerChoice(printer) : false;
}

void ScriptedDesktop::openDocument(const QString& path, const QString& workingFolder,
                                   const std::function<void(const QString&)>& cannotOpen) {
    opened.append(path);
    openedFolder = workingFolder;
    if (!openFailure.isEmpty()) {
        cannotOpen(openFailure);
    }
}

QStringList ScriptedDesktop::texts() const {
    QStringList all;
    for (const Message& m : messages) {
        all.append(m.text);
    }
    return all;
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

#include <QTableView>
#include <QTest>
#include <QTimer>

void Windows::show() {
    main.show();
    QApplication::setActiveWindow(&main);
    (void)QTest::qWaitForWindowExposed(&main);
}

QStringList Windows::gridColumn(int column) const {
    QStringList values;
    const QAbstractItemModel* model = main.DBGrid1->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        values.append(model->index(row, column).data().toString());
    }
    return values;
}

namespace {
int& pendingModalChecks() {
    static int pending = 0;
    return pending;
}
}  // namespace

Session::~Session() {
    if (std::exchange(pendingModalChecks(), 0) != 0) {
        QTest::qFail("a dialog the test waited for never opened", __FILE__, __LINE__);
    }
}

void whileModal(QDialog& dialog, std::function<void()> check) {
    ++pendingModalChecks();
    QTimer::singleShot(0, &dialog, [&dialog, check] {
        --pendingModalChecks();
        QVERIFY(dialog.isVisible());
        check();
        if (dialog.isVisible()) {
            dialog.done(QDialog::Rejected);
        }
    });
}
