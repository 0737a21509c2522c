#pragma once

#include <QByteArrayView>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace store {

// The rows of one result, held compactly: each row's cells one after another in large
// blocks of bytes, each cell a tag byte and its value (whole numbers as variable-length
// integers, text as its UTF-8 bytes, dates as day numbers). Short texts that come again
// (waiters' and dishes' names) are kept once and referred to by number. A million order
// lines take a few dozen bytes each, not a QVariant a cell.
class ResultRows {
public:
    explicit ResultRows(int columns = 0);

    // Building a row: one call per cell, in column order, then endRow().
    void addNull();
    void addInteger(std::int64_t value);
    void addReal(double value);
    void addText(int column, QByteArrayView utf8, bool isDate);
    void addBlob(QByteArrayView bytes);
    void endRow();

    // Drops what only building needed.
    void endLoading();

    int rowCount() const { return static_cast<int>(offsets_.size()); }
    int columnCount() const { return columns_; }
    QVariant value(int row, int column) const;
    void values(int row, QVariantList& out) const;  // every cell of a row, in one pass

    void clear();

private:
    enum Tag : std::uint8_t { Null, Integer, Real, IntegralReal, Text, Blob, Date, SharedText };

    void putTag(Tag tag) { row_.push_back(static_cast<char>(tag)); }
    void putVarint(std::uint64_t value);
    const char* rowStart(int row) const;
    void reindexShared();
    QVariant readCell(const char*& p) const;
    static void skipCell(const char*& p);

    int columns_;
    std::string row_;  // the row being built
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t used = 0;
        std::size_t size = 0;
        int firstRow = 0;
    };
    std::vector<Block> blocks_;
    std::vector<std::uint32_t> offsets_;  // each row's start inside its block

    // Texts kept once: their bytes one after another, and where each starts.
    std::string shared_;
    std::vector<std::uint32_t> sharedStarts_;
    std::unordered_map<std::string_view, std::uint32_t> sharedIndex_;  // while building
    // Per column, while building: how many texts were offered for sharing, how many of them
    // were new. A column whose texts seldom come again (dish names in the menu) stops
    // sharing, which would only cost time there.
    struct Sharing {
        int offered = 0;
        int added = 0;
        bool on = true;
    };
    std::vector<Sharing> sharing_;
};

}  // namespace store
