#include "session.h"

#include "callbacks.h"

namespace host {
namespace {
Session* g_current = nullptr;
}

Session* Session::Current() { return g_current; }

Session::Session(const DriverApi& api, SessionData data, OperationWindow* window)
    : api_(api), data_(std::move(data)), window_(window) {
    g_current = this;
    lib_ = api_.RejestrujBiblioteke(kHostContext, 0, 0, nullptr);
    if (!lib_) return;
    const struct {
        void* function;
        int type;
    } callbacks[] = {
        {reinterpret_cast<void*>(&OnBreakQuery), TARGO_CB_BREAK_QUERY},
        {reinterpret_cast<void*>(&OnParameterValue), TARGO_CB_PARAMETER},
        {reinterpret_cast<void*>(&OnOperationInfo), TARGO_CB_OPERATION_INFO},
        {reinterpret_cast<void*>(&OnAddMessage), TARGO_CB_ADD_MESSAGE},
        {reinterpret_cast<void*>(&OnReplaceMessage), TARGO_CB_REPLACE_MESSAGE},
        {reinterpret_cast<void*>(&OnListItem), TARGO_CB_LIST_ITEM},
        {reinterpret_cast<void*>(&OnSaveResult), TARGO_CB_SAVE_RESULT},
    };
    for (const auto& cb : callbacks) api_.RejestrujCallback(lib_, cb.function, cb.type);
    if (data_.translations)
        api_.RejestrujCallback(lib_, reinterpret_cast<void*>(&OnLanguage), TARGO_CB_LANGUAGE);
}

Session::~Session() {
    if (lib_) api_.ZwolnijBiblioteke(lib_);
    if (g_current == this) g_current = nullptr;
}

}  // namespace host
