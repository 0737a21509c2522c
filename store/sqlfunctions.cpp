#include "store/sqlfunctions.h"

#include <sqlite3.h>

#include <QString>
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace store {

namespace {

// A byte that starts no well-formed UTF-8 character stands for itself: it is read as one of
// the lone surrogates U+DC80..U+DCFF, which no well-formed text holds, so that it matches
// only the same byte and is written back as that byte. Names converted from an old 8-bit
// code page keep such bytes.
constexpr char32_t kStrayByteBase = 0xDC00;

bool isStrayByte(char32_t c) {
    return c >= kStrayByteBase + 0x80 && c <= kStrayByteBase + 0xFF;
}

// Reads one character and moves past it: a well-formed UTF-8 sequence (shortest form, no
// surrogate, at most U+10FFFF), or else a single stray byte.
char32_t nextChar(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        value = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        value = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        value = lead & 0x07;
        least = 0x10000;
    } else {
        ++pos;
        return kStrayByteBase + lead;
    }
    if (text.size() - pos <= static_cast<size_t>(extra)) {
        ++pos;
        return kStrayByteBase + lead;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + static_cast<size_t>(i)]);
        if ((byte & 0xC0) != 0x80) {
            ++pos;
            return kStrayByteBase + lead;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return kStrayByteBase + lead;
    }
    pos += static_cast<size_t>(extra) + 1;
    return value;
}

// Writes one character as UTF-8 and returns the position after it.
char* writeUtf8(char* to, char32_t c) {
    if (isStrayByte(c)) {
        *to++ = static_cast<char>(c - kStrayByteBase);
    } else if (c < 0x80) {
        *to++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *to++ = static_cast<char>(0xC0 | (c >> 6));
        *to++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *to++ = static_cast<char>(0xE0 | (c >> 12));
        *to++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *to++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *to++ = static_cast<char>(0xF0 | (c >> 18));
        *to++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *to++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *to++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return to;
}

struct PatternChar {
    char32_t ch;
    enum Kind { Literal, AnyRun, AnyOne } kind;
};

std::vector<PatternChar> compile(std::string_view pattern, char32_t escape) {
    std::vector<PatternChar> out;
    size_t pos = 0;
    while (pos < pattern.size()) {
        char32_t c = nextChar(pattern, pos);
        if (escape != 0 && c == escape) {
            // An escape at the very end matches nothing more: SQLite treats it the same way.
            if (pos >= pattern.size()) {
                out.push_back({escape, PatternChar::Literal});
                break;
            }
            out.push_back({nextChar(pattern, pos), PatternChar::Literal});
        } else if (c == U'%') {
            if (out.empty() || out.back().kind != PatternChar::AnyRun) {
                out.push_back({c, PatternChar::AnyRun});
            }
        } else if (c == U'_') {
            out.push_back({c, PatternChar::AnyOne});
        } else {
            out.push_back({c, PatternChar::Literal});
        }
    }
    return out;
}

bool matchesCompiled(const std::vector<PatternChar>& pattern, std::string_view textUtf8);

// A pattern compiled once per statement: SQLite keeps it beside the constant argument. The
// program's own patterns are "%text%", which come down to a search for the text's bytes.
struct CompiledPattern {
    char32_t escape = 0;
    std::vector<PatternChar> chars;
    bool isContains = false;  // "%literal%" (or "%")
    std::string literal;      // its literal, as UTF-8

    CompiledPattern(std::string_view text, char32_t escapeChar)
        : escape(escapeChar), chars(compile(text, escapeChar)) {
        isContains = !chars.empty() && chars.front().kind == PatternChar::AnyRun &&
                     chars.back().kind == PatternChar::AnyRun;
        for (size_t i = 1; isContains && i + 1 < chars.size(); ++i) {
            // A stray byte is matched character by character: as bytes it could be found
            // inside a well-formed character of the text.
            if (chars[i].kind != PatternChar::Literal || isStrayByte(chars[i].ch)) {
                isContains = false;
            } else {
                appendUtf8(literal, chars[i].ch);
            }
        }
    }

    bool matches(std::string_view text) const {
        return isContains ? text.find(literal) != std::string_view::npos
                          : matchesCompiled(chars, text);
    }

    static void appendUtf8(std::string& out, char32_t c) {
        char bytes[4];
        out.append(bytes, static_cast<size_t>(writeUtf8(bytes, c) - bytes));
    }
};

std::u32string decode(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        out.push_back(nextChar(text, pos));
    }
    return out;
}

