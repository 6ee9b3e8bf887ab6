// SkalnixAction: construction, dispatch of the host's operation codes and the export flow.
#include "dibal/skalnixaction.h"

#include <algorithm>
#include <memory>

#include "dibal/catalogue.h"
#include "dibal/file_warnings.h"
#include "exportdata/ksexpbuf.h"
#include "platform/platform.h"
#include "runtime/dttools.h"
#include "runtime/exceptions.h"

namespace {

// The goods columns the export's steps read (preparation, record report, result file, flags);
// the buffer leaves the others empty. Only the description lines of series L, H and H2 carry
// opis1, opis3 and opis4. A step that comes to read another column adds it here.
KSTowColumns ExportColumns(const std::string& series) {
    KSTowColumns columns;
    for (const int column :
         {colPlu, colKoldod, colKod, colCena, colCenaHurt, colCenaNoc, colCenaDod, colNazwa,
          colPrecyzja, colStatus, colNrBuf, colPluRec, colTrOk, colFlag, colAddRec, colOrgBarcode,
          colOrgStatus, colOpis2, colTerminW})
        columns.set(static_cast<std::size_t>(column));
    if (series != "A" && series != "K" && series != "M")
        for (const int column : {colOpis1, colOpis3, colOpis4})
            columns.set(static_cast<std::size_t>(column));
    return columns;
}

}  // namespace

SkalnixAction::SkalnixAction(TKSLibrary* library, int opContext) : KSAction(library, opContext) {}

SkalnixAction::~SkalnixAction() = default;

// Operations on the same DibalCom installation share its directory, as stored by the host.
// (Spellings of one directory differ here; the lock in the directory itself serialises them.)
std::string SkalnixAction::GetSharedResourceName() { return ParamAsString("DibalKatalogDrv"); }

std::string SkalnixAction::DeviceProperty(int number) { return number == 1104 ? "-1" : ""; }

void SkalnixAction::Operation(HTARGODLLSRODOWISKO& env, int code, int flags) {
    switch (code) {
    case TARGO_OP_CONNECTION_TEST:
        CheckConnection();
        break;
    case TARGO_OP_EXPORT:
        Eksport();
        break;
    case TARGO_OP_AUTO_EXPORT:
        AutoExport = true;
        Eksport();
        break;
    case TARGO_OP_ADDITIONAL_FUNCTION:
        RunAdditionalFunction(flags);
        break;
    default:
        KSAction::Operation(env, code, flags);
        return;
    }
    env.ResultCode = 0;
}

void SkalnixAction::CheckConnection() {
    StartStage(DriverText("SkalnixATestConnMsgAdd", "Waga nie obsługuje testu połączenia!"),
               stageDone, 100);
}

void SkalnixAction::RunAdditionalFunction(int number) {
    if (number != 0)
        throw Exception(DriverText("SkalnixADodFuncEExceptio", "Błędny numer funkcji dodatkowej"));
    ReadSettings();
    if (platform::env().DirectoryExists(Settings.DriverDir)) LockDriverDir();
    WriteDibalComConfig();
    ReleaseDriverDir();
}

void SkalnixAction::LockDriverDir() {
    if (driverDirLock_) return;
    const std::string path = DriverFile("dibal.lck");
    for (int seconds = 1;; ++seconds) {
        std::unique_ptr<platform::FileLock> lock;
        const platform::Status status = platform::env().TryLockFile(path, lock);
        if (!status)
            throw Exception(DriverText("SkalnixALockExceptio",
                                       "Nie można zablokować katalogu DibalCom: ") +
                            path);
        if (lock) {
            driverDirLock_ = std::move(lock);
            if (seconds > 1) SetStageType(stageDone);
            return;
        }
        // Another export or configuration works with the same DibalCom: its files would be
        // overwritten halfway.
        if (seconds == 1)
            StartStage(DriverText("SkalnixALockWaitMsgAdd",
                                  " -czekam na zakończenie innej operacji w katalogu DibalCom"),
                       stageCounter, 100);
        CheckBreak();
        if (BreakRequested())
            throw Exception(
                DriverText("SkalnixAExecuteExceptio", "Wyjście na życzenie użytkownika."));
        SetProgress(seconds);
        platform::env().SleepMs(1000);
    }
}

void SkalnixAction::ReleaseDriverDir() { driverDirLock_.reset(); }

void SkalnixAction::EnsureDriverDir() {
    if (platform::env().DirectoryExists(Settings.DriverDir))
        return;
    if (!platform::env().CreateDirectories(Settings.DriverDir) || !platform::env().DirectoryExists(Settings.DriverDir))
        throw Exception(DriverText("SkalnixAPrepareDExceptio", "Błąd utworzenia katalogu eksportu"));
}

