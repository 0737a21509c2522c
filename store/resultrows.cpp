#include "store/resultrows.h"

#include <QDate>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "store/error.h"

namespace store {

namespace {

constexpr std::size_t kBlockSize = 1 << 20;

std::uint64_t zigzag(std::int64_t value) {
    return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}

std::int64_t unzigzag(std::uint64_t value) {
    return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

std::uint64_t readVarint(const char*& p) {
    std::uint64_t value = 0;
    int shift = 0;
    for (;;) {
        const auto byte = static_cast<std::uint8_t>(*p++);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            return value;
        }
        shift += 7;
    }
}

// "YYYY-MM-DD" as a day number, or -1 when the text is no such date.
qint64 isoDay(QByteArrayView text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return -1;
    }
    int digits[8];
    int n = 0;
    for (qsizetype i = 0; i < 10; ++i) {
        if (i == 4 || i == 7) {
            continue;
        }
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        digits[n++] = text[i] - '0';
    }
    const QDate date(digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3],
                     digits[4] * 10 + digits[5], digits[6] * 10 + digits[7]);
    return date.isValid() ? date.toJulianDay() : -1;
}

}  // namespace

ResultRows::ResultRows(int columns)
    : columns_(columns), sharing_(static_cast<std::size_t>(std::max(0, columns))) {}

void ResultRows::clear() {
    sharedIndex_.clear();
    shared_.clear();
    shared_.shrink_to_fit();
    sharedStarts_.clear();
    sharedStarts_.shrink_to_fit();
    blocks_.clear();
    blocks_.shrink_to_fit();
    offsets_.clear();
    offsets_.shrink_to_fit();
    row_.clear();
}

