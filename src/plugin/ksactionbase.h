// TKSActionBase: the framework's operation object, one per host call. Carries the contexts and
// the host's operation data, and offers the toolkit every operation uses: parameters, break
// query, messages and progress stages, the final error report, saving the export result.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "targodll.h"
#include "tools/progress.h"

class Exception;
class TKSLibrary;
class TMLgExtTools;

enum TMsgKind { msgInfo = TARGO_MSG_INFO, msgWarning = TARGO_MSG_WARNING, msgError = TARGO_MSG_ERROR };
enum TStageType {
    stageDone = TARGO_STAGE_DONE,
    stageError = TARGO_STAGE_ERROR,
    stageWarning = TARGO_STAGE_WARNING,
    stagePercent = TARGO_STAGE_PERCENT,
    stageCounter = TARGO_STAGE_COUNTER,
    stagePlain = TARGO_STAGE_PLAIN
};

class TKSActionBase : public TLProgress {
public:
    // Sets the start values, then asks the host once for the operation data (cbOperationInfo).
    TKSActionBase(TKSLibrary* library, int opContext);
    ~TKSActionBase() override;
    TKSActionBase(const TKSActionBase&) = delete;
    TKSActionBase& operator=(const TKSActionBase&) = delete;

    // Virtual operations, in slot order.
    virtual std::string GetSharedResourceName() = 0;
    virtual bool HowToFindReceipt(int a, int b, int c);
    virtual void Operation(HTARGODLLSRODOWISKO& env, int code, int flags);
    virtual std::string DeviceProperty(int number);
    virtual int Unnamed();  // answers 10; nothing calls it

    // Toolkit.
    const TMLgExtTools* GetLgTools() const override;
    const std::vector<std::string>& HostList();
    bool BreakRequested();
    void CheckBreak();  // throws EAbort when the host asks to stop
    std::string ParamAsString(const std::string& name);
    int ParamAsInt(const std::string& name);
    std::string ParamAsDir(const std::string& name);
    void Message(int kind, const std::string& text);
    std::string ReplaceMessage(int kind, const std::string& text);
    void SaveResultToDatabase();
    void StartStage(const std::string& text, int type, int max) override;
    void StartStage(const char* text, int type, int max) {
        StartStage(std::string(text != nullptr ? text : ""), type, max);
    }
    void SetProgress(int position) override;
    void SetStageType(int type) override;
    // Posts the failure report of an operation; `error` null means an unknown (non-standard)
    // exception. Never throws.
    void FinalError(const std::string& operationName, const std::exception* error) noexcept;
    void SetOperationFlags(int flags) { OperationFlags = flags; }

    TKSLibrary* Library;
    int OperationContext;
    int HostValue1 = -1;
    int HostValue2 = 0;
    std::string HostText1;
    std::string HostText2;
    std::string ExchangeDir;
    std::string StageCaption;
    int StageType = stagePlain;
    int StageMax = 100;
    int StagePos = 0;
    int OperationFlags = 0;
    std::string LastMessage;

protected:
    // Text of `key` in module "kstools_KSLib".
    std::string Text(const char* key, const char* defaultUtf8) const;
    // The library's registered function of callback `type`, or null.
    void* Callback(int type) const;

private:
    // Sends a replacement of the last line to the host (cbReplaceMessage) without building the
    // previous text: progress lines are sent once a goods.
    void SendReplacement(int kind, const std::string& text);

    std::unique_ptr<std::vector<std::string>> hostList_;
    std::string progressLine_, outgoing_;  // kept between progress updates
    // What progressLine_ shows: a percentage stays the same over many positions.
    std::string progressCaption_;
    std::int64_t progressValue_ = 0;
    int progressType_ = -1;
};
