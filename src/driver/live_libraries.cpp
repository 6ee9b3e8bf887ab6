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

// A released library nothing runs on any more leaves the registry; it is destroyed by the
// caller once the lock is let go.
std::unique_ptr<TKSLibrary> TakeOutIfIdle(Registry& r, std::map<const void*, Entry>::iterator it) {
    if (!it->second.released || it->second.running > 0) return nullptr;
    std::unique_ptr<TKSLibrary> doomed = std::move(it->second.library);
    r.entries.erase(it);
    return doomed;
}

// Nothing escapes the exported functions, not even from a library's destructor.
void DestroyQuietly(std::unique_ptr<TKSLibrary>& doomed) noexcept {
    try {
        doomed.reset();
    } catch (...) {
    }
}

}  // namespace

void Add(TKSLibrary* library) {
    std::unique_ptr<TKSLibrary> owned(library);
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.entries[library].library = std::move(owned);
}

void Release(const void* handle) noexcept {
    std::unique_ptr<TKSLibrary> doomed;
    try {
        Registry& r = TheRegistry();
        std::lock_guard<std::mutex> lock(r.mutex);
        auto it = r.entries.find(handle);
        if (it == r.entries.end() || it->second.released) return;
        it->second.released = true;
        doomed = TakeOutIfIdle(r, it);
    } catch (...) {
    }
    DestroyQuietly(doomed);
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
        --it->second.running;
        doomed = TakeOutIfIdle(r, it);
    } catch (...) {
    }
    DestroyQuietly(doomed);
}

}  // namespace live_libraries
