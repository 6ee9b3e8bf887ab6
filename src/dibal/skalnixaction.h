// SkalnixAction: the scale driver's operation - the export of goods to DIBAL scales through
// DibalCom. Its steps live in one file each: settings, names, records, dibalcom, results and
// the action itself.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dibal/export_plan.h"
#include "dibal/scale_settings.h"
#include "plugin/ksaction.h"

class TMFile;

struct KSTowRec;
namespace platform {
class FileLock;
class StartedProgram;
}

class SkalnixAction : public KSAction {
public:
    SkalnixAction(TKSLibrary* library, int opContext);
    ~SkalnixAction() override;

    // Overrides of the operation base.
    std::string GetSharedResourceName() override;
    void Operation(HTARGODLLSRODOWISKO& env, int code, int flags) override;
    std::string DeviceProperty(int number) override;

    // The export and the additional function (action.cpp).
    void CheckConnection();
    void Eksport();
    void ReportGoodsToSend();  // the count to send, the capacity warning, the kept-back goods
    void ReportRejectedGoods();
    void WarnAboutTheFile();  // goods names written in UTF-8  // the goods the preparation kept back, with their reasons
    void RunAdditionalFunction(int number);
    void EnsureDriverDir();
    // Ends a wait for a command that no DibalCom can take any more: the one this export started
    // has ended and, a few polls on, no other took the command either.
    void CheckDibalComAlive(int& pollsSinceEnd);
    // Waits, as a stage the user can stop, until no other operation of any process works in
    // DibalCom's directory, and holds it until ReleaseDriverDir or the end of the operation.
    void LockDriverDir();
    void ReleaseDriverDir();

    // Settings (settings.cpp).
    void ReadSettings();

    // Names and records (names.cpp, records.cpp).
    std::string FormatujNazwe(const KSTowRec& goods);
    // The same into `name`, whose room is reused from goods to goods.
    void FormatName(const KSTowRec& goods, std::string& name);
    bool FormatPluCode(const KSTowRec& goods, std::string& code);
    // True for a weighted code of this scale while the host serves no weighted-code template at
    // all: its code cannot be read, and the goods waits for the configuration.
    bool LacksCodeTemplates(const KSTowRec& goods) const;
    // Key, label, picture and section from opis2 in one reading; one at a time below.
    std::array<int, 4> Opis2Numbers(const KSTowRec& goods);
    int KeyNumber(const KSTowRec& goods);
    int LabelNumber(const KSTowRec& goods);
    int PictureNumber(const KSTowRec& goods);
    int SectionNumber(const KSTowRec& goods);
    std::string BuildL4Codes(const KSTowRec& goods, const std::string& pluCode);
    std::string BuildL4Text(const KSTowRec& goods, const std::string& pluCode);
    std::string BuildH4Codes(const KSTowRec& goods, const std::string& pluCode);
    std::string BuildH4Text(const KSTowRec& goods, const std::string& pluCode);
    // The goods' description block as the record lines take it (L4 for `recordL`, H4 otherwise;
    // the stored-text codes first, else the text) appended to `out`; false when it has none.
    bool AppendDescription(const KSTowRec& goods, const std::string& pluCode, bool recordL,
                           std::string& out);
    void PrepareGoods();

    // DibalCom (dibalcom.cpp).
    void WriteDibalComConfig();
    void SwitchMuxChannel(const std::string& portName, int channel);
    void SendGoods();
    void WriteRecordFile();
    void RemoveStaleCommand();
    void StartDibalCom();
    // The caption of a stage that waits for DibalCom to take a command.
    std::string CommandStage(const std::string& caption) const;
    void Execute(const std::string& command);
    bool WaitForFile(const std::string& path, bool untilGone);
    void WaitForTransfer();
    void RenFile(const std::string& from, const std::string& to);
    // Puts `text` at `target` in one step: written under a temporary name of this process, then
    // moved over the target. A failure leaves the target as it was and no temporary file.
    void ReplaceWithText(const std::string& text, const std::string& target);
    // The same, with the content written by `write` into the open temporary file.
    void ReplaceWith(const std::string& target, const std::function<void(TMFile&)>& write);
    std::string DriverFile(const char* name) const;  // DriverDir + name

    // Result check (results.cpp).
    void CheckResults();

    dibal::ScaleSettings Settings;  // read at the start of the export
    dibal::ExportPlan Plan;          // made by PrepareGoods

private:
    // The G and S letters of the weighted-code template FormatPluCode used last.
    struct CodeTemplateDigits {
        std::string text;
        std::size_t groupDigits = 0, articleDigits = 0, groupPos = std::string::npos;
    };
    CodeTemplateDigits codeTemplate_;
    std::unique_ptr<platform::FileLock> driverDirLock_;
    std::unique_ptr<platform::StartedProgram> dibalCom_;  // the DibalCom this export started
    std::string pendingCommand_;                           // the command Execute waits on
};
