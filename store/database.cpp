#include "store/database.h"

#include <sqlite3.h>

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <map>
#include <set>
#include <utility>

#include "store/collation.h"
#include "store/datafolder.h"
#include "store/error.h"
#include "store/sqlfunctions.h"
#include "store/statements.h"

// The schema is compiled into this library; a static library must ask for it by name.
static void loadSchemaResource() {
    Q_INIT_RESOURCE(store);
}

namespace store {

namespace {

QString sqliteMessage(sqlite3* db, int code) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
}

[[noreturn]] void raiseOpenError(sqlite3* db, int code, const QString& path) {
    const QString message = sqliteMessage(db, code);
    throw StoreError(code, QStringLiteral("%1: %2").arg(message, path));
}

std::map<QString, std::shared_ptr<Database>>& connections() {
    static std::map<QString, std::shared_ptr<Database>> cache;
    return cache;
}

// Files found damaged during this run: read as far as they can be, never written again.
std::set<QString>& damagedFiles() {
    static std::set<QString> files;
    return files;
}

int& connectionCount() {
    static int count = 0;
    return count;
}

// Errors that say the file, not the statement, is at fault.
bool breaksTheConnection(int code) {
    switch (code & 0xFF) {
        case SQLITE_IOERR:
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
        case SQLITE_CANTOPEN:
        case SQLITE_FULL:
            return true;
        default:
            return false;
    }
}

// SQLite would take an empty file for a new database and write one into it; a file that
// is there but holds no database is reported, and never touched.
void refuseWhatIsNoDatabase(const QString& path) {
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        return;  // SQLite's own message says what is wrong
    }
    if (file.size() == 0) {
        throw StoreError(SQLITE_NOTADB, QStringLiteral("Базаның файлы бос (0 байт): %1. Оны сақтық "
                                                       "көшірмеден қалпына келтіріңіз")
                                            .arg(path));
    }
    const QByteArray header = file.read(16);
    if (header != QByteArray("SQLite format 3\0", 16)) {
        throw StoreError(SQLITE_NOTADB, QStringLiteral("file is not a database: %1").arg(path));
    }
}

QString schemaText() {
    loadSchemaResource();
    QFile schema(QStringLiteral(":/store/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly)) {
        throw AppError(
            QStringLiteral("Бағдарламада базаның сұлбасы жоқ: бағдарламаны қайта орнатыңыз"));
    }
    return QString::fromUtf8(schema.readAll());
}

// What the program's own schema holds, read once from an empty base made from it: every
// object (type and name, with the table it belongs to) and every table's columns.
struct KnownSchema {
    std::map<std::pair<QString, QString>, QString> objects;  // (type, name) -> table
    std::map<QString, QStringList> columns;                  // table -> its columns
};

QStringList columnsOf(sqlite3* db, const QString& table) {
    QStringList names;
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = statements::tableColumns().toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) == SQLITE_OK) {
        const QByteArray name = table.toUtf8();
        sqlite3_bind_text(statement, 1, name.constData(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            names.append(QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
        }
    }
    sqlite3_finalize(statement);
    return names;
}

const KnownSchema& programSchema() {
    static const KnownSchema known = [] {
        KnownSchema schema;
        sqlite3* opened = nullptr;
        sqlite3_open_v2(":memory:", &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr);
        const Connection db(opened);
        sqlite3_exec(db.get(), schemaText().toUtf8().constData(), nullptr, nullptr, nullptr);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db.get(), statements::schemaObjects().toUtf8().constData(), -1,
                           &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const auto text = [&](int column) {
                return QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
            };
            schema.objects[{text(0), text(1).toLower()}] = text(2).toLower();
            if (text(0) == QLatin1String("table")) {
                schema.columns[text(1).toLower()] = columnsOf(db.get(), text(1));
            }
        }
        sqlite3_finalize(statement);
        return schema;
    }();
    return known;
}