// The export, step by step: the settings; DibalCom's options; kasa.exp into the buffer; the
// plan of records; the count to send; dibal.exp to DibalCom and its marks back into tr_ok;
// wynik.exp and the host's database.
void SkalnixAction::Eksport() {
    // The buffer lives for this export only; ExpBuf points at it meanwhile.
    std::unique_ptr<KSExpBuf> buffer;
    try {
        ReadSettings();
        // Two exports to one DibalCom would write into each other's files: one at a time.
        if (platform::env().DirectoryExists(Settings.DriverDir)) LockDriverDir();
        if (Settings.ConnectionType != 0)
            WriteDibalComConfig();

        buffer = std::make_unique<KSExpBuf>(this);
        buffer->KeptColumns = ExportColumns(Settings.Series);
        ExpBuf = buffer.get();
        EnsureDriverDir();
        LockDriverDir();
        ExpBuf->ReadFromFile(ExportFileName(), false, -1);

        WarnAboutTheFile();
        PrepareGoods();
        ReportGoodsToSend();

        const bool checkedByDibalCom = Plan.SentCounter > 0 && Settings.ConnectionType != 0;
        if (Plan.SentCounter > 0)
            SendGoods();  // with DibalCom, CheckResults applies its marks
        if (!checkedByDibalCom)
            dibal::ApplyResults(*ExpBuf, Plan, nullptr);

        ExpBuf->ZapiszWynikEksp(ResultFileName());
        SaveResultToDatabase();
        // An empty or unreadable file reads as no goods: the user must not take it for a
        // successful export of the goods list.
        if (ExpBuf->LiczbaTowarow == 0)
            Message(msgWarning, DriverText("SkalnixABrakTowarow",
                                           "Plik eksportowy nie zawiera żadnego towaru"));
    } catch (...) {
        // The original failure is what the host must see; a failing report must not hide it.
        try {
            LogRejected();
        } catch (...) {
        }
        Plan.DiscardRecordFile();
        ExpBuf = nullptr;
        buffer.reset();
        ReleaseDriverDir();
        throw;
    }
    ExpBuf = nullptr;
    buffer.reset();
    ReleaseDriverDir();
}

void SkalnixAction::WarnAboutTheFile() {
    // Only the names are looked at: a whole record read per goods would cost as much as the
    // preparation.
    for (int i = 0; i < ExpBuf->LiczbaTowarow; ++i) {
        if (dibal::LooksLikeUtf8(ExpBuf->towary.TextView(i, colNazwa))) {
            Message(msgWarning, DriverText("SkalnixAUtf8Nazwy",
                                           "Nazwy towarów zapisano w UTF-8 zamiast Windows-1250: "
                                           "na wadze będą zniekształcone"));
            return;
        }
    }
}

void SkalnixAction::ReportGoodsToSend() {
    StartStage(DriverText("SkalnixAEksportMsgAdd", " - do wysłania"), stageCounter, 100);
    SetProgress(Plan.SentCounter);
    if (Settings.Capacity < Plan.SentCounter)
        Message(msgError, DriverText("AEksportDodajKomTargoDLL_Z",
                                     "Ilość towarów do wysłania przekracza zadeklarowaną "
                                     "pojemność wagi!"));
    ReportRejectedGoods();
    LogRejected();
}

// Goods kept back by the preparation are shown with their reasons, so that nobody has to guess
// why a goods is missing from the scale: a stage line with the count, the first lines in the
// window, and the whole list in the log file.
void SkalnixAction::ReportRejectedGoods() {
    if (RejectedList.empty())
        return;
    constexpr std::size_t kShown = 10;
    StartStage(DriverText("SkalnixAOdrzuconeMsgAdd", " - towary pominięte"), stageCounter, 100);
    SetProgress(static_cast<int>(RejectedList.size()));
    const std::size_t shown = std::min(RejectedList.size(), kShown);
    for (std::size_t i = 0; i < shown; ++i)
        Message(msgWarning, "..." + RejectedList[i]);
    if (RejectedList.size() > kShown)
        Message(msgWarning, DriverText("SkalnixAOdrzuconeDalej", "i tak dalej..."));
    AppendToLog(DriverText("SkalnixAOdrzuconeheader", "Eksport danych z dnia ") +
                DefaultDateTimeText(TdtTools::Now().Value()) +
                DriverText("OdrzuconeheaderdtDateTime", "\n\rTowary pominięte:"));
}
