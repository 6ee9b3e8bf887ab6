#include "parameters.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "hostos.h"
#include "ini.h"
#include "suggest.h"
#include "targodll.h"
#include "textconv.h"

namespace host {
namespace {

constexpr int kTypeNumber = 4;
constexpr int kTypeDirectory = 6;
constexpr int kTypeChoice = 7;

// Where a POSIX host keeps DibalCom when the driver's default names a Windows drive.
constexpr const char* kPosixDriverDir = "/opt/dibalcom/";

// Values a choice takes besides its list texts and positions: the series letters the driver
// reads as written.
const std::vector<std::string>* ExtraChoices(const std::string& name) {
    static const std::vector<std::string> series = {"H", "H2"};
    return EqualsNoCase(name, "DibalSeria") ? &series : nullptr;
}

bool WholeNumber(std::string_view text, long& out) {
    const std::string s(Trim(text));
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    out = v;
    return true;
}

bool IsDrivePath(const std::string& path) {
    return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') ||
                                (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && path[2] == '\\';
}

// "PLIK (0), COM1 (1), …": the list texts with their positions, in the language shown.
std::string AcceptedChoices(const ParameterDef& def) {
    const auto& texts = def.translatedListTexts.size() == def.listTexts.size()
                            ? def.translatedListTexts
                            : def.listTexts;
    std::string list;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i) list += ", ";
        list += Cp1250ToUtf8(texts[i]) + " (" + std::to_string(i) + ")";
    }
    if (const auto* extra = ExtraChoices(def.name))
        for (const auto& e : *extra) list += ", " + e;
    return list;
}

// The choice's position as text, or empty when `value` names none.
std::string ChoicePosition(const ParameterDef& def, const std::string& cp1250) {
    for (const auto* texts : {&def.listTexts, &def.translatedListTexts}) {
        for (size_t i = 0; i < texts->size(); ++i)
            if (EqualsNoCase(Trim((*texts)[i]), Trim(cp1250))) return std::to_string(i);
    }
    long position = 0;
    if (WholeNumber(cp1250, position) && position >= 0 &&
        static_cast<size_t>(position) < def.listTexts.size())
        return std::to_string(position);
    if (const auto* extra = ExtraChoices(def.name))
        for (const auto& e : *extra)
            if (EqualsNoCase(e, Trim(cp1250))) return e;
    return std::string();
}

}  // namespace

ParameterValue DefaultValue(const ParameterDef& def) {
    if (def.type == kTypeDirectory && PathSeparator() == '/' && IsDrivePath(def.defaultValue))
        return {kPosixDriverDir, "host default"};
    return {def.defaultValue, "driver default"};
}

std::map<std::string, std::string> ValuesOnly(
    const std::map<std::string, ParameterValue>& resolved) {
    std::map<std::string, std::string> out;
    for (const auto& [name, v] : resolved) out[name] = v.value;
    return out;
}

bool ResolveParameters(const std::vector<ParameterDef>& catalogue,
                       const std::vector<ConfiguredValue>& values,
                       std::map<std::string, ParameterValue>& out, std::string& error) {
    out.clear();
    std::vector<std::string> names;
    for (const auto& p : catalogue) {
        out[p.name] = DefaultValue(p);
        names.push_back(p.name);
    }
    for (const auto& v : values) {
        const ParameterDef* def = nullptr;
        for (const auto& p : catalogue)
            if (EqualsNoCase(p.name, v.name)) def = &p;
        const std::string where = v.origin + ": ";
        if (!def) {
            error = where + "unknown driver parameter '" + v.name + "'" +
                    DidYouMean(v.name, names) + "; `skalnix-host info` lists them";
            return false;
        }
        const std::string shown = def->name + " = \"" + v.value + "\"";
        bool lossless = true;
        std::string value = Utf8ToCp1250(v.value, &lossless);
        if (!lossless) {
            error = where + shown + " holds a character that Windows-1250 cannot write";
            return false;
        }
        if (def->type == kTypeChoice && !def->listTexts.empty()) {
            value = ChoicePosition(*def, value);
            if (value.empty()) {
                error = where + shown + " is not a choice of " + def->name +
                        "; it accepts a list text or its number: " + AcceptedChoices(*def);
                return false;
            }
        } else if (def->type == kTypeNumber) {
            long number = 0;
            if (!WholeNumber(value, number)) {
                error = where + shown + " is not a whole number; " + def->name +
                        " accepts a whole number from " + std::to_string(INT_MIN) + " to " +
                        std::to_string(INT_MAX);
                return false;
            }
            value = std::to_string(number);
        } else if (def->type == kTypeDirectory && !Trim(value).empty()) {
            value = Utf8ToCp1250(DirectoryPath(v.value));
        }
        // A value filling the driver's buffer to its last character may have been cut on the
        // way, so the driver refuses it: the longest the host hands over is one less.
        if (value.size() >= TARGODLL_BUFSIZE - 1) {
            error = where + def->name + " is " + std::to_string(value.size()) +
                    " bytes long; it accepts at most " + std::to_string(TARGODLL_BUFSIZE - 2);
            return false;
        }
        out[def->name] = {value, v.origin};
    }
    return true;
}

}  // namespace host