// A schema object as the user is told of it: "«x» триггері (orders кестесінде)".
QString objectName(const QString& type, const QString& name, const QString& table) {
    if (type == QLatin1String("table")) {
        return QStringLiteral("«%1» кестесі").arg(name);
    }
    const QString kind = type == QLatin1String("trigger") ? QStringLiteral("триггері")
                         : type == QLatin1String("view") ? QStringLiteral("көрінісі (view)")
                         : type == QLatin1String("index") ? QStringLiteral("индексі")
                                                          : type;
    return QStringLiteral("«%1» %2 (%3 кестесінде)").arg(name, kind, table);
}

// SQLite's own bookkeeping, which ANALYZE or an AUTOINCREMENT key may leave in any base.
bool isSqliteInternal(const QString& name) {
    return name.startsWith(QLatin1String("sqlite_autoindex_")) ||
           name == QLatin1String("sqlite_sequence") ||
           name.startsWith(QLatin1String("sqlite_stat"));
}

// A base made before the orders had their date index gets it when it is first opened for
// writing; a base that may not be written is read without it. A base that another copy of
// the program holds busy gets it next time.
void ensureOrderDateIndex(Database& db) {
    if (sqlite3_table_column_metadata(db.handle(), "main", "orders", "dt", nullptr, nullptr,
                                      nullptr, nullptr, nullptr) != SQLITE_OK) {
        return;  // no orders table: the program says so where it reads one
    }
    try {
        db.exec(statements::orderDateIndex());
    } catch (const StoreError& error) {
        const int primary = error.code() & 0xFF;
        if (primary != SQLITE_BUSY && primary != SQLITE_LOCKED && primary != SQLITE_READONLY) {
            throw;
        }
    }
}

}  // namespace

void ConnectionCloser::operator()(sqlite3* db) const noexcept {
    sqlite3_close_v2(db);
}

Database::Database(Connection db, QString path) : db_(std::move(db)), path_(std::move(path)) {}

Database::~Database() {
    for (auto& [sql, statement] : prepared_) {
        sqlite3_finalize(statement);
    }
}

sqlite3_stmt* Database::takePrepared(const QByteArray& sql) {
    const auto found = prepared_.find(sql.toStdString());
    if (found == prepared_.end()) {
        return nullptr;
    }
    sqlite3_stmt* statement = found->second;
    prepared_.erase(found);
    return statement;
}

void Database::keepPrepared(const QByteArray& sql, sqlite3_stmt* statement) {
    constexpr std::size_t kKept = 64;
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (prepared_.size() >= kKept || !prepared_.emplace(sql.toStdString(), statement).second) {
        sqlite3_finalize(statement);
    }
}

std::shared_ptr<Database> Database::open(const QString& path) {
    refuseWhatIsNoDatabase(path);
    try {
        return openAs(path, Access::ReadWrite);
    } catch (const StoreError& error) {
        const int primary = error.code() & 0xFF;
        const bool mayBeReadOnly =
            primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM;
        if (!QFileInfo::exists(path) || !mayBeReadOnly) {
            throw;
        }
        // A base on a read-only folder, mount or disk: read it, write nothing. Without its
        // -shm file beside it, only an unchanging file can be read.
        try {
            return openAs(path, Access::ReadOnly);
        } catch (const StoreError&) {
            try {
                return openAs(path, Access::Unchanging);
            } catch (const StoreError&) {
                throw error;
            }
        }
    }
}

