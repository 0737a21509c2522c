#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// Closes a connection when its owner goes; statements still open keep it alive until they
// are finalized.
struct ConnectionCloser {
    void operator()(sqlite3* db) const noexcept;
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

// One open SQLite connection, configured the way the program relies on.
class Database {
public:
    // Opens an existing database file read-write, or for reading only where it cannot be
    // written (its commands that write then say so); never creates one.
    static std::shared_ptr<Database> open(const QString& path);
    // Creates a new database file from the schema (the sample builder and tests use it).
    static std::shared_ptr<Database> create(const QString& path);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return db_.get(); }
    void exec(const QString& sql);
    // Throws the store error for this result code, marking the connection broken where the
    // file is at fault.
    [[noreturn]] void raise(int code);
    // After an error of the file itself (I/O, a damaged or vanished file) the connection is
    // not used again: the next command opens the file anew.
    bool isBroken() const { return broken_; }
    // Writing commands call this first: a file found damaged is not written again.
    void requireWritable() const;
    bool isWritable() const;

    // Prepared statements are kept for their next use (orders are taken one after another
    // with the same statement); a statement in use is never handed out twice.
    sqlite3_stmt* takePrepared(const QByteArray& sql);
    void keepPrepared(const QByteArray& sql, sqlite3_stmt* statement);

private:
    enum class Access { ReadWrite, ReadOnly, Unchanging };
    enum class Use { Create, ReadWrite, ReadOnly };
    static std::shared_ptr<Database> openAs(const QString& path, Access access);
    Database(Connection db, QString path);
    void configure(Use use);
    void checkSchema();

    Connection db_;
    QString path_;
    bool broken_ = false;
    bool readOnly_ = false;
    // Finalized by the destructor, before the connection closes.
    std::unordered_map<std::string, sqlite3_stmt*> prepared_;
};

// The connection for a data folder, opened once and kept for the run, shared by every query,
// the dish details and the dish cursor. A failed open is not remembered, so the next window
// that opens its data tries again; a broken connection is replaced.
std::shared_ptr<Database> connectionFor(const QString& dataFolder);
void forgetConnections();
// How many connections the program has opened so far (for tests).
int connectionsOpened();

// A prepared statement, handed back to its connection's kept statements when it goes out of
// scope. Its columns are read only while step() stands on a row: a read before the first
// step, after the last row or past the last column is a store error, not a made-up value.
class Statement {
public:
    Statement(Database& db, const QString& sql);
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
    // The current row's cell as SQLite holds it: its type (SQLITE_INTEGER ...), and views of
    // its bytes valid until the next step.
    int columnType(int column) const;
    qint64 columnInteger(int column) const;
    double columnReal(int column) const;
    QByteArrayView columnBytes(int column) const;

private:
    // Checked on every cell read, so kept to a compare of two numbers.
    void requireCell(int column) const {
        if (static_cast<unsigned>(column) >= static_cast<unsigned>(rowCells_)) {
            refuseCell(column);
        }
    }
    [[noreturn]] void refuseCell(int column) const;

    Database& db_;
    QByteArray sql_;
    sqlite3_stmt* stmt_ = nullptr;
    int rowCells_ = 0;  // the current row's columns; 0 while no row is current
};

// A write transaction (BEGIN IMMEDIATE), rolled back unless committed. It has one owner: it
// cannot be copied, which would commit or roll back twice; it can be handed on, after which
// the one it came from does nothing, not even roll back.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    Transaction(Transaction&& other) noexcept;
    // Rolls back what this one still holds open, then takes the other's.
    Transaction& operator=(Transaction&& other) noexcept;

    // Commits; a transaction committed already or handed on is an error.
    void commit();
    bool isActive() const { return db_ != nullptr; }

private:
    void rollback() noexcept;

    Database* db_;  // null once committed or handed on
};

}  // namespace store
