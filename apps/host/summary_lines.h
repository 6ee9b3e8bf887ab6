// Readers of the files the summary compares, one line or one record at a time,
// straight from the files' text: nothing is copied and nothing is kept of lines
// already read.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace host {

// The "PLU" lines of kasa.exp or wynik.exp (blanks around a line ignored),
// split at their semicolons up to `most` fields: the summary needs only the
// first few.
class PluLines {
public:
    PluLines(std::string_view text, std::size_t most) : text_(text), most_(most) {}
    bool Next(std::vector<std::string_view>& fields);
    // The whole line the last Next split, for a field beyond the first few.
    std::string_view Line() const { return line_; }

private:
    std::string_view text_;
    std::size_t most_;
    std::string_view line_;
};

// Field `index` (counted from 0) of a line split at its semicolons; empty past
// the last.
std::string_view FieldOf(std::string_view line, std::size_t index);

// One goods' records in dibal.exp: the PLU code and name fields of its first
// line, and whether DibalCom marked every line of it.
struct Record {
    long long code = -1;
    std::string_view name;  // into the record file's text, blanks on the right cut
    bool marked = true;
    bool used = false;
};

class RecordReader {
public:
    // `oneLinePerGoods`: every line starts a goods (series A, K and M);
    // `seriesM`: record 22, whose fields lie elsewhere.
    RecordReader(std::string_view text, bool oneLinePerGoods, bool seriesM)
        : text_(text), oneLinePerGoods_(oneLinePerGoods), seriesM_(seriesM) {}
    bool Next(Record& record);

private:
    std::string_view text_;
    bool oneLinePerGoods_;
    bool seriesM_;
};

// The next line of `text` without its line end; false at the end.
bool NextLine(std::string_view& text, std::string_view& line);

// Characters first..last (counted from 1) of a line; a short line gives what it
// has.
std::string_view Chars(std::string_view line, std::size_t first, std::size_t last);

std::string_view TrimRight(std::string_view s);

// The number a text of at most 18 digits writes, or -1 for anything else.
long long Number(std::string_view digits);

}  // namespace host
