// The result check over a dibal.exp that DibalCom may have marked, cut, shifted or garbled.
// The input chooses the series and a few goods (codes and names may repeat, as on a real
// scale), then either is the record file itself or edits the written file: marks, byte
// changes, deletions, insertions, a cut.
// Oracles: a goods is reported done only when its first line carries the mark and each of its
// lines is in the file as written (the third character aside); when that holds for it and for
// every goods of its code and name, it is reported done; the goods listed as not taken are
// exactly the others; goods with nothing to do keep their verdict.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dibal/dibalcom_marks.h"
#include "dibal/export_plan.h"
#include "dibal/records_layouts.h"
#include "exportdata/ksexpbuf.h"
#include "fuzz_support.h"

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    bool More() const { return at < size; }
    std::uint8_t Byte() { return at < size ? data[at++] : 0; }
};

struct Goods {
    int code = 0;
    int name = 0;
    int status = 0;
    std::size_t offset = 0;              // of its first line in the written text
    std::vector<std::size_t> lineSizes;  // CR LF included
};

const char* const kSeries[] = {"M", "A", "L", "H2"};
const char* const kNames[] = {"Jab\xB3ka", "Gruszki"};

std::string Lines(const std::string& series, const Goods& g, bool extra, bool block) {
    dibal::RecordFields f;
    f.address = "00";
    f.pluCode = (series == "M" ? "0000" : "00000") + std::to_string(g.code);
    f.name = kNames[g.name];
    f.section = extra ? 5 : 0;
    std::string out;
    if (series == "M") {
        dibal::AppendRecord22(f, out);
    } else if (series == "A") {
        dibal::AppendRecordX1(f, out);
    } else if (series == "L") {
        dibal::AppendRecordL2(f, out);
        if (extra) dibal::AppendRecordL3(f, out);
        if (block) out += dibal::L4Block(f.address, f.pluCode, {"opis"});
    } else {
        dibal::AppendRecordH2(f, out);
        if (extra) dibal::AppendRecordH3(f, out);
        if (block) out += dibal::H4Block(f.address, f.pluCode, {"opis"});
    }
    return out;
}

std::vector<std::size_t> LineSizes(const std::string& lines) {
    std::vector<std::size_t> sizes;
    for (std::size_t start = 0; start < lines.size();) {
        const std::size_t next = lines.find("\r\n", start) + 2;
        sizes.push_back(next - start);
        start = next;
    }
    return sizes;
}

// DibalCom's file as the input describes it.
std::string RecordFile(Input& in, const std::string& written, bool raw, bool allMarked) {
    if (raw) return std::string(reinterpret_cast<const char*>(in.data + in.at), in.size - in.at);
    std::string file = written;
    std::vector<std::size_t> starts;
    for (std::size_t s = 0; s < written.size(); s = written.find("\r\n", s) + 2) starts.push_back(s);
    if (allMarked)
        for (std::size_t s : starts) file[s + 2] = '*';
    while (in.More()) {
        const int kind = in.Byte() % 6;
        const std::size_t pos = in.Byte() | std::size_t{in.Byte()} << 8;
        const char value = static_cast<char>(in.Byte());
        const std::size_t line = starts[pos % starts.size()];
        switch (kind) {
            case 0: if (line + 2 < file.size()) file[line + 2] = '*'; break;
            case 1: if (line + 2 < file.size()) file[line + 2] = written[line + 2]; break;
            case 2: if (!file.empty()) file[pos % file.size()] = value; break;
            case 3: if (!file.empty()) file.erase(pos % file.size(), 1); break;
            case 4: file.insert(pos % (file.size() + 1), 1, value); break;
            default: file.resize(pos % (file.size() + 1)); break;
        }
    }
    return file;
}

// Whether the file holds the goods' lines as written, the first one marked.
bool TakenIn(const std::string& file, const std::string& written, const Goods& g) {
    std::size_t offset = g.offset;
    for (std::size_t i = 0; i < g.lineSizes.size(); ++i) {
        const std::size_t size = g.lineSizes[i];
        if (file.size() < offset + size) return false;
        for (std::size_t j = 0; j < size; ++j) {
            const char got = file[offset + j], want = written[offset + j];
            if (j == 2 ? !(got == want || got == '*') || (i == 0 && got != '*') : got != want)
                return false;
        }
        offset += size;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::WorkDir work("report");
    const std::filesystem::path& dir = work.Path();
    Input in{data, size};
    const std::uint8_t head = in.Byte();
    const std::string series = kSeries[head % 4];
    const int count = 1 + (head >> 2) % 6;
    const bool allMarked = (head >> 5) & 1;
    const bool raw = head >> 7;

    KSExpBuf buffer(nullptr);
    dibal::ExportPlan plan;
    std::vector<Goods> goods;
    std::string written;  // the record file as the plan makes it
    for (int row = 0; row < count; ++row) {
        const std::uint8_t b = in.Byte();
        Goods g;
        g.code = 1 + (b & 3);
        g.name = (b >> 2) & 1;
        g.status = (b >> 5) % 5;  // 4: nothing to do
        const std::string lines = Lines(series, g, (b >> 3) & 1, (b >> 4) & 1);
        g.offset = written.size();
        g.lineSizes = LineSizes(lines);
        KSTowRec rec;
        rec.plu = g.code;
        rec.kod = std::to_string(g.code);
        rec.status = rec.org_status = g.status;
        rec.tr_ok = false;
        rec.plu_rec = lines;
        plan.AddSent(row, lines, series);
        written += lines;
        buffer.DodajRec(rec);
        goods.push_back(g);
    }
    const std::string file = RecordFile(in, written, raw, allMarked);
    const std::string path = (dir / "dibal.exp").string();
    fuzz::WriteBytes(path, file);

    // The record file as the export compares it: piece by piece, from the goods' plu_rec cells.
    std::vector<std::string_view> pieces;
    for (const dibal::PlannedGoods& planned : plan.sent)
        pieces.push_back(dibal::ExportPlan::TextOf(buffer, planned));
    const dibal::RecordReport report = dibal::ReadRecordReport(path, pieces);
    fuzz::Expect(report.inPlace == dibal::ReadRecordReport(path, written).inPlace,
                 "the record file read in pieces differs from the whole");
    const std::vector<std::string> notTaken = dibal::NotTaken(buffer, plan, report);
    dibal::ApplyResults(buffer, plan, &report);

    std::vector<bool> taken;
    for (const Goods& g : goods) taken.push_back(TakenIn(file, written, g));
    std::size_t listed = 0;
    for (int row = 0; row < count; ++row) {
        const Goods& g = goods[row];
        const std::string where = "goods " + std::to_string(row);
        if (!taken[row]) {
            fuzz::Expect(listed < notTaken.size() && notTaken[listed] == plan.KeyOf(buffer, plan.sent[row]),
                         where + " is missing from the goods not taken");
            ++listed;
        }
        if (g.status == stNic) {
            fuzz::Expect(!buffer.TrOk(row), where + " with nothing to do got a verdict");
            continue;
        }
        bool allOfKeyTaken = true;
        for (int other = 0; other < count; ++other)
            if (goods[other].code == g.code && goods[other].name == g.name && !taken[other])
                allOfKeyTaken = false;
        if (buffer.TrOk(row))
            fuzz::Expect(taken[row], where + " is reported done without its marked lines");
        else
            fuzz::Expect(!allOfKeyTaken, where + " was taken but is not reported done");
    }
    fuzz::Expect(listed == notTaken.size(), "goods taken are listed as not taken");
    return 0;
}
