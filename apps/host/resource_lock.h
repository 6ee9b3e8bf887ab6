// The host's own turn-taking on a shared resource, as the back office does: operations whose
// driver names the same shared resource (a DibalCom directory, a port) run one at a time, across
// every skalnix-host process of the machine.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace host {

class ResourceLock {
public:
    ResourceLock() = default;
    ~ResourceLock();
    ResourceLock(const ResourceLock&) = delete;
    ResourceLock& operator=(const ResourceLock&) = delete;

    // Takes the lock of `name` (nothing for an empty name). While another process holds it,
    // calls `waiting` once and then polls every `poll` until `giveUp` answers true: then
    // false. The lock lasts as long as this object.
    bool Take(const std::string& name, const std::function<void()>& waiting,
              const std::function<bool()>& giveUp,
              std::chrono::milliseconds poll = std::chrono::milliseconds(500));

    // The name that stands for the resource: an existing directory's absolute, normalised path
    // (case-folded on Windows), so that its every spelling is one resource; else `name`.
    static std::string CanonicalName(const std::string& name);
    // The lock file of a name (of its canonical form), in the system's temporary directory.
    static std::string PathFor(const std::string& name);

private:
    void* handle_ = nullptr;  // POSIX: the file descriptor + 1; Windows: the file handle
};

}  // namespace host
