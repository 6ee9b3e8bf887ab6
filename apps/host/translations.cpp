#include "translations.h"

#include <algorithm>
#include <cstring>

#include "ini.h"
#include "textconv.h"

namespace host {

bool Translations::Load(const std::string& path, std::string& error) {
    IniFile ini;
    if (!ReadIniFile(path, ini, error)) return false;
    texts_.clear();
    for (const auto& section : ini.sections) {
        if (section.name.empty() && !section.entries.empty()) {
            error = path + ": line " + std::to_string(section.entries.front().line) +
                    ": text outside a [module] section";
            return false;
        }
        for (const auto& e : section.entries) texts_[{section.name, e.key}] = e.value;
    }
    return true;
}

const std::string* Translations::Find(const std::string& module, const std::string& key) const {
    const auto it = texts_.find({module, key});
    return it == texts_.end() ? nullptr : &it->second;
}

bool Translations::Lookup(const char* module, const char* key, char* buffer, int size) const {
    if (!module || !key || !buffer || size < 1) return false;
    const std::string* text = Find(module, key);
    if (!text) return false;
    const std::string bytes = Utf8ToCp1250(*text);
    const size_t n = std::min(bytes.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, bytes.data(), n);
    buffer[n] = '\0';
    return true;
}

}  // namespace host
