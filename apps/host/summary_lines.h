// The lines of the files the summary compares, as goods lines and records: nothing is kept of
// lines already read.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "line_reader.h"

namespace host {

// The "PLU" lines of kasa.exp or wynik.exp (blanks around a line ignored), split at their
// semicolons up to `most` fields: the summary needs only the first few.
class PluLines {
public:
    PluLines(LineReader& lines, std::size_t most) : lines_(lines), most_(most) {}
    // The fields are valid until the next call.
    bool Next(std::vector<std::string_view>& fields);
    // The whole line the last Next split, for a field beyond the first few.
    std::string_view Line() const { return line_; }

private:
    LineReader& lines_;
    std::size_t most_;
    std::string_view line_;
};

// Field `index` (counted from 0) of a line split at its semicolons; empty past the last.
std::string_view FieldOf(std::string_view line, std::size_t index);

// One goods' records in dibal.exp: the PLU code and name fields of its first line, and whether
// DibalCom marked every line of it.
struct Record {
    long long code = -1;
    char name[24] = {};  // the name field, blanks on the right cut
    unsigned char nameLength = 0;
    bool marked = true;
    bool used = false;
    std::string_view Name() const { return {name, nameLength}; }
};

class RecordReader {
public:
    // `oneLinePerGoods`: every line starts a goods (series A, K and M); `seriesM`: record 22,
    // whose fields lie elsewhere.
    RecordReader(LineReader& lines, bool oneLinePerGoods, bool seriesM)
        : lines_(lines), oneLinePerGoods_(oneLinePerGoods), seriesM_(seriesM) {}
    bool Next(Record& record);

private:
    LineReader& lines_;
    bool oneLinePerGoods_;
    bool seriesM_;
};

// Characters first..last (counted from 1) of a line; a short line gives what it has.
std::string_view Chars(std::string_view line, std::size_t first, std::size_t last);

std::string_view TrimRight(std::string_view s);

// The number a text of at most 18 digits writes, or -1 for anything else.
long long Number(std::string_view digits);

}  // namespace host
