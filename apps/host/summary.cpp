#include "summary.h"

#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

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

// Calls `f` with the fields of every trimmed "PLU" line of `text`.
template <typename F>
void ForEachPluLine(std::string_view text, F f) {
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        const std::string_view line = Trim(text.substr(0, nl));
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        const auto fields = Fields(line);
        if (fields.size() >= 2 && fields[0] == "PLU") f(fields);
    }
}

std::string Field(const std::vector<std::string_view>& f, size_t i) {
    return i < f.size() ? std::string(f[i]) : std::string();
}

std::string ReadAll(const std::string& path, bool& found) {
    std::ifstream in(path, std::ios::binary);
    found = static_cast<bool>(in);
    std::ostringstream buf;
    if (found) buf << in.rdbuf();
    return buf.str();
}

// Display form of a file text: UTF-8 without control characters.
std::string Show(const std::string& cp1250) {
    std::string s = cp1250;
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return Cp1250ToUtf8(s);
}

}  // namespace

ExportSummary Summarise(std::string_view kasaText, std::string_view wynikText,
                        bool resultFound) {
    ExportSummary s;
    s.resultFound = resultFound;
    std::multiset<std::tuple<std::string, std::string, std::string>> reported;
    ForEachPluLine(wynikText, [&](const std::vector<std::string_view>& f) {
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
    ForEachPluLine(kasaText, [&](const std::vector<std::string_view>& f) {
        ++s.goodsInExport;
        GoodsRef g{Field(f, 1), Field(f, 2), Field(f, 3), Field(f, 4), Field(f, 19)};
        const auto it = reported.find({g.plu, g.koldod, g.code});
        if (it != reported.end())
            reported.erase(it);
        else
            s.notReported.push_back(std::move(g));
    });
    return s;
}

ExportSummary SummariseExchange(const std::string& dir) {
    bool kasaFound = false, wynikFound = false;
    const std::string kasa = ReadAll(dir + "kasa.exp", kasaFound);
    const std::string wynik = ReadAll(dir + "wynik.exp", wynikFound);
    return Summarise(kasa, wynik, wynikFound);
}

void PrintSummary(std::FILE* out, const ExportSummary& s, size_t listLimit) {
    std::fprintf(out, "\nSummary\n");
    if (!s.resultFound) {
        std::fprintf(out, "  no result file (wynik.exp) was written\n");
        return;
    }
    std::fprintf(out, "  goods reported in wynik.exp: %d (DOD %d, AKT %d, CEN %d, USU %d",
                 s.reported, s.perAction[0], s.perAction[1], s.perAction[2], s.perAction[3]);
    if (s.otherAction) std::fprintf(out, ", other %d", s.otherAction);
    std::fprintf(out, ")\n");
    std::fprintf(out, "  goods of kasa.exp not reported: %zu of %d\n", s.notReported.size(),
                 s.goodsInExport);
    for (size_t i = 0; i < s.notReported.size() && i < listLimit; ++i) {
        const GoodsRef& g = s.notReported[i];
        std::fprintf(out, "    PLU %s  %s  %s  %s\n", Show(g.plu).c_str(), Show(g.code).c_str(),
                     Show(g.action).c_str(), Show(g.name).c_str());
    }
    if (s.notReported.size() > listLimit)
        std::fprintf(out, "    ... and %zu more\n", s.notReported.size() - listLimit);
}

}  // namespace host
