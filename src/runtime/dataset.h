// TMDataSet: the runtime's in-memory table. Columns are stored by type, one vector per column;
// texts of a column live in one shared buffer. Cells are addressed by (row, column index);
// field names are resolved to indexes once. Rows keep their order.
#pragma once

#include <cstdint>
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
    std::size_t size() const;
    std::size_t capacity() const;
    int operator[](std::size_t i) const;
    void Set(std::size_t i, int value);
    void push_back(int value);
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
    std::string_view TextView(int row, int column) const;  // valid until the next text write
    std::string GetText(int row, int column) const { return std::string(TextView(row, column)); }
    void SetText(int row, int column, std::string_view value);
    int GetInt(int row, int column) const;
    void SetInt(int row, int column, int value);
    long double GetExtended(int row, int column) const;
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
            static_cast<unsigned>(column) >= columns_.size() ||
            columns_[static_cast<unsigned>(column)].type != type)
            ThrowRangeError();
    }
    void CompactPool(Column& column);
    void GrowPool(Column& column, std::size_t more, int row);
    std::size_t PlannedRows() const;

    std::vector<Column> columns_;
    int rows_ = 0;
    int reserved_ = 0;  // rows announced by Reserve
    int position_ = 0;
    bool open_ = false;
};
