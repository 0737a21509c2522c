#pragma once

#include <QString>
#include <QVariant>

namespace store {

// The plain text form of a stored value, as the grids, reports and dialogs show it: whole
// numbers in decimal, other numbers in their shortest form with the user's decimal
// separator, dates in the user's short date format, an empty field as empty text.
QString plainText(const QVariant& value);

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