std::string_view textArg(sqlite3_value* value) {
    // Text as it lies in the record, without the copy SQLite makes to end it in a NUL.
    const int type = sqlite3_value_type(value);
    const auto* text = type == SQLITE_TEXT || type == SQLITE_BLOB
                           ? static_cast<const char*>(sqlite3_value_blob(value))
                           : reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(value)))
                : std::string_view();
}

void upperFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    static thread_local std::string upper;
    upperInto(textArg(argv[0]), upper);
    sqlite3_result_text64(context, upper.data(), static_cast<sqlite3_uint64>(upper.size()),
                          SQLITE_TRANSIENT, SQLITE_UTF8);
}

// like(pattern, text [, escape]) stands for "text LIKE pattern [ESCAPE escape]".
void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    char32_t escape = 0;
    if (argc == 3) {
        const std::string_view escapeText = textArg(argv[2]);
        size_t pos = 0;
        if (!escapeText.empty()) {
            escape = nextChar(escapeText, pos);
        }
        if (escapeText.empty() || pos != escapeText.size()) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    const std::string_view patternText = textArg(argv[0]);
    // SQLite keeps the compiled pattern only while the pattern argument stays the same.
    auto* cached = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
    if (cached && cached->escape == escape) {
        sqlite3_result_int(context, cached->matches(textArg(argv[1])) ? 1 : 0);
        return;
    }
    auto* compiled = new CompiledPattern(patternText, escape);
    sqlite3_result_int(context, compiled->matches(textArg(argv[1])) ? 1 : 0);
    // Last: SQLite may drop the pattern at once, while this call still runs.
    sqlite3_set_auxdata(context, 0, compiled,
                        [](void* pattern) { delete static_cast<CompiledPattern*>(pattern); });
}

}  // namespace

// The capitals of U+0400..U+04FF (Cyrillic, Kazakh letters among them), looked up once.
static const std::array<char16_t, 256>& cyrillicCapitals() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> capitals{};
        for (char32_t c = 0x0400; c < 0x0500; ++c) {
            capitals[c - 0x0400] = static_cast<char16_t>(QChar::toUpper(c));
        }
        return capitals;
    }();
    return table;
}

void upperInto(std::string_view text, std::string& out) {
    // Letter by letter, with no string of Qt's in between: the menu search upper-cases every
    // dish name it looks at. Letters whose capital is more than one letter (German ß) keep
    // their one-letter mapping; a stray byte is copied as it is. A capital may be longer
    // than its letter (U+0250 takes 2 bytes, U+2C6F 3), so the room left is checked before
    // every character that changes.
    const auto& capitals = cyrillicCapitals();
    out.resize(text.size() + text.size() / 2 + 8);
    size_t at = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            out[at++] = static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte);
            ++pos;
            continue;
        }
        const size_t start = pos;
        const char32_t c = nextChar(text, pos);
        const char32_t upper = c >= 0x0400 && c < 0x0500 ? capitals[c - 0x0400]
                               : isStrayByte(c)          ? c
                                                         : QChar::toUpper(c);
        // Every character takes at most 4 bytes; what is left of the text at least 1 each.
        if (out.size() - at < 4 + (text.size() - pos)) {
            out.resize(out.size() * 2 + 8);
        }
        if (upper == c) {
            std::memcpy(out.data() + at, text.data() + start, pos - start);
            at += pos - start;
        } else {
            at = static_cast<size_t>(writeUtf8(out.data() + at, upper) - out.data());
        }
    }
    out.resize(at);
}

QByteArray upperUtf8(std::string_view text) {
    std::string upper;
    upperInto(text, upper);
    return QByteArray(upper.data(), static_cast<qsizetype>(upper.size()));
}

bool likeMatches(std::string_view patternText, std::string_view textUtf8, char32_t escape) {
    return matchesCompiled(compile(patternText, escape), textUtf8);
}

namespace {

bool matchesCompiled(const std::vector<PatternChar>& pattern, std::string_view textUtf8) {
    const std::u32string text = decode(textUtf8);
    // Greedy matching with one back-tracking point: the last '%' seen.
    size_t p = 0;
    size_t t = 0;
    size_t starP = std::u32string::npos;
    size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p].kind == PatternChar::AnyRun) {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size() &&
            (pattern[p].kind == PatternChar::AnyOne || pattern[p].ch == text[t])) {
            ++p;
            ++t;
            continue;
        }
        if (starP == std::u32string::npos) {
            return false;
        }
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p].kind == PatternChar::AnyRun) {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace

int registerTextFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY;
    int rc = sqlite3_create_function_v2(db, "upper", 1, flags, nullptr, upperFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr,
                                        nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr,
                                        nullptr, nullptr);
    }
    return rc;
}

}  // namespace store
