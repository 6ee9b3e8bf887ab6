#include "runtime/dataset.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <stdexcept>

#include "runtime/exceptions.h"

namespace {

// Texts smaller than this never trigger a compaction: rewriting a tiny pool gains nothing.
constexpr std::size_t kMinCompactPool = 4096;
// Offsets into a column's text pool are 32-bit.
constexpr std::size_t kMaxPool = std::numeric_limits<std::uint32_t>::max();

template <class T>
void InsertAt(std::vector<T>& v, int row, const T& value) {
    if (static_cast<std::size_t>(row) == v.size())
        v.push_back(value);  // rows are mostly appended
    else
        v.insert(v.begin() + row, value);
}

template <class T>
void EraseAt(std::vector<T>& v, int row) {
    v.erase(v.begin() + row);
}

}  // namespace

// ---- TMField: the cell of its column in the owner's current row ----

std::string TMField::AsString() const { return owner_->GetText(owner_->GetPosition(), index_); }
int TMField::AsInteger() const { return owner_->GetInt(owner_->GetPosition(), index_); }
long double TMField::AsExtended() const {
    return owner_->GetExtended(owner_->GetPosition(), index_);
}
double TMField::AsDateTime() const { return owner_->GetDateTime(owner_->GetPosition(), index_); }
void TMField::SetAsString(std::string_view value) {
    owner_->SetText(owner_->GetPosition(), index_, value);
}
void TMField::SetAsInteger(int value) { owner_->SetInt(owner_->GetPosition(), index_, value); }
void TMField::SetAsExtended(long double value) {
    owner_->SetExtended(owner_->GetPosition(), index_, value);
}
void TMField::SetAsDateTime(double value) {
    owner_->SetDateTime(owner_->GetPosition(), index_, value);
}

// ---- TMDataSet ----

int TMDataSet::AddField(const std::string& name, TMFieldType type) {
    if (open_ || rows_ > 0) throw Exception("Cannot add field \"" + name + "\" to an open dataset");
    if (type != ftString && type != ftInteger && type != ftExtended && type != ftDateTime)
        ThrowRangeError();
    Column column;
    column.name = name;
    column.type = type;
    columns_.push_back(std::move(column));
    return static_cast<int>(columns_.size()) - 1;
}

void TMDataSet::Open() { open_ = true; }

int TMDataSet::FieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

TMFieldType TMDataSet::FieldType(int column) const {
    if (column < 0 || column >= FieldCount()) ThrowRangeError();
    return columns_[static_cast<std::size_t>(column)].type;
}

int TMDataSet::Append() {
    Insert(rows_);
    return rows_ - 1;
}

void TMDataSet::Insert(int row) {
    if (row < 0 || row > rows_) ThrowRangeError();
    if (rows_ == std::numeric_limits<int>::max()) ThrowRangeError();
    for (Column& c : columns_) {
        switch (c.type) {
            case ftString: InsertAt(c.texts, row, TextCell{0, 0}); break;
            case ftInteger: InsertAt(c.ints, row, 0); break;
            case ftExtended: InsertAt(c.extendeds, row, 0.0L); break;
            case ftDateTime: InsertAt(c.dates, row, 0.0); break;
        }
    }
    ++rows_;
    position_ = row;
}

void TMDataSet::Delete(int row) {
    if (row < 0 || row >= rows_) ThrowRangeError();
    for (Column& c : columns_) {
        switch (c.type) {
            case ftString:
                c.garbage += c.texts[static_cast<std::size_t>(row)].length;
                EraseAt(c.texts, row);
                if (c.garbage > kMinCompactPool && c.garbage > c.pool.size() / 2) CompactPool(c);
                break;
            case ftInteger: EraseAt(c.ints, row); break;
            case ftExtended: EraseAt(c.extendeds, row); break;
            case ftDateTime: EraseAt(c.dates, row); break;
        }
    }
    --rows_;
    if (position_ > rows_) position_ = rows_;
}

void TMDataSet::Clear() {
    for (Column& c : columns_) {
        c.texts.clear();
        c.ints.clear();
        c.extendeds.clear();
        c.dates.clear();
        c.pool.clear();
        c.garbage = 0;
    }
    rows_ = 0;
    position_ = 0;
}

// Only a hint: when the memory is not there, the rows still come one by one.
void TMDataSet::Reserve(int rows) {
    if (rows <= 0) return;
    const auto n = static_cast<std::size_t>(rows);
    try {
        for (Column& c : columns_) {
            switch (c.type) {
                case ftString: c.texts.reserve(n); break;
                case ftInteger: c.ints.reserve(n); break;
                case ftExtended: c.extendeds.reserve(n); break;
                case ftDateTime: c.dates.reserve(n); break;
            }
        }
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

void TMDataSet::SetPosition(int row) {
    if (row < 0 || row >= rows_) ThrowRangeError();
    position_ = row;
}

TMField TMDataSet::FieldByName(std::string_view name) {
    const int index = FieldIndex(name);
    if (index < 0) throw Exception("Field '" + std::string(name) + "' not found");
    return TMField(this, index);
}

TMField TMDataSet::GetFields(int column) {
    if (column < 0 || column >= FieldCount()) ThrowRangeError();
    return TMField(this, column);
}

void TMDataSet::CheckCell(int row, int column, TMFieldType type) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= FieldCount()) ThrowRangeError();
    if (columns_[static_cast<std::size_t>(column)].type != type) ThrowRangeError();
}

