#include "ini.h"

#include <fstream>
#include <sstream>

namespace host {

std::string_view Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

const IniSection* IniFile::Find(std::string_view name) const {
    for (const auto& s : sections)
        if (EqualsNoCase(s.name, name)) return &s;
    return nullptr;
}

std::string UnescapeValue(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            out += raw[i];
            continue;
        }
        const char n = raw[i + 1];
        switch (n) {
            case 'r': out += '\r'; break;
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            default: out += '\\'; out += n; break;
        }
        ++i;
    }
    return out;
}

namespace {

// A quoted value: the text between the first quote and its closing, unescaped quote.
bool IsQuoted(std::string_view v) {
    if (v.size() < 2 || v.front() != '"' || v.back() != '"') return false;
    size_t backslashes = 0;
    for (size_t i = v.size() - 1; i > 1 && v[i - 1] == '\\'; --i) ++backslashes;
    return backslashes % 2 == 0;
}

}  // namespace

bool ParseIni(std::string_view text, IniFile& out, std::string& error) {
    out.sections.clear();
    out.sections.push_back({});
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int lineNo = 0;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view raw = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        ++lineNo;
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            if (line.back() != ']') {
                error = "line " + std::to_string(lineNo) + ": unterminated section heading";
                return false;
            }
            out.sections.push_back({std::string(Trim(line.substr(1, line.size() - 2))), {}});
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos || Trim(line.substr(0, eq)).empty()) {
            error = "line " + std::to_string(lineNo) + ": expected key=value";
            return false;
        }
        std::string_view value = Trim(line.substr(eq + 1));
        if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
        out.sections.back().entries.push_back(
            {std::string(Trim(line.substr(0, eq))), UnescapeValue(value), lineNo});
    }
    return true;
}

bool ReadIniFile(const std::string& path, IniFile& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream buf;
    buf << in.rdbuf();
    if (!ParseIni(buf.str(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace host
