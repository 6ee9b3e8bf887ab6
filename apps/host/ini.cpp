#include "ini.h"

#include <filesystem>
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

// Where a comment begins in an unquoted value: a ';' or '#' at its start or after a blank,
// so "COM1 ; port" is COM1 while "a;b" and "#1" inside a word stay as written.
size_t CommentStart(std::string_view v) {
    for (size_t i = 0; i < v.size(); ++i) {
        if ((v[i] == ';' || v[i] == '#') &&
            (i == 0 || v[i - 1] == ' ' || v[i - 1] == '\t'))
            return i;
    }
    return std::string_view::npos;
}

// The value of "key = value": a quoted value is the text up to its closing, unescaped quote
// (a comment may follow it); otherwise the text before a comment, trimmed.
std::string_view ValueText(std::string_view v) {
    if (v.size() >= 2 && v.front() == '"') {
        for (size_t i = 1; i < v.size(); ++i) {
            if (v[i] == '\\') {
                ++i;
                continue;
            }
            if (v[i] != '"') continue;
            const std::string_view rest = Trim(v.substr(i + 1));
            if (rest.empty() || rest[0] == ';' || rest[0] == '#') return v.substr(1, i - 1);
            break;
        }
    }
    return Trim(v.substr(0, CommentStart(v)));
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
            const size_t close = line.find(']');
            const std::string_view rest =
                close == std::string_view::npos ? line : Trim(line.substr(close + 1));
            if (close == std::string_view::npos ||
                !(rest.empty() || rest[0] == ';' || rest[0] == '#')) {
                error = "line " + std::to_string(lineNo) + ": unterminated section heading";
                return false;
            }
            out.sections.push_back({std::string(Trim(line.substr(1, close - 1))), {}});
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos || Trim(line.substr(0, eq)).empty()) {
            error = "line " + std::to_string(lineNo) + ": expected key=value";
            return false;
        }
        const std::string_view value = ValueText(Trim(line.substr(eq + 1)));
        out.sections.back().entries.push_back(
            {std::string(Trim(line.substr(0, eq))), UnescapeValue(value), lineNo});
    }
    return true;
}

bool ReadIniFile(const std::string& path, IniFile& out, std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = path + " is a directory, not an INI file";
        return false;
    }
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
