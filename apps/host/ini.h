// A small INI reader for the host's configuration and translation files (UTF-8 text).
//
// Lines are "[section]", "key=value", comments starting with ';' or '#', or blank. Keys and
// values are trimmed; a value may be wrapped in double quotes to keep outer blanks. A comment
// may follow a value: from a ';' or '#' that starts the value or follows a blank, or after the
// closing quote of a quoted value. Escapes in values: \r, \n, \t, \" and \\.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

struct IniEntry {
    std::string key;
    std::string value;
    int line = 0;
};

struct IniSection {
    std::string name;
    std::vector<IniEntry> entries;
};

struct IniFile {
    std::vector<IniSection> sections;  // entries before any heading go to a section named ""

    // The section of that name (letter case ignored), or null.
    const IniSection* Find(std::string_view name) const;
};

// Parses `text`; on a malformed line returns false with `error` naming the line.
bool ParseIni(std::string_view text, IniFile& out, std::string& error);

// Reads and parses a file; false with `error` when it cannot be read or parsed.
bool ReadIniFile(const std::string& path, IniFile& out, std::string& error);

// Decodes the escapes of one value (see above); an unknown escape is kept as written.
std::string UnescapeValue(std::string_view raw);

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string_view Trim(std::string_view s);

}  // namespace host
