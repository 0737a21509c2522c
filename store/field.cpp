#include "store/field.h"

#include <QDate>
#include <QLocale>
#include <cmath>

#include "store/error.h"

namespace store {

QString shortDateFormat() {
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) {
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    }
    return format;
}

QString plainText(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::UnknownType:
            return QString();
        case QMetaType::LongLong:
        case QMetaType::Int:
            return QString::number(value.toLongLong());
        case QMetaType::Double: {
            // Whole prices and sums, most of them, read as whole numbers: the same text, and
            // a report of millions of orders is not spent on rounding them.
            const double number = value.toDouble();
            if (number >= 0 && number < 1e15 && number == std::trunc(number) &&
                !std::signbit(number)) {
                return QString::number(static_cast<qint64>(number));
            }
            // 15 significant digits hide the binary noise of sums: 0.1 + 0.2 is "0,3".
            QLocale locale;
            locale.setNumberOptions(QLocale::OmitGroupSeparator);
            return locale.toString(value.toDouble(), 'g', 15);
        }
        case QMetaType::QDate:
            return QLocale().toString(value.toDate(), shortDateFormat());
        default:
            return value.isNull() ? QString() : value.toString();
    }
}

qint64 toInteger(const QString& text) {
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    if (!ok || text.isEmpty()) {
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    return number;
}

qint64 Field::asInteger() const {
    if (value_.typeId() == QMetaType::LongLong || value_.typeId() == QMetaType::Int) {
        return value_.toLongLong();
    }
    return toInteger(asString());
}

}  // namespace store
