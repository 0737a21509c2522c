#pragma once

#include <QByteArray>
#include <QString>

namespace reports {

// Windows-1251 with the Kazakh letters at their legacy positions (ә 0xBC, Ә 0xA3, ғ 0xBA,
// Ғ 0xAA, қ 0x9D, Қ 0x8D, ң 0xBE, Ң 0xBD, ө 0xB4, Ө 0xA5, ұ 0xA2, Ұ 0xA1, ү 0xBF, Ү 0xAF).
// A character the code page cannot hold is written as an HTML character reference (&#N;),
// so nothing typed is lost.
QByteArray encodeKazakh1251(const QString& text);

// Escapes the characters that HTML gives a meaning to, so a value shows as typed.
QString escapeHtml(const QString& text);

}  // namespace reports
