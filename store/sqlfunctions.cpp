#include "store/sqlfunctions.h"

#include <sqlite3.h>

#include <QString>
#include <algorithm>
#include <string>
#include <vector>

namespace store {

namespace {

// Reads one UTF-8 character and moves past it; a stray byte counts as one character.
char32_t nextChar(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        value = lead & 0x07;
    } else {
        return lead;
    }
    for (; extra > 0 && pos < text.size(); --extra) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if ((byte & 0xC0) != 0x80) {
            break;
        }
        value = (value << 6) | (byte & 0x3F);
        ++pos;
    }
    return value;
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
    std::string source;
    char32_t escape = 0;
    std::vector<PatternChar> chars;
    bool isContains = false;  // "%literal%" (or "%")
    std::string literal;      // its literal, as UTF-8

    CompiledPattern(std::string_view text, char32_t escapeChar)
        : source(text), escape(escapeChar), chars(compile(text, escapeChar)) {
        isContains = !chars.empty() && chars.front().kind == PatternChar::AnyRun &&
                     chars.back().kind == PatternChar::AnyRun;
        for (size_t i = 1; isContains && i + 1 < chars.size(); ++i) {
            if (chars[i].kind != PatternChar::Literal) {
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
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
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
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(value)))
                : std::string_view();
}

void upperFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray upper = upperUtf8(textArg(argv[0]));
    sqlite3_result_text64(context, upper.constData(), static_cast<sqlite3_uint64>(upper.size()),
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
    auto* cached = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
    if (cached && cached->source == patternText && cached->escape == escape) {
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

QByteArray upperUtf8(std::string_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        QByteArray out(text.data(), static_cast<qsizetype>(text.size()));
        for (char& c : out) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        return out;
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUpper().toUtf8();
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

void registerTextFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY;
    sqlite3_create_function_v2(db, "upper", 1, flags, nullptr, upperFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr,
                               nullptr);
}

}  // namespace store