std::shared_ptr<Database> Database::openAs(const QString& path, Access access) {
    sqlite3* opened = nullptr;
    QByteArray name = QFile::encodeName(path);
    int flags = SQLITE_OPEN_NOMUTEX;
    if (access == Access::ReadWrite) {
        flags |= SQLITE_OPEN_READWRITE;
    } else {
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        name = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).toUtf8() +
               (access == Access::ReadOnly ? "?mode=ro" : "?mode=ro&immutable=1");
    }
    const int rc = sqlite3_open_v2(name.constData(), &opened, flags, nullptr);
    Connection db(opened);  // closed on every way out, a failed open's handle included
    if (rc != SQLITE_OK) {
        raiseOpenError(db.get(), rc, path);
    }
    ++connectionCount();
    std::shared_ptr<Database> database(new Database(std::move(db), path));
    try {
        database->configure(access == Access::ReadWrite ? Use::ReadWrite : Use::ReadOnly);
    } catch (const StoreError& error) {
        // "file is not a database" says more with the file's name beside it.
        if (error.message().contains(path)) {
            throw;
        }
        throw StoreError(error.code(), QStringLiteral("%1: %2").arg(error.message(), path));
    }
    // SQLite opens a write-protected file for reading only, without a word.
    database->readOnly_ = sqlite3_db_readonly(database->handle(), "main") == 1;
    prepareSortKeys(*database, database->isWritable());
    if (!database->readOnly_) {
        ensureOrderDateIndex(*database);
    }
    return database;
}

std::shared_ptr<Database> Database::create(const QString& path) {
    sqlite3* opened = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &opened,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection db(opened);
    if (rc != SQLITE_OK) {
        raiseOpenError(db.get(), rc, path);
    }
    std::shared_ptr<Database> database(new Database(std::move(db), path));
    database->configure(Use::Create);
    Transaction transaction(*database);
    database->exec(schemaText());
    transaction.commit();
    prepareSortKeys(*database, true);
    return database;
}

// Called right after opening, before any statement of the program runs.
void Database::configure(Use use) {
    // Double-quoted text is an identifier, never a string literal; the schema cannot be
    // written around SQLite; functions in the schema (triggers, views, indexes) may call none
    // but SQLite's harmless own.
    for (const auto& [setting, value] :
         {std::pair{SQLITE_DBCONFIG_DQS_DML, 0}, std::pair{SQLITE_DBCONFIG_DQS_DDL, 0},
          std::pair{SQLITE_DBCONFIG_DEFENSIVE, 1}, std::pair{SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0}}) {
        if (const int rc = sqlite3_db_config(handle(), setting, value, nullptr); rc != SQLITE_OK) {
            raise(rc);
        }
    }
    if (const int rc = registerTextFunctions(handle()); rc != SQLITE_OK) {
        raise(rc);
    }
    if (const int rc = registerCollation(handle()); rc != SQLITE_OK) {
        raise(rc);
    }
    // A second running copy waits for the first instead of failing at once.
    sqlite3_busy_timeout(handle(), 5000);
    exec(statements::foreignKeysOn());
    if (use != Use::Create) {
        // Reading the schema turns a damaged or foreign file into an error now, not later,
        // and before anything (the log included) is written to it.
        checkSchema();
    }
    if (use == Use::ReadOnly) {
        return;
    }
    Statement journal(*this, statements::journalToWal());
    journal.step();
    const QString mode = journal.column(0).toString();
    journal.run();
    if (mode.compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        // The log needs its -shm file beside the base: a folder that cannot hold one is read.
        throw StoreError(SQLITE_READONLY,
                         QStringLiteral("Базаның өзгерістер журналы (WAL) сақталмайды: журнал "
                                        "режимі %1 күйінде қалды")
                             .arg(mode));
    }
    exec(statements::fullSync());
}

