// The search boxes' text: a price or time search is a comparison with a bound number or a
// refusal, a name search one bound pattern; the typed text never enters the statement.
#include <QRegularExpression>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "store/statements.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    static const QRegularExpression comparison(
        QStringLiteral(R"(^\((ps|vozr)(<=|>=|<>|<|>|=)\?\)$)"));
    for (const store::Line& line :
         {store::statements::priceFilter(text), store::statements::timeFilter(text)}) {
        if (!comparison.match(line.text).hasMatch() ||
            (line.refusal.isEmpty() ? line.params.size() != 1 : !line.params.isEmpty())) {
            std::abort();
        }
    }
    const store::Line name = store::statements::nameFilter(text);
    if (name.text != QStringLiteral(R"((upper(nm) like ? escape '\'))") ||
        name.params.size() != 1) {
        std::abort();
    }
    return 0;
}
