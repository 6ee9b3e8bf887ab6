// A whole file-only export through the exported functions, with the input as kasa.exp.
// Leading lines "#!Name=Value" (comments to the reader) set driver parameters from a short
// list, so that every scale series and text option is reachable; the DibalCom directory and
// the file-only port are fixed.
// Oracles: kasa.exp is unchanged; every line of dibal.exp has its record type's length and
// ends in CR LF; when the export posted no error, wynik.exp is whole lines
// "PLU;plu;koldod;code;action" and each names a goods line of kasa.exp.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "record_lengths.h"
#include "support/driver_params.h"
#include "support/fake_clock.h"
#include "targodll.h"

namespace {

struct Host {
    std::map<std::string, std::string> params;
    std::string exchangeDir;
    std::vector<std::string> errors;
};
Host* g_host = nullptr;

const char* const kTemplates[] = {"21GGSSSSWWWWC", "22SSSSSWWWWWC"};

void Fill(char* buffer, std::size_t size, const std::string& text) {
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

int TARGO_CALL BreakQuery(int, int) { return 0; }
int TARGO_CALL Parameter(int, int, const char* name, char* value) {
    const auto found = g_host->params.find(name);
    Fill(value, TARGODLL_BUFSIZE, found == g_host->params.end() ? "" : found->second);
    return 1;
}
int TARGO_CALL OperationInfo(int, int, int* value1, int* value2, char* text1, char* text2,
                             char* exchangeDir) {
    *value1 = 1;
    *value2 = 2;
    Fill(text1, TARGODLL_BUFSIZE, "");
    Fill(text2, TARGODLL_BUFSIZE, "");
    Fill(exchangeDir, TARGODLL_DIRSIZE, g_host->exchangeDir);
    return 1;
}
int TARGO_CALL AddMessage(int, int, int kind, const char* text) {
    if (kind == TARGO_MSG_ERROR) g_host->errors.emplace_back(text);
    return 1;
}
int TARGO_CALL ReplaceMessage(int host, int op, int kind, const char* text) {
    return AddMessage(host, op, kind, text);
}
int TARGO_CALL ListItem(int, int, int index, char* item) {
    if (index < 0 || index >= 2) return 0;
    Fill(item, TARGODLL_BUFSIZE, kTemplates[index]);
    return 1;
}
int TARGO_CALL SaveResult(int, int) { return 1; }

// Parameters the input may set; the rest keep the defaults of the tests.
const std::set<std::string> kFuzzedParams = {
    "DibalSeria",        "DibalAdres",       "DibalGrupa",       "DibalPodgrupaPLU",
    "DibalPluExact",     "DibalPluSendGroup", "DibalAddTextsFrom", "DibalSendAddData",
    "DibalSendExpDate",  "DibalKodyKD",      "DibalKodPocz",     "DibalKodKonc",
    "DibalPlZnaki",      "PoziomCen",        "Pojemnosc"};

void ApplyParamLines(const std::string& bytes, std::map<std::string, std::string>& params) {
    for (std::string_view line : fuzz::SplitLines(bytes)) {
        if (line.substr(0, 2) != "#!") break;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string name(line.substr(2, eq - 2));
        if (kFuzzedParams.count(name)) params[name] = std::string(line.substr(eq + 1));
    }
}

// A whole number as the reader takes it: blanks around, an optional sign, digits.
bool WholeNumber(std::string_view text, long long& value) {
    text = fuzz::TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 12) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    return true;
}

void CheckRecordFile(const std::string& records) {
    if (records.empty()) return;
    fuzz::Expect(records.size() >= 2 && records.compare(records.size() - 2, 2, "\r\n") == 0,
                 "dibal.exp does not end in CR LF");
    std::size_t start = 0, number = 0;
    while (start < records.size()) {
        const std::size_t end = records.find("\r\n", start);
        const std::string line = records.substr(start, end - start);
        ++number;
        const std::string where = "dibal.exp line " + std::to_string(number);
        fuzz::Expect(line.find_first_of("\r\n") == std::string::npos,
                     where + " holds a line break of its own");
        fuzz::Expect(line.size() >= 4, where + " is too short for a record type");
        const auto layout = fuzz::RecordLengths().find(line.substr(2, 2));
        fuzz::Expect(layout != fuzz::RecordLengths().end(),
                     where + " has an unknown record type " + line.substr(2, 2));
        fuzz::Expect(line.size() + 2 == layout->second,
                     where + " (" + layout->first + ") is " + std::to_string(line.size() + 2) +
                         " bytes, its layout " + std::to_string(layout->second));
        start = end + 2;
    }
}

void CheckResultFile(const std::string& result, const std::string& exportFile) {
    if (result.empty()) return;
    fuzz::Expect(result.compare(result.size() - 2, 2, "\r\n") == 0,
                 "wynik.exp does not end in CR LF");
    const auto goods = fuzz::GoodsLines(exportFile);
    for (std::string_view line : fuzz::SplitLines(result)) {
        const auto f = fuzz::SplitFields(line);
        long long plu = 0, koldod = 0;
        fuzz::Expect(f.size() == 5 && f[0] == "PLU" && WholeNumber(f[1], plu) &&
                         WholeNumber(f[2], koldod) &&
                         (f[4] == "DOD" || f[4] == "AKT" || f[4] == "CEN" || f[4] == "USU"),
                     "wynik.exp line is malformed: " + std::string(line));
        bool found = false;
        for (const auto& g : goods) {
            long long gp = 0, gk = 0;
            if (g.size() > 19 && WholeNumber(g[1], gp) && gp == plu && WholeNumber(g[2], gk) &&
                gk == koldod && g[3] == f[3] && g[19] == f[4]) {
                found = true;
                break;
            }
        }
        fuzz::Expect(found, "wynik.exp line names no goods of kasa.exp: " + std::string(line));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FakeClock clock;  // pauses and polls cost no time
    static const fuzz::WorkDir work("export");
    const std::filesystem::path& root = work.Path();
    static const std::filesystem::path exchange = root / "exchange";
    static const std::filesystem::path driver = root / "dibalcom";
    static Host host;
    static HTARGODLLLIB library = [] {
        g_host = &host;
        HTARGODLLLIB lib = TargoDLLRejestrujBiblioteke(77, 0, 0, nullptr);
        if (lib == nullptr) fuzz::Fail("the driver created no library");
        const std::pair<void*, int> callbacks[] = {
            {reinterpret_cast<void*>(&BreakQuery), TARGO_CB_BREAK_QUERY},
            {reinterpret_cast<void*>(&Parameter), TARGO_CB_PARAMETER},
            {reinterpret_cast<void*>(&OperationInfo), TARGO_CB_OPERATION_INFO},
            {reinterpret_cast<void*>(&AddMessage), TARGO_CB_ADD_MESSAGE},
            {reinterpret_cast<void*>(&ReplaceMessage), TARGO_CB_REPLACE_MESSAGE},
            {reinterpret_cast<void*>(&ListItem), TARGO_CB_LIST_ITEM},
            {reinterpret_cast<void*>(&SaveResult), TARGO_CB_SAVE_RESULT},
        };
        for (const auto& [function, type] : callbacks) TargoDLLRejestrujCallback(lib, function, type);
        return lib;
    }();

    // Every input starts from empty directories: no archive, log or record file of the last.
    fuzz::EmptyDirectory(root);
    std::filesystem::create_directories(exchange);
    std::filesystem::create_directories(driver);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::WriteBytes(exchange / "kasa.exp", bytes);
    host.exchangeDir = exchange.string() + "/";
    host.params = DefaultDriverParams(driver.string());
    ApplyParamLines(bytes, host.params);
    host.errors.clear();

    int session = 0;
    char sessionText[TARGODLL_BUFSIZE] = "";
    const int rc = TargoDLLSerKasOperacja(library, 1, &session, sessionText, TARGO_OP_EXPORT, 0);

    fuzz::Expect(fuzz::ReadBytes(exchange / "kasa.exp") == bytes, "kasa.exp changed");
    CheckRecordFile(fuzz::ReadBytes(driver / "dibal.exp"));
    if (rc == 0 && host.errors.empty()) {
        fuzz::Expect(std::filesystem::exists(exchange / "wynik.exp"),
                     "an export without errors wrote no wynik.exp");
        CheckResultFile(fuzz::ReadBytes(exchange / "wynik.exp"), bytes);
    }
    return 0;
}
