// What the preparation of an export decided, for the steps after it: the record text for
// DibalCom, which goods owns which of its lines, which goods are done without being sent, and
// how many marks the transfer waits for. Goods kept back are listed with their reason in the
// operation's RejectedList, in row order.
#pragma once

#include <string>
#include <vector>

#include "dibal/dibalcom_marks.h"

class KSExpBuf;

namespace dibal {

struct PlannedGoods {
    int row = 0;        // row in the export buffer
    int firstLine = 0;  // index of its first line in RecordText
    int lineCount = 0;
    std::size_t textOffset = 0;  // where its first line starts in RecordText
};

struct ExportPlan {
    std::string RecordText;
    int SentCounter = 0;    // goods with records, those over the capacity included
    int ProgressUnits = 0;  // marks the transfer waits for
    std::vector<PlannedGoods> sent;     // goods whose lines are in RecordText, in row order
    std::vector<int> notForScale;  // rows that count as done without being sent
    int lineCount = 0;

    // Appends the record lines of the goods in `row` for a scale of `series`; `totalGoods`, when
    // known, sizes the record text once.
    void AddSent(int row, const std::string& lines, const std::string& series,
                 std::size_t totalGoods = 0);

    // The PLU code field and the name field of the goods' first line: how the report of goods
    // DibalCom did not take names it. Made only when asked, since most exports never need it.
    std::string KeyOf(const PlannedGoods& goods) const;

private:
    bool seriesM_ = false;  // the first line's fields lie elsewhere on series M
};

// Whether DibalCom took the goods: its first line carries the mark, and every line of it is
// still in the record file as the driver wrote it.
bool Taken(const RecordReport& report, const PlannedGoods& goods);

// Keys of the goods DibalCom did not take, in the order of the record file.
std::vector<std::string> NotTaken(const ExportPlan& plan, const RecordReport& report);

// Decides each goods' tr_ok: goods not for the scale are done; sent goods are done when DibalCom
// took them (`report` null: the file-only export, every sent goods is done). Goods of status
// "nothing" keep theirs.
void ApplyResults(KSExpBuf& buffer, const ExportPlan& plan, const RecordReport* report);

}  // namespace dibal
