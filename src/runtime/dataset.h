// TMDataSet: the runtime's in-memory table. Columns are stored by type, one vector per column;
// texts of a column live in one shared buffer. Cells are addressed by (row, column index);
// field names are resolved to indexes once. Rows keep their order.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/api.h"
#include "runtime/exceptions.h"
#include "runtime/extended_cells.h"

enum TMFieldType { ftString = 0, ftInteger = 1, ftExtended = 3, ftDateTime = 4 };

class TMDataSet;

// A dataset column's integers in 1, 2 or 4 bytes each: the narrowest width that holds every
// value so far. Flags, statuses and small numbers of a million rows take a quarter of the memory.
class TMIntCells {
public:
    using value_type = int;
    std::size_t size() const {
        return width_ == 1 ? w1_.size() : width_ == 2 ? w2_.size() : w4_.size();
    }
    std::size_t capacity() const;
    int operator[](std::size_t i) const {
        return width_ == 1 ? w1_[i] : width_ == 2 ? w2_[i] : w4_[i];
    }
    void Set(std::size_t i, int value);
    void push_back(int value);
    // Appends `value` when the present width holds it; false (nothing done) when it does not.
    bool PushBackNarrow(int value) {
        if (width_ == 1 && value >= INT8_MIN && value <= INT8_MAX)
            w1_.push_back(static_cast<std::int8_t>(value));
        else if (width_ == 2 && value >= INT16_MIN && value <= INT16_MAX)
            w2_.push_back(static_cast<std::int16_t>(value));
        else if (width_ == 4)
            w4_.push_back(value);
        else
            return false;
        return true;
    }
    void resize(std::size_t n, int value);
    void assign(std::size_t n, int value);
    void insert(std::size_t i, int value);
    void erase(std::size_t i);
    void reserve(std::size_t n);
    void clear();
    void* data();
    std::size_t bytes() const { return capacity() * static_cast<std::size_t>(width_); }

private:
    void Widen(int width);
    // Widens the column for `value`, then calls f(column, value as its element type).
    template <typename F>
    void WithRoomFor(int value, F f);
    std::vector<std::int8_t> w1_;
    std::vector<std::int16_t> w2_;
    std::vector<std::int32_t> w4_;
    int width_ = 1;
};

// A column definition and a cursor-bound accessor of that column's cell in the current row.
class SKALNIX_FRAMEWORK_API TMField {
public:
    TMField(TMDataSet* owner, int index) : owner_(owner), index_(index) {}
    int Index() const { return index_; }
    std::string AsString() const;
    int AsInteger() const;
    long double AsExtended() const;
    double AsDateTime() const;
    void SetAsString(std::string_view value);
    void SetAsInteger(int value);
    void SetAsExtended(long double value);
    void SetAsDateTime(double value);

private:
    TMDataSet* owner_;
    int index_;
};

class SKALNIX_FRAMEWORK_API TMDataSet {
public:
    // Defines a column before Open; answers its index.
    int AddField(const std::string& name, TMFieldType type);
    void Open();  // ready for rows (columns may not be added afterwards)
    bool IsOpen() const { return open_; }

    int GetCount() const { return rows_; }
    int FieldCount() const { return static_cast<int>(columns_.size()); }
    // Index of the named column (exact name); -1 when there is none.
    int FieldIndex(std::string_view name) const;
    TMFieldType FieldType(int column) const;

    // Row operations. Append adds a row at the end and makes it current; Insert adds one before
    // `row` (0..GetCount()) and makes it current. New cells are empty / 0.
    int Append();
    void Insert(int row);
    void Delete(int row);
    void Clear();  // removes every row (columns stay)
    void Reserve(int rows);

    // Cursor.
    void First() { position_ = 0; }
    void Next() { ++position_; }
    bool Eof() const { return position_ >= rows_; }
    int GetPosition() const { return position_; }
    void SetPosition(int row);  // throws ERangeError outside 0..GetCount()-1
    TMField FieldByName(std::string_view name);  // throws when there is no such column
    TMField GetFields(int column);

    // Direct cell access; rows and columns are checked (ERangeError) and the column type must
    // match the accessor (texts, integers, extended, date-time).
    // (Reading and filling rows in order are defined below, inline: a file of a million goods
    // passes here forty million times.)
    std::string_view TextView(int row, int column) const;  // valid until the next text write
    std::string GetText(int row, int column) const { return std::string(TextView(row, column)); }
    void SetText(int row, int column, std::string_view value);
    int GetInt(int row, int column) const;
    void SetInt(int row, int column, int value);
    long double GetExtended(int row, int column) const;
    // The cell as a whole 32-bit number without the extended type, when its column keeps
    // every number so (all of them whole so far); false, `value` untouched, otherwise.
    bool GetWholeExtended(int row, int column, std::int32_t& value) const;
    void SetExtended(int row, int column, long double value);
    double GetDateTime(int row, int column) const;
    void SetDateTime(int row, int column, double value);

private:
    // Eight bytes a cell: a column's text pool holds at most 4 GiB.
    struct TextCell {
        std::uint32_t offset;
        std::uint32_t length;
    };
    // Rows [0, stored) are held by the column; later rows hold the empty value (0 or "") and
    // cost nothing, so appending a row touches no column. While `uniform`, every held row has
    // the value of the one slot the column's vector keeps: a column that is the same in every
    // row (a default, a flag never set) stays one value however many rows there are.
    struct Column {
        std::string name;
        TMFieldType type;
        std::size_t stored = 0;
        bool uniform = true;
        std::vector<TextCell> texts;
        TMIntCells ints;
        TMExtendedCells extendeds;
        std::vector<double> dates;
        std::string pool;   // text bytes of this column
        std::size_t garbage = 0;  // bytes of the pool no cell refers to any more
    };
    // Every cell access passes here: one unsigned comparison each also refuses negative numbers.
    void CheckCell(int row, int column, TMFieldType type) const {
        if (static_cast<unsigned>(row) >= static_cast<unsigned>(rows_) ||
            static_cast<unsigned>(column) >= columnCount_ ||
            columns_[static_cast<unsigned>(column)].type != type)
            ThrowRangeError();
    }
    // The general writes, for every case the inline ones leave to them.
    void StoreText(int row, int column, std::string_view value);
    void StoreInt(int row, int column, int value);
    void StoreExtended(int row, int column, long double value);
    void CompactPool(Column& column);
    void GrowPool(Column& column, std::size_t more, int row);
    std::size_t PlannedRows() const;

