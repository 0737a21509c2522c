#include "store/query.h"

#include <sqlite3.h>

#include <algorithm>
#include <vector>

#include "store/database.h"
#include "store/error.h"

namespace store {

Query::Query(QObject* parent) : QObject(parent) {
    // The count of a result read on demand advances one step per turn of the event loop,
    // after what is waiting to be painted.
    counting_.setSingleShot(true);
    counting_.setInterval(0);
    connect(&counting_, &QTimer::timeout, this, &Query::countStep);
}

void Query::setKeyset(const Keyset& keyset) {
    close();
    keyset_ = std::make_unique<Keyset>(keyset);
}

void Query::setDataFolder(const QString& dataFolder) {
    if (dataFolder != dataFolder_) {
        close();
    }
    dataFolder_ = dataFolder;
}

void Query::clearLines() {
    close();
    lines_.clear();
}

void Query::addLine(const Line& line) {
    close();
    lines_.append(line);
}

void Query::addLines(const QList<Line>& lines) {
    for (const Line& line : lines) {
        addLine(line);
    }
}

void Query::replaceLine(int n, const Line& line) {
    close();
    if (n < 0 || n >= lines_.size()) {
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(n));
    }
    lines_[n] = line;
}

QString Query::sql() const {
    QStringList texts;
    for (const Line& line : lines_) {
        texts.append(line.text);
    }
    return texts.join(QLatin1Char('\n'));
}

QVariantList Query::params() const {
    QVariantList all;
    for (const Line& line : lines_) {
        all.append(line.params);
    }
    return all;
}

void Query::setDateFields(const QStringList& names) {
    dateFields_.clear();
    for (const QString& name : names) {
        dateFields_.insert(name.toLower());
    }
}

void Query::open() {
    if (open_) {
        return;
    }
    load();
}

void Query::close() {
    if (!open_) {
        return;
    }
    open_ = false;
    names_.clear();
    rows_.clear();
    paged_.reset();
    counting_.stop();
    current_ = -1;
    eof_ = true;
    emit reset();
    emit currentChanged(current_);
}

void Query::load() {
    for (const Line& line : lines_) {
        if (!line.refusal.isEmpty()) {
            throw AppError(line.refusal);
        }
    }
    if (keyset_ && !lines_.isEmpty() && lines_[0].text == keyset_->select &&
        lines_[0].params.isEmpty()) {
        auto paged =
            std::make_unique<PagedResult>(dataFolder_, *keyset_, lines_.mid(1), dateFields_);
        paged->open();
        names_ = paged->names();
        paged_ = std::move(paged);
        open_ = true;
        current_ = recordCount() > 0 ? 0 : -1;
        eof_ = recordCount() == 0;
        emit reset();
        emit currentChanged(current_);
        if (!countKnown()) {
            counting_.start();
        }
        return;
    }
    auto db = connectionFor(dataFolder_);
    Statement statement(*db, sql());
    statement.bindAll(params());
    QStringList names;
    std::vector<bool> isDate;
    for (int c = 0; c < statement.columnCount(); ++c) {
        names.append(statement.columnName(c));
        isDate.push_back(dateFields_.contains(names.last().toLower()));
    }
    ResultRows rows(static_cast<int>(names.size()));
    while (statement.step()) {
        for (int c = 0; c < names.size(); ++c) {
            switch (statement.columnType(c)) {
                case SQLITE_INTEGER:
                    rows.addInteger(statement.columnInteger(c));
                    break;
                case SQLITE_FLOAT:
                    rows.addReal(statement.columnReal(c));
                    break;
                case SQLITE_TEXT:
                    rows.addText(c, statement.columnBytes(c), isDate[static_cast<size_t>(c)]);
                    break;
                case SQLITE_BLOB:
                    rows.addBlob(statement.columnBytes(c));
                    break;
                default:
                    rows.addNull();
            }
        }
        rows.endRow();
    }
    rows.endLoading();
    names_ = names;
    rows_ = std::move(rows);
    open_ = true;
    current_ = recordCount() > 0 ? 0 : -1;
    eof_ = recordCount() == 0;
    emit reset();
    emit currentChanged(current_);
}

