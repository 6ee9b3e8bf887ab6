// TKSLibrary: one object per registration of the driver by the host. Holds the host's context,
// the callback table and the language service, and creates the operation objects.
#pragma once

#include <memory>
#include <string>

#include "runtime/lgtools.h"
#include "targodll.h"

class TKSActionBase;

class TKSLibrary {
public:
    explicit TKSLibrary(int hostContext);
    virtual ~TKSLibrary();
    TKSLibrary(const TKSLibrary&) = delete;
    TKSLibrary& operator=(const TKSLibrary&) = delete;

    // Slot 0: a new operation object for one host call (the caller owns it).
    virtual TKSActionBase* CreateOperation(int opContext) = 0;
    // Slot 1: the additional-function window; the base answers 0 and touches nothing.
    virtual int ShowWindow(TKSActionBase* operation, int index, char* buf, int* functionNumber,
                           bool flag);
    // Slot 2: raises "Niezgodny typ sesji w sterowniku" for a non-zero session handle.
    virtual void VerifySessionType(int sessionHandle, const std::string& sessionText);
    // Slot 3: does nothing.
    virtual void KeepSessionAlive(int* sessionHandle, std::string& sessionText, int a, bool flag);

    // Stores `function` in the slot of `type`; type 34 rebuilds the language service; other
    // types are ignored.
    void RegisterCallback(void* function, int type);
    // The registered function of an accepted type, or null.
    void* Callback(int type) const;

    int HostContext() const { return hostContext_; }
    const TMLgExtTools* LgTools() const { return lgTools_.get(); }

    // The driver's current library: the last one registered, cleared when it is destroyed.
    static TKSLibrary* Current();

private:
    static int SlotOfType(int type);  // -1 for a type that is not accepted

    int hostContext_;
    void* slots_[21] = {};
    std::unique_ptr<TMLgExtTools> lgTools_;
};
