// Which files an operation wrote: the regular files of a few directories, compared before and
// after it ran.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace host {

class FileSnapshot {
public:
    // Notes the size and time of every regular file directly in each directory (a directory
    // that does not exist yet holds nothing).
    explicit FileSnapshot(const std::vector<std::string>& directories);

    // The files that are new or changed since the snapshot, sorted.
    std::vector<std::string> Written() const;

private:
    struct Stamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time{};
        bool operator==(const Stamp&) const = default;
    };
    static std::map<std::string, Stamp> Take(const std::vector<std::string>& directories);

    std::vector<std::string> directories_;
    std::map<std::string, Stamp> before_;
};

}  // namespace host
