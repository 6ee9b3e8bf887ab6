// The translation table served to the driver through the language callback: a file of
// "[module]" sections holding "key=text" lines (UTF-8), answered in Windows-1250.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace host {

class Translations {
public:
    // Loads a translation file; false with `error` when it cannot be read or parsed.
    bool Load(const std::string& path, std::string& error);

    bool Empty() const { return texts_.empty(); }
    size_t Size() const { return texts_.size(); }

    // The UTF-8 text of (module, key), or null. Modules and keys match exactly.
    const std::string* Find(const std::string& module, const std::string& key) const;

    // Writes the Windows-1250 translation, cut to `size` - 1 bytes and terminated, into
    // `buffer`; false (buffer untouched) when there is none or the buffer cannot hold a byte.
    bool Lookup(const char* module, const char* key, char* buffer, int size) const;

private:
    std::map<std::pair<std::string, std::string>, std::string> texts_;
};

}  // namespace host
