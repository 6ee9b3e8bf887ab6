// TMDataSet: the runtime's in-memory table. Columns are stored by type, one vector per column;
// texts of a column live in one shared buffer. Cells are addressed by (row, column index);
// field names are resolved to indexes once. Rows keep their order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/api.h"

enum TMFieldType { ftString = 0, ftInteger = 1, ftExtended = 3, ftDateTime = 4 };

class TMDataSet;

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
    struct Column {
        std::string name;
        TMFieldType type;
        std::vector<TextCell> texts;
        std::vector<int> ints;
        std::vector<long double> extendeds;
        std::vector<double> dates;
        std::string pool;   // text bytes of this column
        std::size_t garbage = 0;  // bytes of the pool no cell refers to any more
    };
    void CheckCell(int row, int column, TMFieldType type) const;
    void CompactPool(Column& column);
    void GrowPool(Column& column, std::size_t more);

    std::vector<Column> columns_;
    int rows_ = 0;
    int position_ = 0;
    bool open_ = false;
};
