// SkalnixAction: construction, dispatch of the host's operation codes and the export flow.
#include "dibal/skalnixaction.h"

#include <memory>

#include "dibal/catalogue.h"
#include "exportdata/ksexpbuf.h"
#include "platform/platform.h"
#include "runtime/exceptions.h"

SkalnixAction::SkalnixAction(TKSLibrary* library, int opContext) : KSAction(library, opContext) {}

SkalnixAction::~SkalnixAction() = default;

// Operations on the same DibalCom installation share its directory, as stored by the host.
std::string SkalnixAction::GetSharedResourceName() { return ParamAsString("DibalKatalogDrv"); }

std::string SkalnixAction::DeviceProperty(int number) { return number == 1104 ? "-1" : ""; }

void SkalnixAction::Operation(HTARGODLLSRODOWISKO& env, int code, int flags) {
    switch (code) {
    case -1:
        CheckConnection();
        break;
    case -2:
        Eksport();
        break;
    case -5:
        AutoExport = true;
        Eksport();
        break;
    case -8:
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
    WriteDibalComConfig();
}

void SkalnixAction::EnsureDriverDir() {
    if (platform::env().DirectoryExists(DriverDir))
        return;
    if (!platform::env().CreateDirectories(DriverDir) || !platform::env().DirectoryExists(DriverDir))
        throw Exception(DriverText("SkalnixAPrepareDExceptio", "Błąd utworzenia katalogu eksportu"));
}

void SkalnixAction::Eksport() {
    // The buffer lives for this export only; ExpBuf points at it meanwhile.
    std::unique_ptr<KSExpBuf> buffer;
    try {
        ReadSettings();
        if (ConnectionType != 0)
            WriteDibalComConfig();

        buffer = std::make_unique<KSExpBuf>(this);
        ExpBuf = buffer.get();
        RecordText.clear();
        EnsureDriverDir();
        ExpBuf->ReadFromFile(ExportFileName(), false, -1);

        SentCounter = 0;
        ProgressUnits = 0;
        PrepareGoods();

        StartStage(DriverText("SkalnixAEksportMsgAdd", " - do wysłania"), stageCounter, 100);
        SetProgress(SentCounter);
        if (ParamAsInt("Pojemnosc") < SentCounter)
            Message(msgError, DriverText("AEksportDodajKomTargoDLL_Z",
                                         "Ilość towarów do wysłania przekracza zadeklarowaną "
                                         "pojemność wagi!"));
        LogRejected();

        if (SentCounter > 0)
            SendGoods();

        ExpBuf->ZapiszWynikEksp(ResultFileName());
        SaveResultToDatabase();
    } catch (...) {
        // The original failure is what the host must see; a failing report must not hide it.
        try {
            LogRejected();
        } catch (...) {
        }
        ExpBuf = nullptr;
        buffer.reset();
        throw;
    }
    ExpBuf = nullptr;
    buffer.reset();
}
