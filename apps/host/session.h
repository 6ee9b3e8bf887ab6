// The host's side of one driver registration: what its callbacks answer (parameters,
// operation data, templates, break query, save result, translations) and where the driver's
// messages go.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "deadline.h"
#include "driver.h"
#include "translations.h"
#include "window.h"

namespace host {

struct SessionData {
    std::map<std::string, std::string> parameters;  // name -> Windows-1250 value
    std::vector<std::string> templates;             // Windows-1250 weighted-barcode templates
    std::string exchangeDir;                        // Windows-1250, ends with the separator
    const Translations* translations = nullptr;     // null: the driver's own Polish texts
    bool refuseSave = false;                        // answer the save-result request with 0
    const Deadline* deadline = nullptr;             // null: no time limit
};

// What the callbacks saw during the last operation.
struct SessionLog {
    int saveRequests = 0;
    int lastSaveAnswer = 0;
    int breakQueries = 0;
    bool breakAnswered = false;  // the break query answered stop at least once
    bool timedOut = false;       // stop was answered because the time limit passed
    std::string waitingFor;      // UTF-8: the window's last line when the time ran out
};

class Session {
public:
    // Registers a library object with every callback; only one session exists at a time.
    Session(const DriverApi& api, SessionData data, OperationWindow* window);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool Registered() const { return lib_ != nullptr; }
    HTARGODLLLIB Handle() const { return lib_; }
    const SessionData& Data() const { return data_; }
    SessionLog& Log() { return log_; }
    OperationWindow* Window() const { return window_; }

    // A fresh operation context for the next object call.
    int NextOperationContext() { return ++opContext_; }

    // The session that the callbacks serve.
    static Session* Current();

private:
    const DriverApi& api_;
    SessionData data_;
    OperationWindow* window_;
    SessionLog log_;
    HTARGODLLLIB lib_ = nullptr;
    int opContext_ = 0;
};

// The host context value handed to the driver at registration.
constexpr int kHostContext = 0x5A17;

}  // namespace host
