#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one kind of error the program raises. Commands do not catch it: it travels to the
// command boundary, which shows its text in the common error box.
class AppError : public std::exception {
public:
    explicit AppError(QString message);
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A failure inside SQLite, carrying its result code and its own message.
class StoreError : public AppError {
public:
    StoreError(int code, const QString& message) : AppError(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};
