// The registry of live library handles: one mutex-guarded map from handle to its object, the
// number of exported calls running on it and whether the host has released it.
#include "driver/live_libraries.h"

#include <map>
#include <memory>
#include <mutex>
#include <new>

#include "plugin/kslibrary.h"

namespace live_libraries {
namespace {

struct Entry {
    std::unique_ptr<TKSLibrary> library;
    int running = 0;        // exported calls on it that have not returned yet
    bool released = false;  // released by the host while a call was running
};

struct Registry {
    std::mutex mutex;
    std::map<const void*, Entry> entries;
};

// Never destroyed, so a host may still call in while the process ends; kept in the library's
// own static storage rather than on the heap, so an unloaded library leaves no block behind.
Registry& TheRegistry() {
    alignas(Registry) static unsigned char storage[sizeof(Registry)];
    static Registry* registry = new (storage) Registry;
    return *registry;
}

}  // namespace

void Add(TKSLibrary* library) {
    std::unique_ptr<TKSLibrary> owned(library);
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.entries[library].library = std::move(owned);
}

void Release(const void* handle) noexcept {
    std::unique_ptr<TKSLibrary> doomed;  // destroyed after the lock is let go
    try {
        Registry& r = TheRegistry();
        std::lock_guard<std::mutex> lock(r.mutex);
        auto it = r.entries.find(handle);
        if (it == r.entries.end() || it->second.released) return;
        if (it->second.running > 0) {
            it->second.released = true;
            return;
        }
        doomed = std::move(it->second.library);
        r.entries.erase(it);
    } catch (...) {
    }
    try {
        doomed.reset();
    } catch (...) {
    }
}

Use::Use(const void* handle) noexcept {
    try {
        Registry& r = TheRegistry();
        std::lock_guard<std::mutex> lock(r.mutex);
        auto it = r.entries.find(handle);
        if (it == r.entries.end() || it->second.released) return;
        ++it->second.running;
        library_ = it->second.library.get();
    } catch (...) {
        library_ = nullptr;
    }
}

Use::~Use() {
    if (library_ == nullptr) return;
    std::unique_ptr<TKSLibrary> doomed;
    try {
        Registry& r = TheRegistry();
        std::lock_guard<std::mutex> lock(r.mutex);
        auto it = r.entries.find(library_);
        if (it == r.entries.end()) return;
        if (--it->second.running == 0 && it->second.released) {
            doomed = std::move(it->second.library);
            r.entries.erase(it);
        }
    } catch (...) {
    }
    try {
        doomed.reset();
    } catch (...) {
    }
}

}  // namespace live_libraries
