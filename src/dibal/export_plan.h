// What the preparation of an export decided, for the steps after it: which goods go to DibalCom
// and which lines of the record file are theirs, which goods are done without being sent, and
// how many marks the transfer waits for. A goods' record lines go to the record file as the
// goods is added; when DibalCom's marks are to be checked they are also kept in its plu_rec cell
// of the export buffer. Goods kept back are listed with their reason in the operation's
// RejectedList, in row order.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dibal/dibalcom_marks.h"
#include "dibal/record_file.h"

class KSExpBuf;

namespace dibal {

struct PlannedGoods {
    int row = 0;        // row in the export buffer
    int firstLine = 0;  // index of its first line in the record file
    int lineCount = 0;
};

struct ExportPlan {
    int SentCounter = 0;    // goods with records, those over the capacity included
    int ProgressUnits = 0;  // marks the transfer waits for
    std::vector<PlannedGoods> sent;     // goods whose lines are in the record file, in row order
    std::vector<int> notForScale;  // rows that count as done without being sent
    int lineCount = 0;

    // Adds the goods in `row`, whose record lines for a scale of `series` are `lines`, to the
    // record file.
    void AddSent(int row, std::string_view lines, const std::string& series);
    // The lines added from now on are written out to a temporary file for `target` as they
    // come, instead of being held until FinishRecordFile.
    void WriteRecordsTo(const std::string& target) { Records().WriteTo(target); }
    // The record file whole under a temporary name, to be moved to `target`; its path.
    const std::string& FinishRecordFile(const std::string& target) {
        return Records().Finish(target);
    }
    void RecordFileHandedOver() { Records().HandedOver(); }
    // A record file not handed over is removed.
    void DiscardRecordFile() { Records().Discard(); }

    // The record lines of a planned goods, from its plu_rec cell (kept when DibalCom's marks
    // are checked); valid until the buffer's next text write.
    static std::string_view TextOf(const KSExpBuf& buffer, const PlannedGoods& goods);

    // The PLU code field and the name field of the goods' first line: how the report of goods
    // DibalCom did not take names it. Made only when asked, since most exports never need it.
    std::string KeyOf(const KSExpBuf& buffer, const PlannedGoods& goods) const;

private:
    RecordFile& Records() {
        if (!records_) records_ = std::make_unique<RecordFile>();
        return *records_;
    }
    std::unique_ptr<RecordFile> records_;
    bool seriesM_ = false;  // the first line's fields lie elsewhere on series M
};

// Whether DibalCom took the goods: its first line carries the mark, and every line of it is
// still in the record file as the driver wrote it.
bool Taken(const RecordReport& report, const PlannedGoods& goods);

// Keys of the goods DibalCom did not take, in the order of the record file.
std::vector<std::string> NotTaken(const KSExpBuf& buffer, const ExportPlan& plan,
                                  const RecordReport& report);

// Decides each goods' tr_ok: goods not for the scale are done; sent goods are done when DibalCom
// took them (`report` null: the file-only export, every sent goods is done). Goods of status
// "nothing" keep theirs.
void ApplyResults(KSExpBuf& buffer, const ExportPlan& plan, const RecordReport* report);

}  // namespace dibal
