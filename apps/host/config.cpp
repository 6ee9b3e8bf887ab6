#include "config.h"

#include <algorithm>
#include <filesystem>

#include "hostos.h"
#include "ini.h"
#include "textconv.h"

namespace host {
namespace {

void SplitTemplates(std::string_view list, std::vector<std::string>& out) {
    std::string word;
    for (char c : list) {
        if (c == ',' || static_cast<unsigned char>(c) <= 32) {
            if (!word.empty()) out.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) out.push_back(word);
}

}  // namespace

std::string DirectoryPath(const std::string& path) {
    std::error_code ec;
    std::string dir = std::filesystem::absolute(path.empty() ? "." : path, ec)
                          .lexically_normal()
                          .string();
    if (ec) dir = path;
    if (dir.empty() || dir.back() != PathSeparator()) dir += PathSeparator();
    return dir;
}

bool LoadSettings(const std::string& configPath, const std::vector<std::string>& sets,
                  const std::string& exchange, const std::string& lang, HostSettings& out,
                  std::string& error) {
    out = HostSettings{};
    out.exchangeDir = ".";
    if (!configPath.empty()) {
        IniFile ini;
        if (!ReadIniFile(configPath, ini, error)) return false;
        for (const auto& section : ini.sections) {
            const bool isHost = EqualsNoCase(section.name, "host");
            const bool isDriver = EqualsNoCase(section.name, "driver");
            if (!isHost && !isDriver && !section.entries.empty()) {
                error = configPath + ": line " + std::to_string(section.entries[0].line) +
                        ": settings belong in [host] or [driver]";
                return false;
            }
            for (const auto& e : section.entries) {
                if (isDriver) {
                    out.values.emplace_back(e.key, e.value);
                } else if (EqualsNoCase(e.key, "exchange")) {
                    out.exchangeDir = e.value;
                } else if (EqualsNoCase(e.key, "templates") || EqualsNoCase(e.key, "template")) {
                    SplitTemplates(e.value, out.templates);
                } else if (EqualsNoCase(e.key, "lang")) {
                    out.langPath = e.value;
                } else {
                    error = configPath + ": line " + std::to_string(e.line) +
                            ": unknown host setting '" + e.key + "'";
                    return false;
                }
            }
        }
    }
    for (const auto& set : sets) {
        const size_t eq = set.find('=');
        if (eq == std::string::npos || Trim(std::string_view(set).substr(0, eq)).empty()) {
            error = "--set expects NAME=VALUE, got '" + set + "'";
            return false;
        }
        out.values.emplace_back(std::string(Trim(std::string_view(set).substr(0, eq))),
                                set.substr(eq + 1));
    }
    if (!exchange.empty()) out.exchangeDir = exchange;
    if (!lang.empty()) out.langPath = lang;
    return true;
}

bool ResolveParameters(const std::vector<ParameterDef>& catalogue,
                       const std::vector<std::pair<std::string, std::string>>& values,
                       std::map<std::string, std::string>& out, std::string& error) {
    out.clear();
    for (const auto& p : catalogue) out[p.name] = p.defaultValue;
    for (const auto& [name, utf8] : values) {
        const ParameterDef* def = nullptr;
        for (const auto& p : catalogue)
            if (EqualsNoCase(p.name, name)) def = &p;
        if (!def) {
            error = "unknown driver parameter '" + name + "'";
            return false;
        }
        std::string value = Utf8ToCp1250(utf8);
        // A choice named by one of its list texts (numbers like "9600" included) is stored as
        // the text's position; anything else is passed on as written.
        if (def->type == 7) {
            for (const auto* texts : {&def->listTexts, &def->translatedListTexts}) {
                const auto it = std::find_if(texts->begin(), texts->end(), [&](const auto& t) {
                    return EqualsNoCase(Trim(t), Trim(value));
                });
                if (it != texts->end()) {
                    value = std::to_string(it - texts->begin());
                    break;
                }
            }
        }
        if (def->type == 6 && !Trim(value).empty()) value = Utf8ToCp1250(DirectoryPath(utf8));
        out[def->name] = value;
    }
    return true;
}

}  // namespace host
