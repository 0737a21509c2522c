#include "store/collation.h"

#include <sqlite3.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <QFile>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "store/database.h"
#include "store/error.h"
#include "store/statements.h"

// The schema is compiled into this library; a static library must ask for it by name.
static void loadSchema() {
    Q_INIT_RESOURCE(store);
}

namespace store {

namespace {

struct CollatorClose {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};

// One collator a thread: ICU's collators are not shared between threads.
UCollator* kazakh() {
    thread_local std::unique_ptr<UCollator, CollatorClose> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<UCollator, CollatorClose> made(ucol_open("kk", &status));
        // Without its Kazakh rules ICU would fall back to the root order, which is not the
        // alphabet's.
        if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING) {
            throw AppError(QStringLiteral("ICU has no Kazakh collation (%1)")
                               .arg(QString::fromUtf8(u_errorName(status))));
        }
        return made;
    }();
    return collator.get();
}

void appendKey(std::string_view utf8, std::string& key) {
    thread_local std::vector<UChar> text;
    text.resize(utf8.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) {
        throw AppError(QStringLiteral("A text could not be read for sorting (%1)")
                           .arg(QString::fromUtf8(u_errorName(status))));
    }
    UCollator* collator = kazakh();
    const std::size_t start = key.size();
    key.resize(start + 3 * static_cast<std::size_t>(length) + 16);
    auto room = static_cast<int32_t>(key.size() - start);
    auto* into = reinterpret_cast<uint8_t*>(key.data() + start);
    int32_t made = ucol_getSortKey(collator, text.data(), length, into, room);
    if (made > room) {
        key.resize(start + static_cast<std::size_t>(made));
        into = reinterpret_cast<uint8_t*>(key.data() + start);
        made = ucol_getSortKey(collator, text.data(), length, into, made);
    }
    // The key ends in a zero byte, which adds nothing to the order of keys compared as blobs.
    key.resize(start + static_cast<std::size_t>(std::max(made - 1, 0)));
}

void keyFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto size = static_cast<std::size_t>(sqlite3_value_bytes(argv[0]));
    thread_local std::string key;
    key.clear();
    try {
        appendKey(std::string_view(text ? text : "", text ? size : 0), key);
    } catch (const AppError& error) {
        sqlite3_result_error(context, error.what(), -1);
        return;
    }
    sqlite3_result_blob64(context, key.data(), key.size(), SQLITE_TRANSIENT);
}

QString storedVersion(Database& db) {
    Statement version(db, statements::sortKeysVersion());
    version.bind(1, QStringLiteral("kk"));
    return version.step() ? version.column(0).toString() : QString();
}

bool keyTablesPresent(Database& db) {
    Statement present(db, statements::sortKeyTablesPresent());
    return present.step() && present.column(0).toInt() == 2;
}

bool keysDue(Database& db) {
    Statement due(db, statements::sortKeysDue());
    return due.step() && due.column(0).toInt() != 0;
}

// The statements of the schema written IF NOT EXISTS: what an older base may lack.
void makeKeyTables(Database& db) {
    loadSchema();
    QFile schema(QStringLiteral(":/store/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly)) {
        throw AppError(QStringLiteral("The database schema is missing from the program"));
    }
    QByteArray statement;
    for (const QByteArray& line : schema.readAll().split('\n')) {
        if (line.startsWith("--")) {
            continue;
        }
        statement += line + '\n';
        if (sqlite3_complete(statement.constData()) != 0) {
            if (statement.contains("IF NOT EXISTS")) {
                db.exec(QString::fromUtf8(statement));
            }
            statement.clear();
        }
    }
}

void writeKeys(Database& db) {
    makeKeyTables(db);
    const QString version = collationVersion();
    const bool remake = storedVersion(db) != version;
    if (!remake && !keysDue(db)) {
        return;
    }
    Transaction transaction(db);
    if (remake) {
        for (const QString& sql : statements::remakeAllSortKeys()) {
            db.exec(sql);
        }
        Statement store(db, statements::storeSortKeysVersion());
        store.bindAll({QStringLiteral("kk"), version});
        store.run();
    }
    makeDueSortKeys(db);
    transaction.commit();
}

}  // namespace

int registerCollation(sqlite3* db) {
    return sqlite3_create_function_v2(db, "kazakh_key", 1,
                                      SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY,
                                      nullptr, keyFunction, nullptr, nullptr, nullptr);
}

QString collationVersion() {
    UVersionInfo version;
    ucol_getVersion(kazakh(), version);
    char text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(version, text);
    return QString::fromLatin1(text);
}

void makeDueSortKeys(Database& db) {
    db.exec(statements::makeDueSortKeys());
    db.exec(statements::clearDueSortKeys());
}

void prepareSortKeys(Database& db, bool writable) {
    if (writable) {
        try {
            writeKeys(db);
            return;
        } catch (const StoreError&) {
            if (db.isBroken()) {
                throw;
            }
            // Another copy holding the base too long, say: this run lists as a reader does.
        }
    }
    if (!keyTablesPresent(db) || storedVersion(db) != collationVersion()) {
        // An empty table of keys of this connection's own hides the base's: every key is
        // computed while the list sorts.
        db.exec(statements::sortKeysOfThisRunOnly());
    }
}

}  // namespace store
