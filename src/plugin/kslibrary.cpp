// TKSLibrary: the callback table, the language service and the driver's current library.
#include "plugin/kslibrary.h"

#include <iterator>

#include "runtime/exceptions.h"

namespace {

// The last library registered; cleared when that library is destroyed.
TKSLibrary* g_current = nullptr;

// Accepted callback types in slot order.
constexpr int kSlotTypes[] = {5, 6, 11, 12, 13, 14, 15, 32, 16, 17, 18,
                              19, 20, 21, 22, 23, 24, 25, 28, 31, 33};

}  // namespace

TKSLibrary::TKSLibrary(int hostContext) : hostContext_(hostContext) { g_current = this; }

TKSLibrary::~TKSLibrary() {
    lgTools_.reset();
    if (g_current == this) g_current = nullptr;
}

int TKSLibrary::ShowWindow(TKSActionBase*, int, char*, int*, bool) { return 0; }

void TKSLibrary::VerifySessionType(int sessionHandle, const std::string&) {
    if (sessionHandle != 0)
        throw Exception(GetString(LgTools(), "kstools_KSLib", "TKSLibraWeryfikuExceptio", 0,
                                  "Niezgodny typ sesji w sterowniku"));
}

void TKSLibrary::KeepSessionAlive(int*, std::string&, int, bool) {}

int TKSLibrary::SlotOfType(int type) {
    static_assert(std::size(kSlotTypes) == sizeof(slots_) / sizeof(slots_[0]));
    for (int i = 0; i < static_cast<int>(std::size(kSlotTypes)); ++i)
        if (kSlotTypes[i] == type) return i;
    return -1;
}

void TKSLibrary::RegisterCallback(void* function, int type) {
    if (type == TARGO_CB_LANGUAGE) {
        // A new language function replaces the whole service; a null one leaves none.
        lgTools_.reset();
        if (function != nullptr)
            lgTools_ = std::make_unique<TMLgExtTools>(
                reinterpret_cast<TargoLanguageFunction>(function));
        return;
    }
    const int slot = SlotOfType(type);
    if (slot >= 0) slots_[slot] = function;
}

void* TKSLibrary::Callback(int type) const {
    const int slot = SlotOfType(type);
    return slot >= 0 ? slots_[slot] : nullptr;
}

TKSLibrary* TKSLibrary::Current() { return g_current; }
