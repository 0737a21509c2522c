#pragma once

#include <QByteArray>
#include <string>
#include <string_view>

struct sqlite3;

namespace store {

// Replaces SQLite's upper() and like() on a connection: upper() folds every letter that
// Unicode knows (SQLite's own folds ASCII only), and like() compares with regard to case,
// in both its two- and three-argument forms. Answers SQLite's result code.
int registerTextFunctions(sqlite3* db);

// The matcher behind like(): '%' is any run of characters, '_' one character, and the
// escape character (if any) makes the next pattern character literal. Works on UTF-8.
bool likeMatches(std::string_view pattern, std::string_view text, char32_t escape = 0);

QByteArray upperUtf8(std::string_view text);
// The same into a buffer the caller keeps.
void upperInto(std::string_view text, std::string& out);

}  // namespace store
