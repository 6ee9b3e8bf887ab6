#include "summary.h"

#include <map>
#include <unordered_map>

#include "ini.h"
#include "textconv.h"

namespace host {
namespace {

constexpr const char* kActions[4] = {"DOD", "AKT", "CEN", "USU"};

// Splits a line at its semicolons into `out` (reused from line to line).
void Fields(std::string_view line, std::vector<std::string_view>& out) {
    out.clear();
    size_t start = 0;
    while (true) {
        const size_t semi = line.find(';', start);
        out.push_back(line.substr(start, semi - start));
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
}

// Calls `f` with every line of `text`, without its line end.
template <typename F>
void ForEachLine(std::string_view text, F f) {
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        f(line);
    }
}

// Calls `f` with the fields of every trimmed "PLU" line of `text`.
template <typename F>
void ForEachPluLine(std::string_view text, F f) {
    std::vector<std::string_view> fields;
    ForEachLine(text, [&](std::string_view line) {
        line = Trim(line);
        if (line.substr(0, 4) != "PLU;") return;
        Fields(line, fields);
        f(fields);
    });
}

std::string Field(const std::vector<std::string_view>& f, size_t i) {
    return i < f.size() ? std::string(f[i]) : std::string();
}

// What names a goods in both files: its PLU, additional code and barcode fields, which lie side
// by side in the line.
std::string_view GoodsKey(const std::vector<std::string_view>& f) {
    if (f.size() < 4) return f.size() > 1 ? f[1] : std::string_view();
    return std::string_view(f[1].data(), static_cast<size_t>(f[3].data() + f[3].size() - f[1].data()));
}

// Record codes have six digits at most.
constexpr long long kLargestRecordCode = 999999;

// Characters first..last (counted from 1) of a line; a short line gives what it has.
std::string_view Chars(std::string_view line, size_t first, size_t last) {
    if (line.size() < first) return {};
    return line.substr(first - 1, last - first + 1);
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The number a text of at most 18 digits writes, or -1 for anything else.
long long Number(std::string_view digits) {
    if (digits.empty() || digits.size() > 18) return -1;
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The goods of one record: the PLU code and name fields of its first line, and whether DibalCom
// marked every line of it.
struct Record {
    long long code = -1;
    std::string name;
    bool marked = true;
    bool used = false;
};

std::vector<Record> ReadRecords(const SummaryInput& in) {
    std::vector<Record> out;
    ForEachLine(in.records, [&](std::string_view line) {
        if (line.size() < 6) return;
        // DibalCom marks a line with '*' in its third character, over the record letter, so
        // first lines are told by the digits after it.
        const bool first = in.oneLinePerGoods || Chars(line, 4, 6) == "200";
        if (first) {
            Record r;
            r.code = Number(in.seriesM ? Chars(line, 8, 12) : Chars(line, 8, 13));
            r.name = std::string(TrimRight(in.seriesM ? Chars(line, 15, 28) : Chars(line, 17, 40)));
            out.push_back(std::move(r));
        }
        if (!out.empty() && line[2] != '*') out.back().marked = false;
    });
    return out;
}

// The record name is the goods name cut to its field with the Polish letters re-coded for the
// scale, so only the plain characters must agree.
bool SameName(std::string_view goodsName, std::string_view recordName, size_t width) {
    goodsName = TrimRight(goodsName.substr(0, width));
    if (goodsName.size() != recordName.size()) return false;
    for (size_t i = 0; i < goodsName.size(); ++i) {
        const auto a = static_cast<unsigned char>(goodsName[i]);
        const auto b = static_cast<unsigned char>(recordName[i]);
        if (a < 0x80 && b < 0x80 && a != b) return false;
    }
    return true;
}

// Calls `f` with each record code a goods' barcode can give: the barcode itself, or a run of
// its digits after the two-digit prefix (and the sub-group digits a template may skip), until
// `f` answers true.
template <typename F>
bool AnyPossibleCode(std::string_view code, F f) {
    if (const long long whole = Number(code); whole >= 0 && whole <= kLargestRecordCode && f(whole))
        return true;
    for (size_t start = 2; start <= 4 && start < code.size(); ++start) {
        long long value = 0;
        for (size_t i = start; i < code.size() && i < start + 10; ++i) {
            if (code[i] < '0' || code[i] > '9') break;
            value = value * 10 + (code[i] - '0');
            if (value > kLargestRecordCode) break;
            if (f(value)) return true;
        }
    }
    return false;
}

// What the driver's window said about a goods ("...PLU: 8; KOD: 2101A08000000 (reason)"),
// by PLU number.
std::map<std::string, std::string, std::less<>> ShownReasons(const std::vector<WindowLine>* window) {
    std::map<std::string, std::string, std::less<>> out;
    if (!window) return out;
    for (const auto& line : *window) {
        const size_t at = line.text.find("PLU: ");
        if (at == std::string::npos) continue;
        const size_t end = line.text.find(';', at);
        if (end == std::string::npos) continue;
        out.emplace(line.text.substr(at + 5, end - at - 5), line.text.substr(at));
    }
    return out;
}

// Counts a goods in `group`, naming it while the group has room.
// Counts a goods in `group`, naming it while the group has room; `fallback` stands for a reason
// the driver did not show.
void Note(GoodsGroup& group, const std::vector<std::string_view>& f, std::string reason,
          size_t limit, const char* fallback = "") {
    ++group.count;
    if (group.first.size() >= limit) return;
    if (reason.empty()) reason = fallback;
    group.first.push_back(
        {Field(f, 1), Field(f, 2), Field(f, 3), Field(f, 4), Field(f, 19), std::move(reason)});
}

// Display form of a file text: UTF-8 without control characters.
std::string Show(const std::string& cp1250) {
    std::string s = cp1250;
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return Cp1250ToUtf8(s);
}

void PrintGroup(std::FILE* out, const char* title, const GoodsGroup& group) {
    std::fprintf(out, "  %s: %zu\n", title, group.count);
    for (const GoodsRef& g : group.first) {
        std::fprintf(out, "    PLU %s  %s  %s  %s%s%s\n", Show(g.plu).c_str(),
                     Show(g.code).c_str(), Show(g.action).c_str(), Show(g.name).c_str(),
                     g.reason.empty() ? "" : "  -- ", g.reason.c_str());
    }
    if (group.count > group.first.size())
        std::fprintf(out, "    ... and %zu more\n", group.count - group.first.size());
}

}  // namespace

ExportSummary Summarise(const SummaryInput& in) {
    ExportSummary s;
    s.resultFound = in.resultFound;
    // wynik.exp lists the goods in the order of kasa.exp, so they are matched walking both;
    // should the order differ, the goods not yet matched are looked up by key from there on.
    std::vector<std::string_view> reportedInOrder;
    size_t nextReported = 0;
    bool byKey = false;
    std::unordered_map<std::string_view, int> reported;  // goods key -> lines left
    ForEachPluLine(in.wynik, [&](const std::vector<std::string_view>& f) {
        ++s.reported;
        const std::string action = Field(f, 4);
        bool known = false;
        for (int a = 0; a < 4; ++a) {
            if (action == kActions[a]) {
                ++s.perAction[a];
                known = true;
            }
        }
        if (!known) ++s.otherAction;
        reportedInOrder.push_back(GoodsKey(f));
    });

    std::vector<Record> records = ReadRecords(in);
    // The records of each code in file order; `start` skips those already matched, so many
    // goods sharing a code cost no more than one pass over them.
    struct Bucket {
        std::vector<size_t> records;
        size_t start = 0;
    };
    std::unordered_map<long long, Bucket> recordsByCode;
    std::vector<bool> hasCode(kLargestRecordCode + 1);  // spares the map most look-ups
    for (size_t i = 0; i < records.size(); ++i) {
        recordsByCode[records[i].code].records.push_back(i);
        if (records[i].code >= 0 && records[i].code <= kLargestRecordCode)
            hasCode[static_cast<size_t>(records[i].code)] = true;
    }
    const size_t nameWidth = in.seriesM ? 14 : 24;
    size_t nextRecord = 0;  // the first record not yet matched, in file order
    const std::map<std::string, std::string, std::less<>> reasons = ShownReasons(in.window);

    ForEachPluLine(in.kasa, [&](const std::vector<std::string_view>& f) {
        ++s.goodsInExport;
        const std::string_view code = f.size() > 3 ? f[3] : std::string_view();
        const std::string_view name = f.size() > 4 ? f[4] : std::string_view();
        Record* record = nullptr;
        // The driver writes records in the order of kasa.exp, so the next record in the file
        // is almost always this goods': try it before searching by code.
        while (nextRecord < records.size() && records[nextRecord].used) ++nextRecord;
        if (nextRecord < records.size()) {
            Record& next = records[nextRecord];
            if (SameName(name, next.name, nameWidth) &&
                AnyPossibleCode(code, [&](long long number) { return number == next.code; }))
                record = &next;
        }
        if (!record && !recordsByCode.empty()) {
            AnyPossibleCode(code, [&](long long number) {
                if (!hasCode[static_cast<size_t>(number)]) return false;
                const auto it = recordsByCode.find(number);
                if (it == recordsByCode.end()) return false;
                Bucket& bucket = it->second;
                while (bucket.start < bucket.records.size() &&
                       records[bucket.records[bucket.start]].used)
                    ++bucket.start;
                for (size_t k = bucket.start; k < bucket.records.size(); ++k) {
                    Record& candidate = records[bucket.records[k]];
                    if (!candidate.used && SameName(name, candidate.name, nameWidth)) {
                        record = &candidate;
                        return true;
                    }
                }
                return false;
            });
        }
        if (record) record->used = true;
        std::string reason;
        if (!reasons.empty())
            if (const auto r = reasons.find(f[1]); r != reasons.end()) reason = r->second;

        const std::string_view key = GoodsKey(f);
        bool isReported = false;
        if (!byKey && nextReported < reportedInOrder.size() &&
            reportedInOrder[nextReported] == key) {
            ++nextReported;
            isReported = true;
        } else {
            if (!byKey) {
                byKey = true;
                for (size_t i = nextReported; i < reportedInOrder.size(); ++i)
                    ++reported[reportedInOrder[i]];
            }
            const auto it = reported.find(key);
            if (it != reported.end() && it->second > 0) {
                --it->second;
                isReported = true;
            }
        }
        if (!isReported) {
            Note(s.notReported, f, std::move(reason), in.listLimit,
                 record && !record->marked ? "its records were not marked sent by DibalCom" : "");
            return;
        }
        if (!record) {
            Note(s.withoutRecord, f, std::move(reason), in.listLimit, "not for this scale");
        } else {
            Note(record->marked ? s.sent : s.written, f, std::move(reason), in.listLimit);
        }
    });
    return s;
}

void PrintSummary(std::FILE* out, const ExportSummary& s) {
    std::fprintf(out, "\nSummary\n");
    std::fprintf(out, "  goods in kasa.exp: %d\n", s.goodsInExport);
    if (!s.resultFound) {
        std::fprintf(out, "  no result file (wynik.exp) was written\n");
        return;
    }
    std::fprintf(out, "  goods reported in wynik.exp: %d (DOD %d, AKT %d, CEN %d, USU %d",
                 s.reported, s.perAction[0], s.perAction[1], s.perAction[2], s.perAction[3]);
    if (s.otherAction) std::fprintf(out, ", other %d", s.otherAction);
    std::fprintf(out, ")\n");
    PrintGroup(out, "sent to the scale (record lines marked by DibalCom)", s.sent);
    if (s.written.count)
        PrintGroup(out, "records written to dibal.exp, not sent (no DibalCom)", s.written);
    PrintGroup(out, "reported done without a record", s.withoutRecord);
    PrintGroup(out, "not reported", s.notReported);
}

}  // namespace host
