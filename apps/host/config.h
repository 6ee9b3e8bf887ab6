// The host's configuration: an INI file with the driver's parameters ([driver]) and the host's
// own settings ([host]), overridden from the command line.
//
//   [host]
//   exchange  = exchange          ; exchange directory (kasa.exp, wynik.exp)
//   templates = 21GGSSSSWWWWC, 22SSSSSWWWWWC   ; weighted-barcode templates, in order
//   lang      = lang/en.ini       ; translation file
//   [driver]
//   DibalPort = COM1              ; a choice may be given by its list text or its position
//
// Relative paths are taken from the current directory.
#pragma once

#include <string>
#include <vector>

namespace host {

// A driver parameter value as configured, with where it was written.
struct ConfiguredValue {
    std::string name;    // as written
    std::string value;   // UTF-8, as written
    std::string origin;  // "FILE:LINE" or "--set"
    bool operator==(const ConfiguredValue&) const = default;
};

struct HostSettings {
    std::string exchangeDir;              // UTF-8 path
    std::vector<std::string> templates;   // UTF-8
    std::string langPath;                 // UTF-8 path, may be empty
    std::vector<ConfiguredValue> values;  // [driver] and --set, in order
};

// Reads `configPath` (may be empty: no file) and applies the command-line overrides
// (`sets` as NAME=VALUE, `exchange` and `lang` when not empty).
bool LoadSettings(const std::string& configPath, const std::vector<std::string>& sets,
                  const std::string& exchange, const std::string& lang, HostSettings& out,
                  std::string& error);

// An absolute directory path ending with the separator (UTF-8 in, UTF-8 out).
std::string DirectoryPath(const std::string& path);

}  // namespace host
