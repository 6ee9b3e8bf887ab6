// KSAction: exchange file names, the report of rejected goods and warnings, and the log file.
#include "plugin/ksaction.h"

#include <algorithm>

#include "runtime/dttools.h"
#include "runtime/lgtools.h"
#include "runtime/mfile.h"

namespace {

// Lines of a list shown in the window before the "and so on" line.
constexpr std::size_t kShownLines = 10;

}  // namespace

KSAction::KSAction(TKSLibrary* library, int opContext) : TKSActionBase(library, opContext) {}

KSAction::~KSAction() = default;

std::string KSAction::ActionText(const char* key, const char* defaultUtf8) const {
    return GetString(GetLgTools(), "kstools_KSAction", key, 0, defaultUtf8);
}

std::string KSAction::ExportFileName() const { return ExchangeDir + "kasa.exp"; }

std::string KSAction::ResultFileName() const { return ExchangeDir + "wynik.exp"; }

std::string KSAction::LogFileName() { return ExchangeDir + "kasa.log"; }

int KSAction::AddRejected(const std::string& a, const std::string& b, int kind) {
    RejectedList.push_back(b + " (" + a + ")");
    switch (kind & 0xF) {
        case 0:
        case 1: return 1;
        case 2: return 5;
        case 3:
        case 5:
        case 6: return 2;
        case 4: return 7;
        default: return 0;
    }
}

void KSAction::LogRejected() {
    if (RejectLogDone || !RejectLogEnabled || (RejectedList.empty() && WarningList.empty())) {
        RejectLogDone = true;
        return;
    }
    // One counter stage per list, its first lines, and a closing line when there are more.
    auto report = [this](const std::vector<std::string>& list, const char* stageKey,
                         const char* stageText, int kind, const char* moreKey) {
        if (list.empty()) return;
        StartStage(ActionText(stageKey, stageText), stageCounter, 100);
        SetProgress(static_cast<int>(list.size()));
        const std::size_t shown = std::min(list.size(), kShownLines);
        for (std::size_t i = 0; i < shown; ++i) Message(kind, "..." + list[i]);
        if (list.size() > kShownLines) Message(kind, ActionText(moreKey, "i tak dalej..."));
    };
    report(RejectedList, "KSActionLogujOdrMsgAdd", " - towary odrzucone", msgError,
           "LogujOdrDodajKomAnsiStri");
    report(WarningList, "KSActionLogujOdrMsgAdd_00001", " - ostrzeżenia", msgWarning,
           "LogujOdrDodajKomAnsiStri_00001");

    AppendToLog(ActionText("KSActionLogujOdrheader", "Eksport danych z dnia ") +
                DefaultDateTimeText(TdtTools::Now().Value()) +
                ActionText("LogujOdrheaderdtDateTime", "\n\rTowary odrzucone i ostrzeżenia:"));
    RejectLogDone = true;
}

void KSAction::AppendToLog(const std::string& text) {
    TMFile file;
    try {
        file.SetPath(LogFileName());
        file.SetReadOnly(false);
        file.Open();
        file.SetPointer(file.GetSize());
        file.WriteLine(std::string(80, '-'));
        file.WriteLine(text);
        std::string rejected;
        for (const std::string& line : RejectedList) rejected += line + "\r\n";
        file.WriteLine(rejected);
        file.WriteLine(std::string());
        file.Close();
        RejectedList.clear();
    } catch (...) {
        // The log is a convenience: a failure to write it must not end the export.
        try {
            file.Close();
        } catch (...) {
        }
    }
}