// A base is trusted only when it is what the program made: goods and orders are tables with
// their columns, and nothing else stands in it, no trigger that would run with each order and
// no view in a table's place. A base from another program is refused before it is written.
void Database::checkSchema() {
    const KnownSchema& known = programSchema();
    auto refuse = [&](const QString& what) {
        throw StoreError(SQLITE_NOTADB,
                         QStringLiteral("%1 базасы ашылмады: %2. Бұл файлға ештеңе жазылмады; "
                                        "оны бағдарлама жасаған базаның көшірмесімен "
                                        "алмастырыңыз")
                             .arg(path_, what));
    };
    std::set<QString> tables;
    Statement objects(*this, statements::schemaObjects());
    while (objects.step()) {
        const QString type = objects.column(0).toString();
        const QString name = objects.column(1).toString();
        const QString table = objects.column(2).toString();
        if (isSqliteInternal(name)) {
            continue;
        }
        const auto found = known.objects.find({type, name.toLower()});
        if (found == known.objects.end() || found->second != table.toLower()) {
            refuse(QStringLiteral("онда бағдарлама жасамаған %1 бар")
                       .arg(objectName(type, name, table)));
        }
        if (type == QLatin1String("table")) {
            tables.insert(name.toLower());
        }
    }
    for (const QString& table : {QStringLiteral("goods"), QStringLiteral("orders")}) {
        if (tables.count(table) == 0) {
            refuse(QStringLiteral("онда %1 кестесі жоқ").arg(table));
        }
    }
    for (const QString& table : tables) {
        const QStringList present = columnsOf(handle(), table);
        for (const QString& column : known.columns.at(table)) {
            if (!present.contains(column, Qt::CaseInsensitive)) {
                refuse(QStringLiteral("онда %1 кестесінде %2 бағаны жоқ").arg(table, column));
            }
        }
    }
}

void Database::exec(const QString& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(handle(), sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const bool hasText = error != nullptr;
        const QString message = hasText ? QString::fromUtf8(error) : sqliteMessage(handle(), rc);
        sqlite3_free(error);
        const int primary = rc & 0xFF;
        if (!hasText || primary == SQLITE_CORRUPT || primary == SQLITE_BUSY ||
            primary == SQLITE_FULL) {
            raise(rc);
        }
        broken_ = broken_ || breaksTheConnection(rc);
        throw StoreError(rc, message);
    }
}

void Database::raise(int code) {
    if (breaksTheConnection(code)) {
        broken_ = true;
    }
    QString message = sqliteMessage(handle(), code);
    if ((code & 0xFF) == SQLITE_BUSY) {
        message += QStringLiteral(
                       ": %1 базасын басқа бағдарлама 5 секунд бойы құлыптап ұстады; ештеңе "
                       "жазылмады, сәлден соң қайталап көріңіз")
                       .arg(path_);
    }
    if ((code & 0xFF) == SQLITE_FULL) {
        message += QStringLiteral(": %1 базасы тұрған дискіде бос орын қалмады; ештеңе жазылмады")
                       .arg(path_);
    }
    if ((code & 0xFF) == SQLITE_CORRUPT) {
        damagedFiles().insert(path_);
        message += QStringLiteral(
                       ": %1 базасының файлы бүлінген; оны сақтық көшірмеден қалпына "
                       "келтіріңіз (бұдан былай оған ештеңе жазылмайды)")
                       .arg(path_);
    }
    throw StoreError(code, message);
}

bool Database::isWritable() const {
    return !readOnly_ && damagedFiles().count(path_) == 0;
}

void Database::requireWritable() const {
    if (readOnly_) {
        throw StoreError(SQLITE_READONLY,
                         QStringLiteral("%1 базасы тек оқуға ашылды (файлына, қалтасына не "
                                        "дискісіне жазуға болмайды), сондықтан оған ештеңе "
                                        "жазылмайды")
                             .arg(path_));
    }
    if (damagedFiles().count(path_) != 0) {
        throw StoreError(SQLITE_CORRUPT,
                         QStringLiteral("%1 базасының файлы бүлінген, сондықтан оған ештеңе "
                                        "жазылмайды; оны сақтық көшірмеден қалпына келтіріңіз")
                             .arg(path_));
    }
}

std::shared_ptr<Database> connectionFor(const QString& dataFolder) {
    const QString path = databasePath(dataFolder);
    auto& cache = connections();
    if (auto found = cache.find(path); found != cache.end()) {
        if (!found->second->isBroken()) {
            return found->second;
        }
        cache.erase(found);
    }
    auto database = Database::open(path);
    cache[path] = database;
    return database;
}

void forgetConnections() {
    connections().clear();
    damagedFiles().clear();
}

int connectionsOpened() {
    return connectionCount();
}

