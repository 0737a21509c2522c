#pragma once

#include <QString>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// One open SQLite connection, configured the way the program relies on.
class Database {
public:
    // Opens an existing database file read-write; never creates one.
    static std::shared_ptr<Database> open(const QString& path);
    // Creates a new database file from the schema (the sample builder and tests use it).
    static std::shared_ptr<Database> create(const QString& path);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }
    void exec(const QString& sql);
    [[noreturn]] void raise(int code) const;

private:
    Database(sqlite3* db, QString path);
    void configure();

    sqlite3* db_;
    QString path_;
};

// The connection for a data folder, shared by every query bound to it. A failed open is
// not remembered, so the next window that opens its data tries again.
std::shared_ptr<Database> connectionFor(const QString& dataFolder);
void forgetConnections();

// A prepared statement, finalized when it goes out of scope.
class Statement {
public:
    Statement(const Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QVariant& value);  // index from 1
    void bindAll(const QVariantList& values);
    bool step();  // true while a row is available
    void run();   // steps to the end, for statements that yield no rows
    int columnCount() const;
    QString columnName(int column) const;
    QVariant column(int column) const;
    QByteArray columnBlob(int column) const;

private:
    const Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

}  // namespace store
