#include "files.h"

namespace host {

FileSnapshot::FileSnapshot(const std::vector<std::string>& directories)
    : directories_(directories), before_(Take(directories)) {}

std::map<std::string, FileSnapshot::Stamp> FileSnapshot::Take(
    const std::vector<std::string>& directories) {
    namespace fs = std::filesystem;
    std::map<std::string, Stamp> out;
    for (const auto& dir : directories) {
        std::error_code ec;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code entryError;
            if (!it->is_regular_file(entryError)) continue;
            Stamp s;
            s.size = it->file_size(entryError);
            s.time = it->last_write_time(entryError);
            out[it->path().lexically_normal().string()] = s;
        }
    }
    return out;
}

std::vector<std::string> FileSnapshot::Written() const {
    std::vector<std::string> out;
    for (const auto& [path, stamp] : Take(directories_)) {
        const auto it = before_.find(path);
        if (it == before_.end() || !(it->second == stamp)) out.push_back(path);
    }
    return out;
}

}  // namespace host
