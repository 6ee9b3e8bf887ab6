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

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "catalogue.h"

namespace host {

struct HostSettings {
    std::string exchangeDir;                                  // UTF-8 path
    std::vector<std::string> templates;                       // UTF-8
    std::string langPath;                                     // UTF-8 path, may be empty
    std::vector<std::pair<std::string, std::string>> values;  // [driver] and --set, in order
};

// Reads `configPath` (may be empty: no file) and applies the command-line overrides
// (`sets` as NAME=VALUE, `exchange` and `lang` when not empty).
bool LoadSettings(const std::string& configPath, const std::vector<std::string>& sets,
                  const std::string& exchange, const std::string& lang, HostSettings& out,
                  std::string& error);

// The value of every catalogue parameter in Windows-1250: the configured value, or the
// catalogue default when none is set. A choice given by one of its list texts becomes that
// text's position (in the driver's own or the chosen language; a position given as a number
// stays); a relative directory becomes absolute. Unknown names are an error.
bool ResolveParameters(const std::vector<ParameterDef>& catalogue,
                       const std::vector<std::pair<std::string, std::string>>& values,
                       std::map<std::string, std::string>& out, std::string& error);

// An absolute directory path ending with the separator (UTF-8 in, UTF-8 out).
std::string DirectoryPath(const std::string& path);

}  // namespace host
