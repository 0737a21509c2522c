#include "store/disheditor.h"

#include <sqlite3.h>

#include "store/collation.h"
#include "store/database.h"
#include "store/error.h"
#include "store/statements.h"

namespace store {

const QStringList& DishEditor::fieldNames() {
    static const QStringList names = {QStringLiteral("Code"), QStringLiteral("Nm"),
                                      QStringLiteral("Tys"),  QStringLiteral("DS"),
                                      QStringLiteral("PS"),   QStringLiteral("Vozr"),
                                      QStringLiteral("Comm"), QStringLiteral("Img")};
    return names;
}

void DishEditor::open() {
    if (state_ != State::Inactive) {
        return;
    }
    db_ = connectionFor(dataFolder_);
    // Reading the table once here reports a missing table now, as opening a table does.
    Statement probe(*db_, statements::menuProbe());
    probe.run();
    current_.reset();
    row_.clear();
    state_ = State::Browse;
}

void DishEditor::close() {
    state_ = State::Inactive;
    current_.reset();
    row_.clear();
    db_.reset();
}

void DishEditor::requireOpen() const {
    if (state_ == State::Inactive) {
        throw AppError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    }
}

QMap<QString, QVariant> DishEditor::readRow(qint64 code) const {
    Statement statement(*db_, statements::dishRecord());
    statement.bind(1, code);
    QMap<QString, QVariant> row;
    if (statement.step()) {
        for (int c = 0; c < fieldNames().size(); ++c) {
            row.insert(fieldNames()[c], statement.column(c));
        }
        statement.run();
    }
    return row;
}

bool DishEditor::locate(qint64 code) {
    requireOpen();
    QMap<QString, QVariant> row = readRow(code);
    if (row.isEmpty()) {
        return false;
    }
    current_ = code;
    row_ = std::move(row);
    return true;
}

QVariant DishEditor::fieldByName(const QString& name) const {
    for (const QString& field : fieldNames()) {
        if (field.compare(name, Qt::CaseInsensitive) == 0) {
            return row_.value(field);
        }
    }
    throw AppError(QStringLiteral("Field '%1' not found").arg(name));
}

void DishEditor::insert() {
    requireOpen();
    row_.clear();
    state_ = State::Insert;
}

void DishEditor::edit() {
    requireOpen();
    if (!current_) {
        throw AppError(QStringLiteral("Cannot modify an empty dataset"));
    }
    asRead_ = readRow(*current_);
    state_ = State::Edit;
}

void DishEditor::setField(const QString& name, const QVariant& value) {
    if (state_ != State::Insert && state_ != State::Edit) {
        throw AppError(QStringLiteral("Dataset not in edit or insert mode"));
    }
    for (const QString& field : fieldNames()) {
        if (field.compare(name, Qt::CaseInsensitive) == 0) {
            row_.insert(field, value);
            return;
        }
    }
    throw AppError(QStringLiteral("Field '%1' not found").arg(name));
}

void DishEditor::post() {
    if (state_ != State::Insert && state_ != State::Edit) {
        throw AppError(QStringLiteral("Dataset not in edit or insert mode"));
    }
    QVariantList values;
    for (int c = 0; c < 7; ++c) {
        values.append(row_.value(fieldNames()[c]));
    }
    db_->requireWritable();
    Transaction transaction(*db_);
    if (state_ == State::Edit && readRow(*current_) != asRead_) {
        throw AppError(
            QStringLiteral("Тағам осы терезеде ашылғаннан кейін оны бағдарламаның басқа "
                           "көшірмесі өзгертті не өшірді; ештеңе сақталмады. Cancel батырмасын "
                           "басып, тағамның қазіргі күйін көру үшін оны қайта ашыңыз"));
    }
    Statement write(*db_,
                    state_ == State::Insert ? statements::insertDish() : statements::updateDish());
    write.bindAll(values);
    if (state_ == State::Edit) {
        write.bind(8, *current_);
    }
    // The code as the store took it: "12" typed becomes 12. The code is the table's key, for
    // which SQLite says only "datatype mismatch": the message names the field.
    bool written = false;
    try {
        written = write.step();
    } catch (const StoreError& error) {
        if ((error.code() & 0xFF) == SQLITE_MISMATCH) {
            throw StoreError(error.code(),
                             QStringLiteral("'%1' тағам коды бола алмайды: код (Code) бүтін "
                                            "сан болуы керек")
                                 .arg(row_.value(QStringLiteral("Code")).toString()));
        }
        throw;
    }
    if (!written) {
        throw AppError(QStringLiteral("Өзгертілетін тағам мәзірде енді жоқ"));
    }
    const qint64 code = write.column(0).toLongLong();
    write.run();
    Statement drop(*db_, statements::deletePicture());
    drop.bind(1, code);
    drop.run();
    const QByteArray picture = row_.value(QStringLiteral("Img")).toByteArray();
    if (!picture.isEmpty()) {
        Statement add(*db_, statements::pictureRowInsert());
        add.bind(1, code);
        add.bind(2, picture);
        add.run();
    }
    makeDueSortKeys(*db_);
    transaction.commit();
    current_ = code;
    state_ = State::Browse;
}

void DishEditor::cancel() {
    if (state_ == State::Insert || state_ == State::Edit) {
        state_ = State::Browse;
        row_ = current_ ? readRow(*current_) : QMap<QString, QVariant>();
    }
}

}  // namespace store
