#include "dibal/export_plan.h"

#include "exportdata/ksexpbuf.h"

namespace dibal {

namespace {

// Lines of a text ended by CR, LF or CR LF, as the record file is read back.
int CountLines(std::string_view text) {
    int lines = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', lf + 1))
        ++lines;
    for (std::size_t cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', cr + 1))
        if (cr + 1 == text.size() || text[cr + 1] != '\n') ++lines;  // a lone CR ends one too
    if (!text.empty() && text.back() != '\r' && text.back() != '\n') ++lines;
    return lines;
}

// Characters first..last (counted from 1) of text; a short text gives what it has.
std::string Chars(std::string_view text, std::size_t first, std::size_t last) {
    if (text.size() < first) return {};
    return std::string(text.substr(first - 1, last - first + 1));
}

// The PLU code field, a space and the name field of a goods' first record line.
std::string GoodsKey(std::string_view firstLine, bool seriesM) {
    if (seriesM) return Chars(firstLine, 8, 12) + " " + Chars(firstLine, 15, 28);
    return Chars(firstLine, 8, 13) + " " + Chars(firstLine, 17, 40);
}

}  // namespace

void ExportPlan::AddSent(int row, std::string_view lines, const std::string& series) {
    PlannedGoods goods;
    goods.row = row;
    goods.firstLine = lineCount;
    goods.lineCount = CountLines(lines);
    seriesM_ = series == "M";
    sent.push_back(goods);
    lineCount += goods.lineCount;
    Records().Append(lines);
}

std::string_view ExportPlan::TextOf(const KSExpBuf& buffer, const PlannedGoods& goods) {
    return buffer.towary.TextView(goods.row, colPluRec);
}

std::string ExportPlan::KeyOf(const KSExpBuf& buffer, const PlannedGoods& goods) const {
    const std::string_view text = TextOf(buffer, goods);
    return GoodsKey(text.substr(0, text.find_first_of("\r\n")), seriesM_);
}

}  // namespace dibal
