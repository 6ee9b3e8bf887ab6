// The result check: which goods DibalCom left unmarked in dibal.exp, listed for the user,
// logged, and reflected in each goods' tr_ok.
#include <string>
#include <unordered_set>

#include "dibal/catalogue.h"
#include "dibal/dibalcom_marks.h"
#include "dibal/export_plan.h"
#include "dibal/skalnixaction.h"
#include "exportdata/ksexpbuf.h"
#include "runtime/dttools.h"

namespace dibal {

bool Taken(const RecordReport& report, const PlannedGoods& goods) {
    const auto first = static_cast<std::size_t>(goods.firstLine);
    const std::size_t end = first + static_cast<std::size_t>(goods.lineCount);
    if (goods.firstLine < 0 || end > report.inPlace.size() || !report.marked[first]) return false;
    for (std::size_t line = first; line < end; ++line)
        if (!report.inPlace[line]) return false;
    return true;
}

std::vector<std::string> NotTaken(const KSExpBuf& buffer, const ExportPlan& plan,
                                  const RecordReport& report) {
    std::vector<std::string> keys;
    for (const PlannedGoods& goods : plan.sent)
        if (!Taken(report, goods)) keys.push_back(plan.KeyOf(buffer, goods));
    return keys;
}

void ApplyResults(KSExpBuf& buffer, const ExportPlan& plan, const RecordReport* report) {
    for (int row : plan.notForScale)
        buffer.SetTrOk(row, true);
    // The scale keeps one goods per code: goods that share code and name share the verdict.
    std::unordered_set<std::string> notTaken;
    if (report != nullptr)
        for (const std::string& key : NotTaken(buffer, plan, *report))
            notTaken.insert(key);
    for (const PlannedGoods& goods : plan.sent) {
        if (buffer.CzytajStatus(goods.row) == stNic)
            continue;
        buffer.SetTrOk(goods.row, notTaken.empty() || notTaken.count(plan.KeyOf(buffer, goods)) == 0);
    }
}

}  // namespace dibal

void SkalnixAction::CheckResults() {
    std::vector<std::string_view> written;
    written.reserve(Plan.sent.size());
    for (const dibal::PlannedGoods& goods : Plan.sent)
        written.push_back(dibal::ExportPlan::TextOf(*ExpBuf, goods));
    const dibal::RecordReport report = dibal::ReadRecordReport(DriverFile("dibal.exp"), written);
    std::vector<std::string> notTaken = dibal::NotTaken(*ExpBuf, Plan, report);

    StartStage(DriverText("SkalnixASprawdzEMsgAdd", " - towary odrzucone przez dibalcom: "),
               stageCounter, 100);
    SetProgress(static_cast<int>(notTaken.size()));
    for (const std::string& key : notTaken)
        Message(msgError, "..." + key);

    const std::string header = DriverText("SkalnixASprawdzEheader", "Eksport danych z dnia ") +
                               DefaultDateTimeText(TdtTools::Now().Value()) +
                               DriverText("SprawdzEheaderdtDateTime", "\n\rTowary odrzucone:");

    StartStage(DriverText("SkalnixASprawdzEMsgAdd_00001", "Sprawdzam wyniki eksportu: "),
               stageCounter, 100);
    for (int i = 0; i < ExpBuf->LiczbaTowarow; ++i)
        SetProgress(i);
    dibal::ApplyResults(*ExpBuf, Plan, &report);
    SetStageType(stageDone);
    // The log lists the goods DibalCom did not take.
    RejectedList = std::move(notTaken);
    AppendToLog(header);
}
