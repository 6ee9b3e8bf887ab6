#include "config.h"

#include <filesystem>

#include "hostos.h"
#include "ini.h"

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
                    out.values.push_back(
                        {e.key, e.value, configPath + ":" + std::to_string(e.line)});
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
        out.values.push_back({std::string(Trim(std::string_view(set).substr(0, eq))),
                              set.substr(eq + 1), "--set"});
    }
    if (!exchange.empty()) out.exchangeDir = exchange;
    if (!lang.empty()) out.langPath = lang;
    return true;
}

}  // namespace host
