#include "reports/cp1251kz.h"

#include <QHash>

namespace reports {

namespace {

// Code points of bytes 0x80..0xBF; 0 where the byte stands for nothing. The letters that
// the Kazakh letters displace are left out, so they fall back to character references.
constexpr char32_t kUpper[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x049A, 0x040B, 0x040F,  // 88: 8D Қ
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0,      0x2122, 0x0459, 0x203A, 0x045A, 0x049B, 0x045B, 0x045F,  // 98: 9D қ
    0x00A0, 0x04B0, 0x04B1, 0x04D8, 0x00A4, 0x04E8, 0x00A6, 0x00A7,  // A0: Ұ ұ Ә Ө
    0x0401, 0x00A9, 0x0492, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x04AE,  // A8: Ғ Ү
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x04E9, 0x00B5, 0x00B6, 0x00B7,  // B0: ө
    0x0451, 0x2116, 0x0493, 0x00BB, 0x04D9, 0x04A2, 0x04A3, 0x04AF,  // B8: ғ ә Ң ң ү
};

const QHash<char32_t, char>& upperHalf() {
    static const QHash<char32_t, char> table = [] {
        QHash<char32_t, char> map;
        for (int i = 0; i < 64; ++i) {
            if (kUpper[i] != 0) {
                map.insert(kUpper[i], static_cast<char>(0x80 + i));
            }
        }
        for (char32_t c = 0x0410; c <= 0x044F; ++c) {  // А..я
            map.insert(c, static_cast<char>(0xC0 + (c - 0x0410)));
        }
        return map;
    }();
    return table;
}

}  // namespace

QByteArray encodeKazakh1251(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    const auto& table = upperHalf();
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80) {
            out.append(static_cast<char>(c));
        } else if (auto found = table.constFind(c); found != table.constEnd()) {
            out.append(found.value());
        } else {
            out.append("&#");
            out.append(QByteArray::number(static_cast<quint32>(c)));
            out.append(';');
        }
    }
    return out;
}

QString escapeHtml(const QString& text) {
    return text.toHtmlEscaped();
}

}  // namespace reports
