// The export result file: one line per goods that reached the device, with the action the
// host asked for.
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "exportdata/ksexpbuf.h"
#include "exportdata/texts.h"
#include "platform/env.h"
#include "runtime/exceptions.h"
#include "runtime/mfile.h"
#include "targodll.h"
#include "tools/ltools.h"
#include "tools/progress.h"

namespace {

// The host's action of a status, with the ";" before it and the line end after it.
std::string_view ActionEnd(int orgStatus) {
    static constexpr std::string_view kActions[] = {";DOD\r\n", ";AKT\r\n", ";CEN\r\n", ";USU\r\n"};
    return kActions[orgStatus];
}

// Lines are collected and written in blocks of about this size.
constexpr size_t kBlock = 1 << 16;

// The lines of the result file, put together in one block with plain stores and written out
// whenever the block is full.
class ResultLines {
public:
    explicit ResultLines(TMFile& file) : file_(file), block_(kBlock, '\0') {}

    // One line: "PLU;" plu ";" koldod ";" barcode ";" action CR LF.
    void Add(int plu, int koldod, std::string_view barcode, std::string_view actionEnd) {
        // Two numbers of at most 11 characters and the fixed bytes.
        const std::size_t most = 4 + 11 + 1 + 11 + 1 + barcode.size() + actionEnd.size();
        if (block_.size() - used_ < most) {
            Flush();
            if (block_.size() < most) block_.resize(most);
        }
        char* p = block_.data() + used_;
        std::memcpy(p, "PLU;", 4);
        p = Number(p + 4, plu);
        *p++ = ';';
        p = Number(p, koldod);
        *p++ = ';';
        std::memcpy(p, barcode.data(), barcode.size());
        p += barcode.size();
        std::memcpy(p, actionEnd.data(), actionEnd.size());
        p += actionEnd.size();
        used_ = static_cast<std::size_t>(p - block_.data());
    }
    void Flush() {
        if (used_ == 0) return;
        file_.Write(block_.data(), used_);
        used_ = 0;
    }

private:
    static char* Number(char* p, int value) { return std::to_chars(p, p + 11, value).ptr; }

    TMFile& file_;
    std::string block_;
    std::size_t used_ = 0;
};

}  // namespace

constexpr int kRowsPerClockCheck = 32;

void KSExpBuf::ZapiszWynikEksp(const std::string& path) {
    const int n = towary.GetCount();
    platform::Env& os = platform::env();
    std::int64_t last = os.NowMicros();
    if (operation_)
        operation_->StartStage(
            expbuftext::Get(lg_, "ufZapiszWyksactionMsgAdd", "Zapis wyniku eksportu:"),
            TARGO_STAGE_PERCENT, n);
    // The host reads the file as soon as the export ends: it is written under a temporary name
    // and moved over the result in one step, so it is either whole or not there at all.
    const std::string tempPath = platform::TemporaryPathFor(path);
    TMFile file;
    // A failed write leaves neither the temporary file nor a stage that looks done.
    const auto abandon = [&] {
        try {
            file.Close();
        } catch (...) {
        }
        platform::env().DeleteFile(tempPath);
        if (operation_) operation_->SetStageType(TARGO_STAGE_ERROR);
    };
    try {
        file.SetPath(tempPath);
        file.SetReadOnly(false);
        file.Open();
        file.SetPointer(0);
        file.SetEof();
        ResultLines lines(file);
        for (int i = 0; i < n; ++i) {
            // The clock is asked every few rows only: a row takes well under a microsecond.
            if (i % kRowsPerClockCheck == 0) {
                const std::int64_t now = os.NowMicros();
                if (now - last > 864000) {
                    last = now;
                    if (operation_) operation_->SetProgress(i + 1);
                }
            }
            // Only the columns the line needs are read.
            const int orgStatus = towary.GetInt(i, colOrgStatus);
            const int plu = towary.GetInt(i, colPlu);
            if (towary.GetInt(i, colTrOk) == 0 || towary.GetInt(i, colAddRec) != 0 || plu == 0 ||
                orgStatus < stDod || orgStatus > stUsu)
                continue;
            lines.Add(plu, towary.GetInt(i, colKoldod), towary.TextView(i, colOrgBarcode),
                      ActionEnd(orgStatus));
            ++LiczbaZapisanych;
        }
        lines.Flush();
        // Buffered lines reach the disk at the close: a failure there is a failed write, and
        // the stage must not show "OK" before it.
        file.Close();
        TLTools().RenFile(tempPath, path, lg_);
    } catch (const EInOutError& e) {
        abandon();
        // The user is told of the result file, not of its temporary name.
        std::string message = e.what();
        if (const auto at = message.find(tempPath); at != std::string::npos)
            message.replace(at, tempPath.size(), path);
        throw EInOutError(message);
    } catch (...) {
        abandon();
        throw;
    }
    if (operation_) {
        operation_->SetProgress(n);
        operation_->SetStageType(TARGO_STAGE_DONE);
    }
}
