#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

namespace store {

// The plain text form of a stored value, as the grids, reports, the print-out and the
// dialogs show it: whole numbers in decimal, other numbers with at most 15 significant
// digits and the user's decimal separator, dates in the user's short date format with the
// year in full, an empty field as empty text.
QString plainText(const QVariant& value);

// The user's short date format, a two-digit year widened to four digits: "dd.MM.yy" becomes
// "dd.MM.yyyy", so that 1999 and 2099 never read alike.
QString shortDateFormat();

// Reads a text as a whole number the way the program always has; anything else is an error
// "'text' is not a valid integer value".
qint64 toInteger(const QString& text);

// One field of a current row.
class Field {
public:
    explicit Field(QVariant value) : value_(std::move(value)) {}
    const QVariant& value() const { return value_; }
    bool isNull() const { return value_.isNull(); }
    QString asString() const { return plainText(value_); }
    qint64 asInteger() const;

private:
    QVariant value_;
};

}  // namespace store