Statement::Statement(Database& db, const QString& sql) : db_(db), sql_(sql.toUtf8()) {
    stmt_ = db.takePrepared(sql_);
    if (stmt_) {
        return;
    }
    const int rc = sqlite3_prepare_v3(db.handle(), sql_.constData(), static_cast<int>(sql_.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        db.raise(rc);
    }
    if (!stmt_) {
        throw AppError(QStringLiteral("The statement is empty"));
    }
}

Statement::~Statement() {
    if (stmt_) {
        db_.keepPrepared(sql_, stmt_);
    }
}

void Statement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    switch (value.typeId()) {
        case QMetaType::UnknownType:
            rc = sqlite3_bind_null(stmt_, index);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::Long:
        case QMetaType::Short:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(stmt_, index, bytes.constData(),
                                     static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDate:
            rc = sqlite3_bind_text(stmt_, index,
                                   value.toDate().toString(Qt::ISODate).toUtf8().constData(), -1,
                                   SQLITE_TRANSIENT);
            break;
        default: {
            if (value.isNull()) {
                rc = sqlite3_bind_null(stmt_, index);
                break;
            }
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text64(stmt_, index, text.constData(),
                                     static_cast<sqlite3_uint64>(text.size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
        }
    }
    if (rc != SQLITE_OK) {
        db_.raise(rc);
    }
}

void Statement::bindAll(const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i) {
        bind(i + 1, values[i]);
    }
}

bool Statement::step() {
    rowCells_ = 0;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        rowCells_ = sqlite3_data_count(stmt_);
        return true;
    }
    if (rc == SQLITE_DONE) {
        sqlite3_reset(stmt_);
        return false;
    }
    sqlite3_reset(stmt_);
    db_.raise(rc);
}

void Statement::run() {
    while (step()) {
    }
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

// A cell is read only from the row step() stands on: SQLite answers a read without one
// with a null, and a read past the last column with a null too, which would pass unseen.
void Statement::refuseCell(int column) const {
    if (rowCells_ == 0) {
        throw StoreError(SQLITE_MISUSE,
                         QStringLiteral("No row to read column %1 from: the statement stands "
                                        "before its first row or after its last")
                             .arg(column));
    }
    throw StoreError(
        SQLITE_RANGE,
        QStringLiteral("Column index %1 out of range (0 to %2)").arg(column).arg(rowCells_ - 1));
}

QVariant Statement::column(int column) const {
    requireCell(column);
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt_, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt_, column));
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
            return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column)));
        }
        case SQLITE_BLOB:
            return QVariant(columnBlob(column));
        default:
            return QVariant();
    }
}

int Statement::columnType(int column) const {
    requireCell(column);
    return sqlite3_column_type(stmt_, column);
}

qint64 Statement::columnInteger(int column) const {
    requireCell(column);
    return sqlite3_column_int64(stmt_, column);
}

double Statement::columnReal(int column) const {
    requireCell(column);
    return sqlite3_column_double(stmt_, column);
}

QByteArrayView Statement::columnBytes(int column) const {
    requireCell(column);
    const void* data = sqlite3_column_blob(stmt_, column);
    return QByteArrayView(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, column));
}

QByteArray Statement::columnBlob(int column) const {
    requireCell(column);
    const void* data = sqlite3_column_blob(stmt_, column);
    return QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, column));
}

Transaction::Transaction(Database& db) : db_(&db) {
    db.exec(statements::beginWrite());
}

Transaction::~Transaction() {
    rollback();
}

Transaction::Transaction(Transaction&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

Transaction& Transaction::operator=(Transaction&& other) noexcept {
    if (this != &other) {
        rollback();
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

void Transaction::rollback() noexcept {
    if (db_) {
        sqlite3_exec(db_->handle(), statements::rollback().toUtf8().constData(), nullptr, nullptr,
                     nullptr);
        db_ = nullptr;
    }
}

void Transaction::commit() {
    if (!db_) {
        throw AppError(
            QStringLiteral("The transaction is no longer active: it was committed or handed on"));
    }
    db_->exec(statements::commit());
    db_ = nullptr;
}

}  // namespace store
