#include "runtime/dataset.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <stdexcept>

#include "platform/platform.h"
#include "runtime/exceptions.h"

namespace {

// Texts smaller than this never trigger a compaction: rewriting a tiny pool gains nothing.
constexpr std::size_t kMinCompactPool = 4096;
// Offsets into a column's text pool are 32-bit.
constexpr std::size_t kMaxPool = std::numeric_limits<std::uint32_t>::max();
// Blocks from this size on are planned to be filled row after row: made present at once (and
// partly in large pages) they save most of their page faults.
constexpr std::size_t kLargeBlock = std::size_t{256} << 10;

void AdviseIfLarge(void* data, std::size_t bytes) {
    if (bytes >= kLargeBlock) platform::AdviseLargeBlock(data, bytes);
}

// Equal values for the uniform test; a zero's sign counts (records print "-0"), and a NaN
// equals nothing.
bool Same(int a, int b) { return a == b; }
bool Same(long double a, long double b) { return a == b && std::signbit(a) == std::signbit(b); }
bool Same(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

}  // namespace

// ---- TMIntCells ----

namespace {

int WidthOf(int value) {
    if (value >= INT8_MIN && value <= INT8_MAX) return 1;
    if (value >= INT16_MIN && value <= INT16_MAX) return 2;
    return 4;
}

template <class T>
void Release(std::vector<T>& v) {
    std::vector<T>().swap(v);
}

}  // namespace

// Every member works on the vector of the current width; the others are empty.
#define TM_INT_CELLS(expr1, expr2, expr4) \
    (width_ == 1 ? (expr1) : width_ == 2 ? (expr2) : (expr4))

std::size_t TMIntCells::capacity() const {
    return TM_INT_CELLS(w1_.capacity(), w2_.capacity(), w4_.capacity());
}

void* TMIntCells::data() {
    return TM_INT_CELLS(static_cast<void*>(w1_.data()), static_cast<void*>(w2_.data()),
                        static_cast<void*>(w4_.data()));
}

void TMIntCells::Widen(int width) {
    if (width <= width_) return;
    // The wider vector keeps the capacity planned for the column.
    const std::size_t keep = capacity();
    if (width == 2) {
        w2_.reserve(keep);
        w2_.assign(w1_.begin(), w1_.end());
        Release(w1_);
    } else {
        w4_.reserve(keep);
        if (width_ == 1)
            w4_.assign(w1_.begin(), w1_.end());
        else
            w4_.assign(w2_.begin(), w2_.end());
        Release(w1_);
        Release(w2_);
    }
    width_ = width;
    AdviseIfLarge(data(), bytes());
}

template <typename F>
void TMIntCells::WithRoomFor(int value, F f) {
    Widen(WidthOf(value));
    if (width_ == 1)
        f(w1_, static_cast<std::int8_t>(value));
    else if (width_ == 2)
        f(w2_, static_cast<std::int16_t>(value));
    else
        f(w4_, value);
}

void TMIntCells::Set(std::size_t i, int value) {
    WithRoomFor(value, [i](auto& cells, auto v) { cells[i] = v; });
}

void TMIntCells::push_back(int value) {
    WithRoomFor(value, [](auto& cells, auto v) { cells.push_back(v); });
}

void TMIntCells::resize(std::size_t n, int value) {
    WithRoomFor(value, [n](auto& cells, auto v) { cells.resize(n, v); });
}

void TMIntCells::assign(std::size_t n, int value) {
    WithRoomFor(value, [n](auto& cells, auto v) { cells.assign(n, v); });
}

void TMIntCells::insert(std::size_t i, int value) {
    WithRoomFor(value, [i](auto& cells, auto v) {
        cells.insert(cells.begin() + static_cast<std::ptrdiff_t>(i), v);
    });
}

void TMIntCells::erase(std::size_t i) {
    const auto at = static_cast<std::ptrdiff_t>(i);
    if (width_ == 1)
        w1_.erase(w1_.begin() + at);
    else if (width_ == 2)
        w2_.erase(w2_.begin() + at);
    else
        w4_.erase(w4_.begin() + at);
}

void TMIntCells::reserve(std::size_t n) {
    if (width_ == 1)
        w1_.reserve(n);
    else if (width_ == 2)
        w2_.reserve(n);
    else
        w4_.reserve(n);
}

// Back to the narrowest width with no memory held.
void TMIntCells::clear() {
    Release(w1_);
    Release(w2_);
    Release(w4_);
    width_ = 1;
}

#undef TM_INT_CELLS

namespace {

// Writing, inserting and erasing one slot, for plain vectors and for narrow integers.
template <class T>
void Put(std::vector<T>& v, std::size_t i, T value) { v[i] = value; }
void Put(TMIntCells& v, std::size_t i, int value) { v.Set(i, value); }
void Put(TMExtendedCells& v, std::size_t i, long double value) { v.Set(i, value); }
template <class T>
void InsertSlot(std::vector<T>& v, std::size_t i) { v.insert(v.begin() + static_cast<std::ptrdiff_t>(i), T()); }
void InsertSlot(TMIntCells& v, std::size_t i) { v.insert(i, 0); }
void InsertSlot(TMExtendedCells& v, std::size_t i) { v.insert(i, 0); }
template <class T>
void EraseSlot(std::vector<T>& v, std::size_t i) { v.erase(v.begin() + static_cast<std::ptrdiff_t>(i)); }
void EraseSlot(TMIntCells& v, std::size_t i) { v.erase(i); }
void EraseSlot(TMExtendedCells& v, std::size_t i) { v.erase(i); }
template <class T>
void AdviseCells(std::vector<T>& v) { AdviseIfLarge(v.data(), v.capacity() * sizeof(T)); }
void AdviseCells(TMIntCells& v) { AdviseIfLarge(v.data(), v.bytes()); }
void AdviseCells(TMExtendedCells& v) { AdviseIfLarge(v.data(), v.bytes()); }

// The value of row `row` of a column held as (vector, uniform, stored).
template <class V, class T = typename V::value_type>
T Held(const V& v, bool uniform, std::size_t stored, std::size_t row) {
    if (row >= stored) return T();
    return uniform ? v[0] : v[row];
}

// Turns a uniform column into one slot per held row.
template <class V, class T = typename V::value_type>
void Spread(V& v, std::size_t stored, std::size_t planned) {
    const T value = stored > 0 ? v[0] : T();
    v.clear();
    try {
        v.reserve(std::max(stored, planned));
        AdviseCells(v);
    } catch (const std::exception&) {
        // Only a hint: the vector grows step by step instead.
    }
    v.assign(stored, value);
}

// Writes a number into row `row`; a uniform column stays one value while it can.
template <class V, class T = typename V::value_type>
void Store(V& v, bool& uniform, std::size_t& stored, std::size_t row, T value,
           std::size_t planned) {
    if (uniform) {
        if (Same(Held(v, uniform, stored, row), value)) return;
        // The run of equal rows grows by the next row.
        if (row == stored && (stored == 0 || Same(v[0], value))) {
            if (stored == 0) v.assign(1, value);  // else the slot holds the value already
            stored = row + 1;
            return;
        }
        Spread(v, stored, planned);
        uniform = false;
    }
    if (row == v.size()) {
        v.push_back(value);  // rows are mostly filled in order
    } else {
        if (row > v.size()) v.resize(row + 1, T());
        Put(v, row, value);
    }
    stored = v.size();
}

template <class V, class T = typename V::value_type>
void InsertEmpty(V& v, bool& uniform, std::size_t& stored, std::size_t row,
                 std::size_t planned) {
    if (row >= stored) return;  // every row from here on is empty already
    if (uniform) {
        if (Same(v[0], T())) {
            ++stored;
            return;
        }
        Spread(v, stored, planned);
        uniform = false;
    }
    InsertSlot(v, row);
    stored = v.size();
}

template <class V>
void EraseRow(V& v, bool uniform, std::size_t& stored, std::size_t row) {
    if (row >= stored) return;
    if (!uniform) EraseSlot(v, row);
    --stored;
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
    columnCount_ = static_cast<unsigned>(columns_.size());
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

std::size_t TMDataSet::PlannedRows() const {
    return static_cast<std::size_t>(std::max(rows_, reserved_));
}

void TMDataSet::Insert(int row) {
    if (row < 0 || row > rows_) ThrowRangeError();
    if (rows_ == std::numeric_limits<int>::max()) ThrowRangeError();
    const auto r = static_cast<std::size_t>(row);
    const std::size_t planned = PlannedRows() + 1;
    // A row appended at the end is empty in every column without touching one.
    if (row < rows_) {
        for (Column& c : columns_) {
            switch (c.type) {
                case ftString:
                    if (r < c.stored && c.uniform && c.texts[0].length != 0) {
                        // Spread copies of the one cell share its bytes.
                        Spread(c.texts, c.stored, planned);
                        c.uniform = false;
                    }
                    if (r < c.stored && !c.uniform) {
                        c.texts.insert(c.texts.begin() + row, TextCell{0, 0});
                        c.stored = c.texts.size();
                    } else if (r < c.stored) {
                        ++c.stored;
                    }
                    break;
                case ftInteger: InsertEmpty(c.ints, c.uniform, c.stored, r, planned); break;
                case ftExtended: InsertEmpty(c.extendeds, c.uniform, c.stored, r, planned); break;
                case ftDateTime: InsertEmpty(c.dates, c.uniform, c.stored, r, planned); break;
            }
        }
    }
    ++rows_;
    position_ = row;
}

void TMDataSet::Delete(int row) {
    if (row < 0 || row >= rows_) ThrowRangeError();
    const auto r = static_cast<std::size_t>(row);
    for (Column& c : columns_) {
        switch (c.type) {
            case ftString:
                if (r < c.stored && !c.uniform) {
                    c.garbage += c.texts[r].length;
                    c.texts.erase(c.texts.begin() + row);
                    c.stored = c.texts.size();
                    if (c.garbage > kMinCompactPool && c.garbage > c.pool.size() / 2)
                        CompactPool(c);
                } else if (r < c.stored) {
                    --c.stored;
                }
                break;
            case ftInteger: EraseRow(c.ints, c.uniform, c.stored, r); break;
            case ftExtended: EraseRow(c.extendeds, c.uniform, c.stored, r); break;
            case ftDateTime: EraseRow(c.dates, c.uniform, c.stored, r); break;
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
        c.stored = 0;
        c.uniform = true;
    }
    rows_ = 0;
    reserved_ = 0;
    position_ = 0;
}

// Only a hint for the columns that come to hold a value per row and for their text pools.
void TMDataSet::Reserve(int rows) {
    if (rows > reserved_) reserved_ = rows;
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

void TMDataSet::StoreText(int row, int column, std::string_view value) {
    Column& c = columns_[static_cast<std::size_t>(column)];
    const auto r = static_cast<std::size_t>(row);
    // An unchanged text costs nothing: writing a whole record back rewrites every text.
    if (TextView(row, column) == value) return;
    // The value may be a view into this very pool, which the append below can move.
    std::string copy;
    if (!value.empty() && !c.pool.empty() &&
        std::greater_equal<const char*>()(value.data(), c.pool.data()) &&
        std::less<const char*>()(value.data(), c.pool.data() + c.pool.size())) {
        copy.assign(value);
        value = copy;
    }
    // The next row of a run of equal texts joins the run without bytes of its own.
    if (c.uniform && r == c.stored && c.stored > 0 && TextView(0, column) == value) {
        ++c.stored;
        return;
    }
    if (value.size() > kMaxPool - c.pool.size()) {
        CompactPool(c);
        if (value.size() > kMaxPool - c.pool.size()) ThrowRangeError();  // the cell keeps its text
    }
    TextCell fresh{0, 0};
    if (!value.empty()) {
        if (value.size() > c.pool.capacity() - c.pool.size()) GrowPool(c, value.size(), row);
        fresh = TextCell{static_cast<std::uint32_t>(c.pool.size()),
                         static_cast<std::uint32_t>(value.size())};
        c.pool.append(value);
    }
    if (c.uniform && r == 0 && c.stored <= 1) {
        c.garbage += c.stored == 1 ? c.texts[0].length : 0;
        c.texts.assign(1, fresh);
        c.stored = 1;
    } else {
        if (c.uniform) {
            Spread(c.texts, c.stored, PlannedRows());
            c.uniform = false;
        }
        if (r == c.texts.size()) {
            c.texts.push_back(fresh);  // rows are mostly filled in order
        } else {
            if (r > c.texts.size()) c.texts.resize(r + 1, TextCell{0, 0});
            c.garbage += c.texts[r].length;
            c.texts[r] = fresh;
        }
        c.stored = c.texts.size();
    }
    if (c.garbage > kMinCompactPool && c.garbage > c.pool.size() / 2) CompactPool(c);
}

void TMDataSet::GrowPool(Column& column, std::size_t more, int row) {
    // While rows are being filled in order, the pool is sized for all the rows planned at the
    // texts' average so far, instead of being copied at every doubling on the way there.
    // A row written behind the last held one is rewriting, not filling: plain growth then.
    const auto filled = static_cast<std::size_t>(row) + 1;
    const std::size_t planned = PlannedRows();
    if (planned <= filled || filled < column.stored) return;  // the string's own growth
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
        // The part the estimate expects to fill is made present; the margin only when used.
        AdviseIfLarge(column.pool.data(),
                      static_cast<std::size_t>(std::min<unsigned long long>(
                          column.pool.capacity(), perRow * planned)));
    } catch (const std::exception&) {
        // Not that much memory in one piece: the string grows step by step instead.
    }
}

void TMDataSet::CompactPool(Column& column) {
    std::string pool;
    pool.reserve(column.pool.size() - std::min(column.garbage, column.pool.size()));
    // Neighbouring cells that shared their bytes (copies of one value) keep sharing them.
    TextCell previousOld{0, 0}, previousNew{0, 0};
    for (TextCell& cell : column.texts) {
        if (cell.length == 0) continue;
        if (cell.offset == previousOld.offset && cell.length == previousOld.length) {
            cell = previousNew;
            continue;
        }
        previousOld = cell;
        cell.offset = static_cast<std::uint32_t>(pool.size());
        pool.append(column.pool, previousOld.offset, cell.length);
        previousNew = cell;
    }
    column.pool.swap(pool);
    column.garbage = 0;
}

void TMDataSet::StoreInt(int row, int column, int value) {
    Column& c = columns_[static_cast<std::size_t>(column)];
    Store(c.ints, c.uniform, c.stored, static_cast<std::size_t>(row), value, PlannedRows());
}

void TMDataSet::StoreExtended(int row, int column, long double value) {
    Column& c = columns_[static_cast<std::size_t>(column)];
    Store(c.extendeds, c.uniform, c.stored, static_cast<std::size_t>(row), value, PlannedRows());
}

double TMDataSet::GetDateTime(int row, int column) const {
    CheckCell(row, column, ftDateTime);
    const Column& c = columns_[static_cast<std::size_t>(column)];
    return Held(c.dates, c.uniform, c.stored, static_cast<std::size_t>(row));
}

void TMDataSet::SetDateTime(int row, int column, double value) {
    CheckCell(row, column, ftDateTime);
    Column& c = columns_[static_cast<std::size_t>(column)];
    Store(c.dates, c.uniform, c.stored, static_cast<std::size_t>(row), value, PlannedRows());
}
