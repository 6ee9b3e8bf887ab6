// The host's INI reader over arbitrary bytes.
// Oracles: what it parses, written back in the reader's own syntax (every value quoted with its
// escapes), parses to the same sections and entries; keys are non-empty and trimmed; entry line
// numbers rise and stay within the text; a refusal names a line of the text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "ini.h"

namespace {

std::string Quoted(const std::string& value) {
    std::string out = "\"";
    for (const char c : value) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default: out += c; break;
        }
    }
    return out + "\"";
}

// The parsed file in INI syntax; a byte-order mark first, so that a key starting with the
// mark's bytes keeps them.
std::string Written(const host::IniFile& ini) {
    std::string out = "\xEF\xBB\xBF";
    for (std::size_t s = 0; s < ini.sections.size(); ++s) {
        if (s > 0) out += "[" + ini.sections[s].name + "]\n";
        for (const host::IniEntry& e : ini.sections[s].entries)
            out += e.key + "=" + Quoted(e.value) + "\n";
    }
    return out;
}

int LineCount(std::string_view text) {
    int lines = 1;
    for (const char c : text) lines += c == '\n';
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    host::IniFile ini;
    std::string error;
    if (!host::ParseIni(text, ini, error)) {
        const int line = std::atoi(error.c_str() + (error.rfind("line ", 0) == 0 ? 5 : 0));
        fuzz::Expect(error.rfind("line ", 0) == 0 && line >= 1 && line <= LineCount(text),
                     "a refusal names no line of the text: " + error);
        return 0;
    }
    fuzz::Expect(!ini.sections.empty() && ini.sections[0].name.empty(),
                 "entries before a heading have no section of their own");
    int last = 0;
    for (const host::IniSection& section : ini.sections) {
        fuzz::Expect(host::Trim(section.name) == section.name, "a section name is not trimmed");
        for (const host::IniEntry& e : section.entries) {
            fuzz::Expect(!e.key.empty() && host::Trim(e.key) == e.key,
                         "a key is empty or untrimmed: [" + e.key + "]");
            fuzz::Expect(e.line > last && e.line <= LineCount(text),
                         "entry line numbers do not rise within the text");
            last = e.line;
        }
    }

    const std::string again = Written(ini);
    host::IniFile reread;
    fuzz::Expect(host::ParseIni(again, reread, error), "the written form is refused: " + error);
    fuzz::Expect(reread.sections.size() == ini.sections.size(), "sections lost on rereading");
    for (std::size_t s = 0; s < ini.sections.size(); ++s) {
        const auto& a = ini.sections[s];
        const auto& b = reread.sections[s];
        fuzz::Expect(a.name == b.name && a.entries.size() == b.entries.size(),
                     "section " + std::to_string(s) + " differs on rereading");
        for (std::size_t i = 0; i < a.entries.size(); ++i)
            fuzz::Expect(a.entries[i].key == b.entries[i].key &&
                             a.entries[i].value == b.entries[i].value,
                         "entry " + a.entries[i].key + " differs on rereading");
    }
    return 0;
}
