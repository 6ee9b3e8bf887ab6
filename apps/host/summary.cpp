#include "summary.h"

#include <map>
#include <set>
#include <tuple>
#include <unordered_map>

#include "ini.h"
#include "textconv.h"

namespace host {
namespace {

constexpr const char* kActions[4] = {"DOD", "AKT", "CEN", "USU"};

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (true) {
        const size_t semi = line.find(';', start);
        out.push_back(line.substr(start, semi - start));
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
    return out;
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
    ForEachLine(text, [&](std::string_view line) {
        const auto fields = Fields(Trim(line));
        if (fields.size() >= 2 && fields[0] == "PLU") f(fields);
    });
}

std::string Field(const std::vector<std::string_view>& f, size_t i) {
    return i < f.size() ? std::string(f[i]) : std::string();
}

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
bool AnyPossibleCode(const std::string& code, F f) {
    if (const long long whole = Number(code); whole >= 0 && f(whole)) return true;
    for (size_t start = 2; start <= 4 && start < code.size(); ++start) {
        long long value = 0;
        for (size_t i = start; i < code.size() && i < start + 10; ++i) {
            if (code[i] < '0' || code[i] > '9') break;
            value = value * 10 + (code[i] - '0');
            if (f(value)) return true;
        }
    }
    return false;
}

// What the driver's window said about a goods ("...PLU: 8; KOD: 2101A08000000 (reason)"),
// by PLU number.
std::map<std::string, std::string> ShownReasons(const std::vector<WindowLine>* window) {
    std::map<std::string, std::string> out;
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

void Note(GoodsGroup& group, const GoodsRef& g, size_t limit) {
    ++group.count;
    if (group.first.size() < limit) group.first.push_back(g);
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
    std::multiset<std::tuple<std::string, std::string, std::string>> reported;
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
        reported.insert({Field(f, 1), Field(f, 2), Field(f, 3)});
    });

    std::vector<Record> records = ReadRecords(in);
    std::unordered_map<long long, std::vector<size_t>> recordsByCode;
    for (size_t i = 0; i < records.size(); ++i) recordsByCode[records[i].code].push_back(i);
    const size_t nameWidth = in.seriesM ? 14 : 24;
    const std::map<std::string, std::string> reasons = ShownReasons(in.window);

    ForEachPluLine(in.kasa, [&](const std::vector<std::string_view>& f) {
        ++s.goodsInExport;
        GoodsRef g{Field(f, 1), Field(f, 2), Field(f, 3), Field(f, 4), Field(f, 19), {}};
        Record* record = nullptr;
        if (!recordsByCode.empty()) {
            AnyPossibleCode(g.code, [&](long long code) {
                const auto it = recordsByCode.find(code);
                if (it == recordsByCode.end()) return false;
                for (size_t i : it->second) {
                    if (!records[i].used && SameName(g.name, records[i].name, nameWidth)) {
                        record = &records[i];
                        return true;
                    }
                }
                return false;
            });
        }
        if (record) record->used = true;
        if (const auto r = reasons.find(g.plu); r != reasons.end()) g.reason = r->second;

        const auto it = reported.find({g.plu, g.koldod, g.code});
        if (it == reported.end()) {
            if (record && g.reason.empty() && !record->marked)
                g.reason = "its records were not marked sent by DibalCom";
            Note(s.notReported, g, in.listLimit);
            return;
        }
        reported.erase(it);
        if (!record) {
            if (g.reason.empty()) g.reason = "not for this scale";
            Note(s.withoutRecord, g, in.listLimit);
        } else {
            Note(record->marked ? s.sent : s.written, g, in.listLimit);
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
