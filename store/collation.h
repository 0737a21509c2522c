#pragma once

#include <QString>

struct sqlite3;

namespace store {

class Database;

// The Kazakh alphabet's order, as ICU's "kk" collation gives it: А Ә Б В Г Ғ Д Е Ё Ж З И Й
// К Қ Л М Н Ң О Ө П Р С Т У Ұ Ү Ф Х Һ Ц Ч Ш Щ Ъ Ы І Ь Э Ю Я, a small letter before its
// capital.
//
// Registers kazakh_key(text) on a connection: the collation's sort key of a text, a blob
// whose bytes sort as the texts do (NULL stays NULL; a byte that is not part of UTF-8 counts
// as U+FFFD). Answers SQLite's result code.
int registerCollation(sqlite3* db);

// The collation's version as ICU names it ("153.120.42"): keys made under another version
// may sort differently.
QString collationVersion();

// Called once a base is open. A base that may be written gets the key tables (an older
// base lacks them), every key made again when the collation's version is not the one they
// were made with, and the keys that are due. A base that cannot be written, and whose keys
// cannot be trusted, is listed with keys computed while it sorts: correct, only slower.
void prepareSortKeys(Database& db, bool writable);

// Makes the keys of the dishes whose code, name or group changed; inside the caller's
// transaction, after its writes.
void makeDueSortKeys(Database& db);

}  // namespace store
