#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

namespace store {

class Database;

// Edits one dish of the menu for the dish editor window: find a dish by its code, start
// inserting a new one or editing the one found, set its fields, then post or cancel. Fields: Code,
// Nm, Tys, DS, PS, Vozr, Comm and Img (the picture, as Windows bitmap bytes). Another running copy
// of the program may change the same dish meanwhile: an edit is written only over the row as it was
// read, checked in the writing transaction.
class DishEditor {
public:
    enum class State { Inactive, Browse, Insert, Edit };

    void setDataFolder(const QString& dataFolder) { dataFolder_ = dataFolder; }
    void open();
    void close();

    // Moves to the dish with this code; false when there is none.
    bool locate(qint64 code);
    QVariant fieldByName(const QString& name) const;

    void insert();
    void edit();
    void setField(const QString& name, const QVariant& value);
    void post();
    void cancel();

    static const QStringList& fieldNames();

private:
    QMap<QString, QVariant> readRow(qint64 code) const;
    void requireOpen() const;

    QString dataFolder_;
    std::shared_ptr<Database> db_;
    State state_ = State::Inactive;
    std::optional<qint64> current_;
    QMap<QString, QVariant> row_;
    QMap<QString, QVariant> asRead_;  // the row as it was when the edit began
};

}  // namespace store
