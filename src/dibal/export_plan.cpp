#include "dibal/export_plan.h"


#include "runtime/planned_growth.h"

namespace dibal {

namespace {

// Lines of a text ended by CR, LF or CR LF, as the record file is read back.
int CountLines(const std::string& text) {
    int lines = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', lf + 1))
        ++lines;
    for (std::size_t cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', cr + 1))
        if (cr + 1 == text.size() || text[cr + 1] != '\n') ++lines;  // a lone CR ends one too
    if (!text.empty() && text.back() != '\r' && text.back() != '\n') ++lines;
    return lines;
}

// Characters first..last (counted from 1) of text; a short text gives what it has.
std::string Chars(const std::string& text, std::size_t first, std::size_t last) {
    if (text.size() < first) return {};
    return text.substr(first - 1, last - first + 1);
}

// The PLU code field, a space and the name field of a goods' first record line.
std::string GoodsKey(const std::string& firstLine, bool seriesM) {
    if (seriesM) return Chars(firstLine, 8, 12) + " " + Chars(firstLine, 15, 28);
    return Chars(firstLine, 8, 13) + " " + Chars(firstLine, 17, 40);
}

}  // namespace

void ExportPlan::AddSent(int row, const std::string& lines, const std::string& series,
                          std::size_t totalGoods) {
    PlannedGoods goods;
    goods.row = row;
    goods.firstLine = lineCount;
    goods.lineCount = CountLines(lines);
    goods.textOffset = RecordText.size();
    seriesM_ = series == "M";
    sent.push_back(goods);
    lineCount += sent.back().lineCount;
    // sized once from the goods so far instead of doubling
    AppendPlanned(RecordText, lines, static_cast<std::size_t>(row) + 1, totalGoods);
}

std::string ExportPlan::KeyOf(const PlannedGoods& goods) const {
    const std::size_t end = RecordText.find_first_of("\r\n", goods.textOffset);
    return GoodsKey(RecordText.substr(goods.textOffset, end == std::string::npos
                                                            ? std::string::npos
                                                            : end - goods.textOffset),
                    seriesM_);
}

}  // namespace dibal