std::string_view TMDataSet::TextView(int row, int column) const {
    CheckCell(row, column, ftString);
    const Column& c = columns_[static_cast<std::size_t>(column)];
    const TextCell& cell = c.texts[static_cast<std::size_t>(row)];
    if (cell.length == 0) return {};
    return std::string_view(c.pool.data() + cell.offset, cell.length);
}

void TMDataSet::SetText(int row, int column, std::string_view value) {
    CheckCell(row, column, ftString);
    Column& c = columns_[static_cast<std::size_t>(column)];
    // Writing a whole record back rewrites every text; an unchanged one costs no pool space.
    const TextCell& current = c.texts[static_cast<std::size_t>(row)];
    if (current.length == value.size() &&
        (value.empty() ||
         std::memcmp(c.pool.data() + current.offset, value.data(), value.size()) == 0))
        return;
    // The value may be a view into this very pool, which the append below can move.
    std::string copy;
    if (!value.empty() && !c.pool.empty() &&
        std::greater_equal<const char*>()(value.data(), c.pool.data()) &&
        std::less<const char*>()(value.data(), c.pool.data() + c.pool.size())) {
        copy.assign(value);
        value = copy;
    }
    if (value.size() > kMaxPool - c.pool.size()) {
        CompactPool(c);
        if (value.size() > kMaxPool - c.pool.size()) ThrowRangeError();  // the cell keeps its text
    }
    TextCell& cell = c.texts[static_cast<std::size_t>(row)];
    c.garbage += cell.length;
    cell = TextCell{0, 0};
    if (!value.empty()) {
        if (value.size() > c.pool.capacity() - c.pool.size()) GrowPool(c, value.size());
        cell = TextCell{static_cast<std::uint32_t>(c.pool.size()), static_cast<std::uint32_t>(value.size())};
        c.pool.append(value);
    }
    if (c.garbage > kMinCompactPool && c.garbage > c.pool.size() / 2) CompactPool(c);
}

void TMDataSet::GrowPool(Column& column, std::size_t more) {
    // While rows reserved ahead are being filled, the pool is sized for all of them at the
    // texts' average so far, instead of being copied at every doubling on the way there.
    const auto filled = static_cast<std::size_t>(rows_ > 0 ? rows_ : 1);
    const std::size_t planned = column.texts.capacity();
    if (planned <= filled) return;  // the string's own growth
    const unsigned long long perRow = (column.pool.size() + more) / filled + 1;
    // Both factors are below 2^32, so the estimate fits in 64 bits even on a 32-bit build.
    // A low estimate still grows the pool by half at least, so reallocations stay few.
    const unsigned long long capacity = column.pool.capacity();
    const unsigned long long estimate =
        std::max(perRow * planned + perRow * planned / 8, capacity + capacity / 2 + more);
    const auto wanted = static_cast<std::size_t>(
        std::min<unsigned long long>({estimate, kMaxPool, column.pool.max_size()}));
    if (wanted <= column.pool.capacity()) return;
    try {
        column.pool.reserve(wanted);
    } catch (const std::exception&) {
        // Not that much memory in one piece: the string grows step by step instead.
    }
}

void TMDataSet::CompactPool(Column& column) {
    std::string pool;
    pool.reserve(column.pool.size() - column.garbage);
    for (TextCell& cell : column.texts) {
        if (cell.length == 0) continue;
        const auto offset = static_cast<std::uint32_t>(pool.size());
        pool.append(column.pool, cell.offset, cell.length);
        cell.offset = offset;
    }
    column.pool.swap(pool);
    column.garbage = 0;
}

int TMDataSet::GetInt(int row, int column) const {
    CheckCell(row, column, ftInteger);
    return columns_[static_cast<std::size_t>(column)].ints[static_cast<std::size_t>(row)];
}

void TMDataSet::SetInt(int row, int column, int value) {
    CheckCell(row, column, ftInteger);
    columns_[static_cast<std::size_t>(column)].ints[static_cast<std::size_t>(row)] = value;
}

long double TMDataSet::GetExtended(int row, int column) const {
    CheckCell(row, column, ftExtended);
    return columns_[static_cast<std::size_t>(column)].extendeds[static_cast<std::size_t>(row)];
}

void TMDataSet::SetExtended(int row, int column, long double value) {
    CheckCell(row, column, ftExtended);
    columns_[static_cast<std::size_t>(column)].extendeds[static_cast<std::size_t>(row)] = value;
}

double TMDataSet::GetDateTime(int row, int column) const {
    CheckCell(row, column, ftDateTime);
    return columns_[static_cast<std::size_t>(column)].dates[static_cast<std::size_t>(row)];
}

void TMDataSet::SetDateTime(int row, int column, double value) {
    CheckCell(row, column, ftDateTime);
    columns_[static_cast<std::size_t>(column)].dates[static_cast<std::size_t>(row)] = value;
}