void Query::countStep() {
    if (!paged_ || walkRow_) {
        return;
    }
    try {
        paged_->countStep();
    } catch (const AppError&) {
        // No command is running to show it: the count stays an estimate, and the next read
        // of a page, inside a command, meets the same error and says it.
        return;
    }
    settle();
    if (!countKnown()) {
        counting_.start();
    }
}

void Query::finishCount() {
    if (!paged_) {
        return;
    }
    counting_.stop();
    while (!paged_->exact()) {
        paged_->countStep();
    }
    settle();
}

void Query::settle() {
    const int total = paged_->settledTotal();
    const int delta = total - paged_->total();
    if (delta == 0) {
        return;
    }
    const int at = paged_->middleStart();
    emit rowsAboutToChange(at, delta);
    paged_->setTotal(total);
    if (current_ >= at) {
        current_ = std::clamp(current_ + delta, std::min(at, total - 1), total - 1);
    }
    emit rowsChanged(at, delta);
}

void Query::walk(const std::function<void(int, const QVariantList&)>& sink) {
    if (!paged_) {
        QVariantList row;
        for (int r = 0; r < recordCount(); ++r) {
            moveTo(r);
            eof_ = false;
            rows_.values(r, row);
            sink(r, row);
        }
        eof_ = true;
        return;
    }
    counting_.stop();
    const auto columns = static_cast<int>(names_.size());
    QVariantList row;
    struct Forget {
        const QVariantList*& row;
        ~Forget() { row = nullptr; }
    } forget{walkRow_};
    walkRow_ = &row;
    paged_->walk([&](int n, const QVariant* cells) {
        row = QVariantList(cells, cells + columns);
        sink(n, row);
    });
    settle();
    moveTo(recordCount() - 1);
    eof_ = true;
}

int Query::execSQL() {
    close();
    auto db = connectionFor(dataFolder_);
    db->requireWritable();
    Statement statement(*db, sql());
    statement.bindAll(params());
    statement.run();
    return sqlite3_changes(db->handle());
}

int Query::fieldIndex(const QString& name) const {
    for (int c = 0; c < names_.size(); ++c) {
        if (names_[c].compare(name, Qt::CaseInsensitive) == 0) {
            return c;
        }
    }
    return -1;
}

void Query::first() {
    eof_ = recordCount() == 0;
    moveTo(recordCount() > 0 ? 0 : -1);
}

void Query::next() {
    if (paged_) {
        settle();  // a walk past the counted rows corrects the estimate as it goes
    }
    if (current_ + 1 < recordCount()) {
        moveTo(current_ + 1);
    } else {
        eof_ = true;
    }
}

void Query::setCurrentRow(int row) {
    if (row >= 0 && row < recordCount() && row != current_) {
        eof_ = false;
        moveTo(row);
    }
}

void Query::moveTo(int row) {
    if (row == current_) {
        return;
    }
    current_ = row;
    if (quiet_ == 0) {
        emit currentChanged(current_);
    }
}

Field Query::fieldByName(const QString& name) const {
    const int column = fieldIndex(name);
    if (column < 0) {
        throw AppError(QStringLiteral("Field '%1' not found").arg(name));
    }
    if (walkRow_) {
        return Field(walkRow_->value(column));
    }
    if (current_ < 0) {
        return Field(QVariant());
    }
    return Field(cell(current_, column));
}

QVariant Query::cell(int row, int column) const {
    if (!paged_) {
        return rows_.value(row, column);
    }
    if (column < 0 || column >= names_.size()) {
        return QVariant();
    }
    const QVariant* cells = paged_->row(row);
    return cells ? cells[column] : QVariant();
}

QVariant Query::value(int row, int column) {
    QVariant read = cell(row, column);
    // A walk counts as it goes: no step of the count runs while the grid paints during it.
    if (paged_ && !walkRow_ && !counting_.isActive() && !countKnown()) {
        counting_.start();  // what the read learnt reaches the grid after this paint
    }
    return read;
}

void Query::rowValues(int row, QVariantList& out) const {
    if (!paged_) {
        rows_.values(row, out);
        return;
    }
    out.clear();
    if (const QVariant* cells = paged_->row(row)) {
        out = QVariantList(cells, cells + names_.size());
    }
}

}  // namespace store
