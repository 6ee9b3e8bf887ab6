// The library objects the driver handed to the host. A handle becomes an object only through
// this registry, so a garbage, stale or doubly released handle finds nothing instead of being
// dereferenced. A library released while one of its calls runs (the host releases it from
// inside a callback) stays alive until that call ends and is destroyed then.
#pragma once

class TKSLibrary;

namespace live_libraries {

// Makes `library` (owned by the registry from now on) a live handle.
void Add(TKSLibrary* library);

// Withdraws a live handle: later calls with it find nothing. The object is destroyed now, or
// when the last call running on it ends. An unknown or already released handle is ignored.
void Release(const void* handle) noexcept;

// One exported call on a library: the object stays alive while the Use lasts.
class Use {
public:
    explicit Use(const void* handle) noexcept;
    ~Use();
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    // The live library the handle names, or null for an unknown or released handle.
    TKSLibrary* Library() const { return library_; }

private:
    TKSLibrary* library_ = nullptr;
};

}  // namespace live_libraries