void ResultRows::putVarint(std::uint64_t value) {
    while (value >= 0x80) {
        row_.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    row_.push_back(static_cast<char>(value));
}

void ResultRows::addNull() {
    putTag(Null);
}

void ResultRows::addInteger(std::int64_t value) {
    putTag(Integer);
    putVarint(zigzag(value));
}

void ResultRows::addReal(double value) {
    // Prices and sums are mostly whole: those take the few bytes of a whole number.
    if (value >= -1e15 && value <= 1e15 &&
        value == static_cast<double>(static_cast<std::int64_t>(value)) &&
        !(value == 0.0 && std::signbit(value))) {
        putTag(IntegralReal);
        putVarint(zigzag(static_cast<std::int64_t>(value)));
        return;
    }
    putTag(Real);
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    row_.append(bytes, sizeof value);
}

void ResultRows::addText(int column, QByteArrayView utf8, bool isDate) {
    if (isDate) {
        if (const qint64 day = isoDay(utf8); day >= 0) {
            putTag(Date);
            putVarint(static_cast<std::uint64_t>(day));
            return;
        }
    }
    // Names come again and again; long texts (descriptions) seldom do.
    constexpr qsizetype kSharedUpTo = 64;
    constexpr std::size_t kSharedAtMost = 1 << 20;
    Sharing& sharing = sharing_[static_cast<std::size_t>(column)];
    if (sharing.on && utf8.size() <= kSharedUpTo && sharedStarts_.size() < kSharedAtMost) {
        const std::string_view text(utf8.data(), static_cast<std::size_t>(utf8.size()));
        auto found = sharedIndex_.find(text);
        ++sharing.offered;
        if (found == sharedIndex_.end()) {
            ++sharing.added;
            // The index's keys point into shared_, so it is rebuilt when shared_ moves.
            const char* before = shared_.data();
            const auto number = static_cast<std::uint32_t>(sharedStarts_.size());
            sharedStarts_.push_back(static_cast<std::uint32_t>(shared_.size()));
            shared_.append(text);
            if (shared_.data() != before) {
                reindexShared();
            } else {
                sharedIndex_.emplace(
                    std::string_view(shared_.data() + sharedStarts_.back(), text.size()), number);
            }
            found = sharedIndex_.find(text);
        }
        putTag(SharedText);
        putVarint(found->second);
        if (sharing.offered == 1024 && sharing.added * 2 > sharing.offered) {
            sharing.on = false;  // mostly new texts: keep them in the rows instead
        }
        return;
    }
    putTag(Text);
    putVarint(static_cast<std::uint64_t>(utf8.size()));
    row_.append(utf8.data(), static_cast<std::size_t>(utf8.size()));
}

void ResultRows::reindexShared() {
    sharedIndex_.clear();
    for (std::size_t i = 0; i < sharedStarts_.size(); ++i) {
        const std::size_t end =
            i + 1 < sharedStarts_.size() ? sharedStarts_[i + 1] : shared_.size();
        sharedIndex_.emplace(
            std::string_view(shared_.data() + sharedStarts_[i], end - sharedStarts_[i]),
            static_cast<std::uint32_t>(i));
    }
}

void ResultRows::endLoading() {
    sharedIndex_.clear();
    sharedIndex_.rehash(0);
    shared_.shrink_to_fit();
    sharedStarts_.shrink_to_fit();
}

void ResultRows::addBlob(QByteArrayView bytes) {
    putTag(Blob);
    putVarint(static_cast<std::uint64_t>(bytes.size()));
    row_.append(bytes.data(), static_cast<std::size_t>(bytes.size()));
}

void ResultRows::endRow() {
    if (offsets_.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw AppError(QStringLiteral("The result has too many rows to show"));
    }
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < row_.size()) {
        Block block;
        block.size = std::max(kBlockSize, row_.size());
        block.bytes = std::make_unique<char[]>(block.size);
        block.firstRow = rowCount();
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    std::memcpy(block.bytes.get() + block.used, row_.data(), row_.size());
    offsets_.push_back(static_cast<std::uint32_t>(block.used));
    block.used += row_.size();
    row_.clear();
}

const char* ResultRows::rowStart(int row) const {
    // The last block whose first row is at most this one.
    const auto block = std::upper_bound(blocks_.begin(), blocks_.end(), row,
                                        [](int r, const Block& b) { return r < b.firstRow; }) -
                       1;
    return block->bytes.get() + offsets_[static_cast<std::size_t>(row)];
}

// Reads the cell at p and moves past it.
QVariant ResultRows::readCell(const char*& p) const {
    const auto tag = static_cast<Tag>(*p++);
    switch (tag) {
        case Null:
            return QVariant();
        case Integer:
            return QVariant(static_cast<qlonglong>(unzigzag(readVarint(p))));
        case IntegralReal:
            return QVariant(static_cast<double>(unzigzag(readVarint(p))));
        case Date:
            return QDate::fromJulianDay(static_cast<qint64>(readVarint(p)));
        case SharedText: {
            const auto number = static_cast<std::size_t>(readVarint(p));
            const std::size_t start = sharedStarts_[number];
            const std::size_t end =
                number + 1 < sharedStarts_.size() ? sharedStarts_[number + 1] : shared_.size();
            return QString::fromUtf8(shared_.data() + start, static_cast<qsizetype>(end - start));
        }
        case Real: {
            double number;
            std::memcpy(&number, p, sizeof number);
            p += sizeof number;
            return number;
        }
        case Text:
        case Blob: {
            const auto size = static_cast<qsizetype>(readVarint(p));
            const char* bytes = p;
            p += size;
            return tag == Text ? QVariant(QString::fromUtf8(bytes, size))
                               : QVariant(QByteArray(bytes, size));
        }
    }
    return QVariant();
}

// Moves past the cell at p without reading it.
void ResultRows::skipCell(const char*& p) {
    const auto tag = static_cast<Tag>(*p++);
    switch (tag) {
        case Null:
            break;
        case Integer:
        case IntegralReal:
        case Date:
        case SharedText:
            readVarint(p);
            break;
        case Real:
            p += sizeof(double);
            break;
        case Text:
        case Blob:
            p += static_cast<qsizetype>(readVarint(p));
            break;
    }
}

QVariant ResultRows::value(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns_) {
        return QVariant();
    }
    const char* p = rowStart(row);
    for (int c = 0; c < column; ++c) {
        skipCell(p);
    }
    return readCell(p);
}

void ResultRows::values(int row, QVariantList& out) const {
    out.clear();
    if (row < 0 || row >= rowCount()) {
        return;
    }
    const char* p = rowStart(row);
    for (int c = 0; c < columns_; ++c) {
        out.append(readCell(p));
    }
}

}  // namespace store
