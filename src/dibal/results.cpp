// The result check: which goods DibalCom left unmarked in dibal.exp, listed for the user,
// logged, and reflected in each goods' tr_ok.
#include <string>
#include <unordered_set>

#include "dibal/catalogue.h"
#include "dibal/skalnixaction.h"
#include "exportdata/ksexpbuf.h"
#include "runtime/dttools.h"
#include "runtime/mfile.h"

namespace {

// Characters first..last (counted from 1) of text; a short text gives what it has.
std::string Chars(const std::string& text, std::size_t first, std::size_t last) {
    if (text.size() < first)
        return {};
    return text.substr(first - 1, last - first + 1);
}

// The goods key of a first record line: its PLU code field, a space and its name field.
std::string GoodsKey(const std::string& line, const std::string& series) {
    if (series == "M")
        return Chars(line, 8, 12) + " " + Chars(line, 15, 28);
    return Chars(line, 8, 13) + " " + Chars(line, 17, 40);
}

// Whether an unmarked line of dibal.exp is the first record line of its goods.
bool IsFirstRecordLine(const std::string& line, const std::string& series) {
    if (series == "L" || series == "H")
        return Chars(line, 3, 4) == "L2";
    if (series == "H2")
        return Chars(line, 3, 4) == "H2";
    return true;  // one line per goods
}

}  // namespace

void SkalnixAction::CheckResults() {
    TMFile file;
    file.SetPath(DriverFile("dibal.exp"));
    file.SetReadOnly(true);
    file.Open();
    RejectedList.clear();

    std::string line;
    while (file.ReadLine(line, "\r\n")) {
        if (line.size() >= 3 && line[2] == '*')
            continue;
        if (IsFirstRecordLine(line, Series))
            RejectedList.push_back(GoodsKey(line, Series));
    }

    StartStage(DriverText("SkalnixASprawdzEMsgAdd", " - towary odrzucone przez dibalcom: "),
               stageCounter, 100);
    SetProgress(static_cast<int>(RejectedList.size()));
    for (const std::string& key : RejectedList)
        Message(msgError, "..." + key);

    const std::string header = DriverText("SkalnixASprawdzEheader", "Eksport danych z dnia ") +
                               DefaultDateTimeText(TdtTools::Now().Value()) +
                               DriverText("SprawdzEheaderdtDateTime", "\n\rTowary odrzucone:");

    StartStage(DriverText("SkalnixASprawdzEMsgAdd_00001", "Sprawdzam wyniki eksportu: "),
               stageCounter, 100);
    const std::unordered_set<std::string> rejected(RejectedList.begin(), RejectedList.end());
    KSTowRec goods;
    for (int i = 0; i < ExpBuf->LiczbaTowarow; ++i) {
        SetProgress(i);
        ExpBuf->CzytajRec(i, goods);
        // Only goods whose records went to DibalCom are judged. Goods left without a record
        // (not for the scale, or over the scale's capacity) keep the tr_ok the preparation
        // gave them, so a goods that was never sent is never reported as sent.
        if (goods.status == stNic || goods.plu_rec.empty())
            continue;
        goods.tr_ok = rejected.count(GoodsKey(goods.plu_rec, Series)) == 0;
        ExpBuf->ZapiszRec(i, goods);
    }
    SetStageType(stageDone);
    AppendToLog(header);
    file.Close();
}
