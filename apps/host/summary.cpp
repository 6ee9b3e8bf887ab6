#include "summary.h"

#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>

#include "summary_lines.h"
#include "textconv.h"

namespace host {
namespace {

constexpr const char* kActions[4] = {"DOD", "AKT", "CEN", "USU"};

std::string Field(const std::vector<std::string_view>& f, size_t i) {
    return i < f.size() ? std::string(f[i]) : std::string();
}

// What names a goods in both files: its PLU, additional code and barcode
// fields, which lie side by side in the line.
std::string_view GoodsKey(const std::vector<std::string_view>& f) {
    if (f.size() < 4) return f.size() > 1 ? f[1] : std::string_view();
    return std::string_view(f[1].data(),
                            static_cast<size_t>(f[3].data() + f[3].size() - f[1].data()));
}

// Record codes have six digits at most.
constexpr long long kLargestRecordCode = 999999;

// The record name is the goods name cut to its field with the Polish letters
// re-coded for the scale, so only the plain characters must agree.
bool SameName(std::string_view goodsName, std::string_view recordName, size_t width) {
    goodsName = TrimRight(goodsName.substr(0, width));
    if (goodsName.size() != recordName.size()) return false;
    // Names mostly agree byte for byte: equal runs of eight need no closer look.
    size_t i = 0;
    while (i + 8 <= goodsName.size() &&
           std::memcmp(goodsName.data() + i, recordName.data() + i, 8) == 0)
        i += 8;
    for (; i < goodsName.size(); ++i) {
        const auto a = static_cast<unsigned char>(goodsName[i]);
        const auto b = static_cast<unsigned char>(recordName[i]);
        if (a < 0x80 && b < 0x80 && a != b) return false;
    }
    return true;
}

// Calls `f` with each record code a goods' barcode can give: the barcode
// itself, or a run of its digits after the two-digit prefix (and the sub-group
// digits a template may skip), until `f` answers true.
template <typename F>
bool AnyPossibleCode(std::string_view code, F f) {
    // More than six digits after the leading zeros are no record code as a whole.
    const size_t significant = code.find_first_not_of('0');
    if (significant == std::string_view::npos || code.size() - significant <= 6)
        if (const long long whole = Number(code);
            whole >= 0 && whole <= kLargestRecordCode && f(whole))
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

// What the driver's window said about a goods ("...PLU: 8; KOD: 2101A08000000
// (reason)"), by PLU number.
std::map<std::string, std::string, std::less<>> ShownReasons(
    const std::vector<WindowLine>* window) {
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

// Counts a goods in `group`, naming it while the group has room; `fallback`
// stands for a reason the driver did not show.
void Note(GoodsGroup& group, const std::vector<std::string_view>& f, std::string_view line,
          std::string reason, size_t limit, const char* fallback = "") {
    ++group.count;
    if (group.first.size() >= limit) return;
    if (reason.empty()) reason = fallback;
    group.first.push_back({Field(f, 1), Field(f, 2), Field(f, 3), Field(f, 4),
                           std::string(FieldOf(line, 19)), std::move(reason)});
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
        std::fprintf(out, "    PLU %s  %s  %s  %s%s%s\n", Show(g.plu).c_str(), Show(g.code).c_str(),
                     Show(g.action).c_str(), Show(g.name).c_str(), g.reason.empty() ? "" : "  -- ",
                     g.reason.c_str());
    }
    if (group.count > group.first.size())
        std::fprintf(out, "    ... and %zu more\n", group.count - group.first.size());
}

// Counts one line of wynik.exp by its action.
void CountReported(ExportSummary& s, const std::vector<std::string_view>& f) {
    ++s.reported;
    const std::string_view action = f.size() > 4 ? f[4] : std::string_view();
    for (int a = 0; a < 4; ++a) {
        if (action == kActions[a]) {
            ++s.perAction[a];
            return;
        }
    }
    ++s.otherAction;
}

// The goods wynik.exp reports. It lists them in the order of kasa.exp, so they
// are matched walking both files; should the order differ, the lines not yet
// matched are looked up by key from there on.
class ReportedGoods {
public:
    ReportedGoods(LineReader& wynik, ExportSummary& s) : lines_(wynik, 5), s_(s) {}

    // Whether wynik.exp reports the goods of `key`, each of its lines answering
    // once.
    bool Take(std::string_view key) {
        if (!byKey_) {
            if (!lines_.Next(fields_)) return false;
            CountReported(s_, fields_);
            if (GoodsKey(fields_) == key) return true;
            byKey_ = true;
            ++left_[std::string(GoodsKey(fields_))];
            while (lines_.Next(fields_)) {
                CountReported(s_, fields_);
                ++left_[std::string(GoodsKey(fields_))];
            }
        }
        const auto it = left_.find(std::string(key));
        if (it == left_.end() || it->second == 0) return false;
        --it->second;
        return true;
    }

    // Counts the lines no goods asked for.
    void Finish() {
        while (lines_.Next(fields_)) CountReported(s_, fields_);
    }

private:
    PluLines lines_;
    ExportSummary& s_;
    std::vector<std::string_view> fields_;
    bool byKey_ = false;
    std::unordered_map<std::string, int> left_;  // goods key -> lines left
};

// The records of dibal.exp, matched to goods. The driver writes them in the
// order of kasa.exp, so the next record in the file is almost always the
// goods': it is tried first. From the first goods whose record is not the next
// one on, the records left are held and searched by code.
class RecordMatcher {
public:
    RecordMatcher(LineReader& records, const SummaryInput& in)
        : reader_(records, in.oneLinePerGoods, in.seriesM), nameWidth_(in.seriesM ? 14 : 24) {
        pending_ = reader_.Next(next_);
    }

    // The record of the goods of this barcode and name, marked as used; null
    // without one.
    const Record* Take(std::string_view code, std::string_view name) {
        if (!indexed_) {
            if (!pending_) return nullptr;  // every record is used
            if (Matches(next_, code, name)) {
                taken_ = next_;
                pending_ = reader_.Next(next_);
                return &taken_;
            }
            Index();
        }
        Record* record = nullptr;
        while (nextRecord_ < records_.size() && records_[nextRecord_].used) ++nextRecord_;
        if (nextRecord_ < records_.size() && Matches(records_[nextRecord_], code, name))
            record = &records_[nextRecord_];
        if (!record) record = Search(code, name);
        if (record) record->used = true;
        return record;
    }

private:
    bool Matches(const Record& r, std::string_view code, std::string_view name) const {
        return SameName(name, r.Name(), nameWidth_) &&
               AnyPossibleCode(code, [&](long long number) { return number == r.code; });
    }

    void Index() {
        indexed_ = true;
        if (pending_) records_.push_back(next_);
        for (Record r; reader_.Next(r);) records_.push_back(r);
        hasCode_.resize(kLargestRecordCode + 1);
        for (size_t i = 0; i < records_.size(); ++i) {
            byCode_[records_[i].code].records.push_back(i);
            if (records_[i].code >= 0 && records_[i].code <= kLargestRecordCode)
                hasCode_[static_cast<size_t>(records_[i].code)] = true;
        }
    }

    Record* Search(std::string_view code, std::string_view name) {
        Record* found = nullptr;
        AnyPossibleCode(code, [&](long long number) {
            if (!hasCode_[static_cast<size_t>(number)]) return false;
            const auto it = byCode_.find(number);
            if (it == byCode_.end()) return false;
            Bucket& bucket = it->second;
            while (bucket.start < bucket.records.size() &&
                   records_[bucket.records[bucket.start]].used)
                ++bucket.start;
            for (size_t k = bucket.start; k < bucket.records.size(); ++k) {
                Record& candidate = records_[bucket.records[k]];
                if (!candidate.used && SameName(name, candidate.Name(), nameWidth_)) {
                    found = &candidate;
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    // The records of each code in file order; `start` skips those already
    // matched, so many goods sharing a code cost no more than one pass over them.
    struct Bucket {
        std::vector<size_t> records;
        size_t start = 0;
    };

    RecordReader reader_;
    size_t nameWidth_;
    Record next_, taken_;
    bool pending_ = false;  // next_ holds the next record of the file
    bool indexed_ = false;
    std::vector<Record> records_;  // once indexed: the records from there on
    size_t nextRecord_ = 0;        // the first of them not yet matched
    std::unordered_map<long long, Bucket> byCode_;
    std::vector<bool> hasCode_;  // spares the map most look-ups
};

}  // namespace

ExportSummary Summarise(const SummaryInput& in) {
    ExportSummary s;
    s.resultFound = in.resultFound;
    const auto open = [](const std::string& path, std::string_view text) {
        return path.empty() ? std::make_unique<LineReader>(text)
                            : std::make_unique<LineReader>(path);
    };
    const auto kasaLines = open(in.kasaPath, in.kasa);
    const auto wynikLines = open(in.wynikPath, in.wynik);
    const auto recordLines = open(in.recordsPath, in.records);
    ReportedGoods reported(*wynikLines, s);
    RecordMatcher records(*recordLines, in);
    const std::map<std::string, std::string, std::less<>> reasons = ShownReasons(in.window);

    // Only the first fields of a goods line are split: its action is looked up only to name it.
    PluLines goodsLines(*kasaLines, 5);
    std::vector<std::string_view> f;
    while (goodsLines.Next(f)) {
        ++s.goodsInExport;
        const std::string_view code = f.size() > 3 ? f[3] : std::string_view();
        const std::string_view name = f.size() > 4 ? f[4] : std::string_view();
        const Record* record = records.Take(code, name);
        std::string reason;
        if (!reasons.empty())
            if (const auto r = reasons.find(f[1]); r != reasons.end()) reason = r->second;

        if (!reported.Take(GoodsKey(f))) {
            Note(s.notReported, f, goodsLines.Line(), std::move(reason), in.listLimit,
                 record && !record->marked ? "its records were not marked sent by DibalCom" : "");
            continue;
        }
        if (!record) {
            Note(s.withoutRecord, f, goodsLines.Line(), std::move(reason), in.listLimit,
                 "not for this scale");
        } else {
            Note(record->marked ? s.sent : s.written, f, goodsLines.Line(), std::move(reason),
                 in.listLimit);
        }
    }
    reported.Finish();
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
