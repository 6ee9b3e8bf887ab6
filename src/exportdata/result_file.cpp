// The export result file: one line per goods that reached the device, with the action the
// host asked for.
#include <charconv>
#include <cstdint>

#include "exportdata/ksexpbuf.h"
#include "exportdata/texts.h"
#include "platform/env.h"
#include "runtime/exceptions.h"
#include "runtime/mfile.h"
#include "targodll.h"
#include "tools/ltools.h"
#include "tools/progress.h"

namespace {

const char* HostAction(int orgStatus) {
    static const char* const kActions[] = {"DOD", "AKT", "CEN", "USU"};
    return kActions[orgStatus];
}

void AppendInt(std::string& out, int value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

// Lines are collected and written in blocks of about this size.
constexpr size_t kBlock = 1 << 16;

}  // namespace

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
    std::string pending;
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
        pending.reserve(kBlock + 512);
        for (int i = 0; i < n; ++i) {
            const std::int64_t now = os.NowMicros();
            if (now - last > 864000) {
                last = now;
                if (operation_) operation_->SetProgress(i + 1);
            }
            // Only the columns the line needs are read.
            const int orgStatus = towary.GetInt(i, colOrgStatus);
            const int plu = towary.GetInt(i, colPlu);
            if (towary.GetInt(i, colTrOk) == 0 || towary.GetInt(i, colAddRec) != 0 || plu == 0 ||
                orgStatus < stDod || orgStatus > stUsu)
                continue;
            pending += "PLU;";
            AppendInt(pending, plu);
            pending += ';';
            AppendInt(pending, towary.GetInt(i, colKoldod));
            pending += ';';
            pending += towary.TextView(i, colOrgBarcode);
            pending += ';';
            pending += HostAction(orgStatus);
            pending += "\r\n";
            ++LiczbaZapisanych;
            if (pending.size() >= kBlock) {
                file.Write(pending);
                pending.clear();
            }
        }
        if (!pending.empty()) file.Write(pending);
        pending.clear();
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
