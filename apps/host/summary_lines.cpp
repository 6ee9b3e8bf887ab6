#include "summary_lines.h"

#include <cstring>

#include "ini.h"

namespace host {

bool PluLines::Next(std::vector<std::string_view>& fields) {
    std::string_view line;
    while (lines_.Next(line)) {
        line = Trim(line);
        if (line.size() < 4 || line[0] != 'P' || line[1] != 'L' || line[2] != 'U' || line[3] != ';')
            continue;
        line_ = line;
        fields.clear();
        // The first most_ fields, each found with one search for its separator.
        const char* start = line.data();
        const char* const end = start + line.size();
        while (fields.empty() || fields.size() < most_) {
            const void* separator = std::memchr(start, ';', static_cast<std::size_t>(end - start));
            if (separator == nullptr) {
                fields.emplace_back(start, static_cast<std::size_t>(end - start));
                break;
            }
            const char* at = static_cast<const char*>(separator);
            fields.emplace_back(start, static_cast<std::size_t>(at - start));
            start = at + 1;
        }
        return true;
    }
    return false;
}

bool RecordReader::Next(Record& record) {
    bool started = false;
    std::string_view line;
    while (lines_.Next(line)) {
        if (line.size() < 6) continue;
        // DibalCom marks a line with '*' in its third character, over the record letter, so
        // first lines are told by the digits after it.
        const bool first = oneLinePerGoods_ || Chars(line, 4, 6) == "200";
        if (first) {
            if (started) {
                lines_.Unread();  // the next goods' first line
                return true;
            }
            started = true;
            record = Record();
            record.code = Number(seriesM_ ? Chars(line, 8, 12) : Chars(line, 8, 13));
            const std::string_view name =
                TrimRight(seriesM_ ? Chars(line, 15, 28) : Chars(line, 17, 40));
            record.nameLength =
                static_cast<unsigned char>(name.copy(record.name, sizeof record.name));
        }
        if (started && line[2] != '*') record.marked = false;
    }
    return started;
}

std::string_view FieldOf(std::string_view line, std::size_t index) {
    for (; index > 0; --index) {
        const std::size_t semi = line.find(';');
        if (semi == std::string_view::npos) return {};
        line.remove_prefix(semi + 1);
    }
    return line.substr(0, line.find(';'));
}

std::string_view Chars(std::string_view line, std::size_t first, std::size_t last) {
    if (line.size() < first) return {};
    return line.substr(first - 1, last - first + 1);
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

long long Number(std::string_view digits) {
    if (digits.empty() || digits.size() > 18) return -1;
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace host
