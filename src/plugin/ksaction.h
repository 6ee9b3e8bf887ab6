// KSAction: the operation for exchanges of files with the host - the exchange file names, the
// lists of rejected goods and warnings, their report and the log file.
#pragma once

#include <string>
#include <vector>

#include "plugin/ksactionbase.h"
#include "tools/ltools.h"

class KSExpBuf;

class KSAction : public TKSActionBase {
public:
    KSAction(TKSLibrary* library, int opContext);
    ~KSAction() override;

    // Slots after the base's five.
    virtual void AppendToLog(const std::string& text);
    virtual std::string LogFileName();
    virtual int AddRejected(const std::string& a, const std::string& b, int kind);

    std::string ExportFileName() const;  // ExchangeDir + "kasa.exp"
    std::string ResultFileName() const;  // ExchangeDir + "wynik.exp"
    void LogRejected();

    bool RejectLogDone = false;
    bool RejectLogEnabled = false;
    std::string RecordText;
    KSExpBuf* ExpBuf = nullptr;
    TLTools Tools;
    std::vector<std::string> WarningList;
    bool AutoExport = false;
    std::vector<std::string> RejectedList;

protected:
    // Text of `key` in module "kstools_KSAction".
    std::string ActionText(const char* key, const char* defaultUtf8) const;
};