    std::vector<Column> columns_;
    // columns_.size(), kept apart: a column is large, and every cell access compares with it.
    unsigned columnCount_ = 0;
    int rows_ = 0;
    int reserved_ = 0;  // rows announced by Reserve
    int position_ = 0;
    bool open_ = false;
};

inline std::string_view TMDataSet::TextView(int row, int column) const {
    CheckCell(row, column, ftString);
    const Column& c = columns_[static_cast<std::size_t>(column)];
    const auto r = static_cast<std::size_t>(row);
    if (r >= c.stored) return {};
    const TextCell& cell = c.texts[c.uniform ? 0 : r];
    if (cell.length == 0) return {};
    return std::string_view(c.pool.data() + cell.offset, cell.length);
}

inline void TMDataSet::SetText(int row, int column, std::string_view value) {
    CheckCell(row, column, ftString);
    Column& c = columns_[static_cast<std::size_t>(column)];
    const auto r = static_cast<std::size_t>(row);
    // Rows filled in order: the next row of a column with a text per row, when the text fits
    // the pool's room and is no view into the pool itself, takes one cell and one append.
    const char* const pool = c.pool.data();
    if (!c.uniform && r == c.texts.size() && !value.empty() &&
        value.size() <= c.pool.capacity() - c.pool.size() &&
        c.pool.size() + value.size() <= std::uint32_t(-1) &&
        (std::less<const char*>()(value.data(), pool) ||
         std::greater_equal<const char*>()(value.data(), pool + c.pool.size()))) {
        c.texts.push_back(TextCell{static_cast<std::uint32_t>(c.pool.size()),
                                   static_cast<std::uint32_t>(value.size())});
        c.pool.append(value);
        c.stored = c.texts.size();
        return;
    }
    // The next row of a run of one text joins the run without bytes of its own.
    if (c.uniform && r == c.stored && c.stored > 0 && !value.empty() &&
        c.texts[0].length == value.size() &&
        std::memcmp(pool + c.texts[0].offset, value.data(), value.size()) == 0) {
        ++c.stored;
        return;
    }
    StoreText(row, column, value);
}

inline int TMDataSet::GetInt(int row, int column) const {
    CheckCell(row, column, ftInteger);
    const Column& c = columns_[static_cast<std::size_t>(column)];
    const auto r = static_cast<std::size_t>(row);
    if (r >= c.stored) return 0;
    return c.ints[c.uniform ? 0 : r];
}

inline void TMDataSet::SetInt(int row, int column, int value) {
    CheckCell(row, column, ftInteger);
    Column& c = columns_[static_cast<std::size_t>(column)];
    const auto r = static_cast<std::size_t>(row);
    if (r == c.stored) {
        // The next row of a run of one nonzero value joins it; the next row of a column with
        // a value per row is appended when the column's width holds the value.
        if (c.uniform ? c.stored > 0 && value != 0 && c.ints[0] == value
                      : c.ints.PushBackNarrow(value)) {
            c.stored = r + 1;
            return;
        }
    }
    StoreInt(row, column, value);
}

inline long double TMDataSet::GetExtended(int row, int column) const {
    CheckCell(row, column, ftExtended);
    const Column& c = columns_[static_cast<std::size_t>(column)];
    const auto r = static_cast<std::size_t>(row);
    if (r >= c.stored) return 0;
    return c.extendeds[c.uniform ? 0 : r];
}

inline bool TMDataSet::GetWholeExtended(int row, int column, std::int32_t& value) const {
    CheckCell(row, column, ftExtended);
    const Column& c = columns_[static_cast<std::size_t>(column)];
    const auto r = static_cast<std::size_t>(row);
    if (r >= c.stored) {
        value = 0;
        return true;
    }
    return c.extendeds.WholeAt(c.uniform ? 0 : r, value);
}

inline void TMDataSet::SetExtended(int row, int column, long double value) {
    CheckCell(row, column, ftExtended);
    Column& c = columns_[static_cast<std::size_t>(column)];
    const auto r = static_cast<std::size_t>(row);
    // The next row of a column with a value per row.
    if (!c.uniform && r == c.stored) {
        c.extendeds.push_back(value);
        c.stored = r + 1;
        return;
    }
    StoreExtended(row, column, value);
}
