// Runs one export (operation -2) through the driver's exported functions, the way the host
// does, and prints how long the call took and how many window lines it posted.
//
//   skalnix-bench-export DRIVER.so EXCHANGE_DIR DIBALCOM_DIR [NAME=VALUE ...]
//
// The parameters start at the driver's defaults for a file-only export of weighted codes with
// prefix 21; NAME=VALUE overrides.
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "targodll.h"

namespace {

std::map<std::string, std::string> params;
std::string exchangeDir;
long addedLines = 0, replacedLines = 0, errorLines = 0;
std::string lastError;
bool verbose = false;  // STAGES=1: every added line with the time since the start on stderr
std::chrono::steady_clock::time_point started;

int BreakQuery(int, int) { return 0; }
int Parameter(int, int, const char* name, char* value) {
    static const std::string none;
    const auto found = params.find(name);
    const std::string& text = found == params.end() ? none : found->second;
    const std::size_t n = std::min<std::size_t>(text.size(), TARGODLL_BUFSIZE - 1);
    std::memcpy(value, text.data(), n);
    value[n] = '\0';
    return 1;
}
int OperationInfo(int, int, int* v1, int* v2, char* t1, char* t2, char* dir) {
    *v1 = *v2 = 0;
    t1[0] = t2[0] = '\0';
    std::snprintf(dir, TARGODLL_DIRSIZE, "%s", exchangeDir.c_str());
    return 1;
}
int AddMessage(int, int, int kind, const char* text) {
    ++addedLines;
    if (verbose)
        std::fprintf(stderr, "%8.3f %s\n",
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - started)
                         .count(),
                     text);
    if (kind == TARGO_MSG_ERROR) {
        ++errorLines;
        lastError = text;
    }
    return 1;
}
int ReplaceMessage(int, int, int, const char*) {
    ++replacedLines;
    return 1;
}
// The weighted-barcode templates: prefix 21, five article digits, five weight digits, check.
const char* const kTemplates[] = {"21SSSSSWWWWWC", "22SSSSSWWWWWC"};
int ListItem(int, int, int index, char* item) {
    if (index < 0 || index >= static_cast<int>(sizeof kTemplates / sizeof kTemplates[0]))
        return 0;
    std::snprintf(item, TARGODLL_BUFSIZE, "%s", kTemplates[index]);
    return 1;
}
int SaveResult(int, int) { return 1; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s DRIVER.so EXCHANGE_DIR DIBALCOM_DIR [NAME=VALUE ...]\n",
                     argv[0]);
        return 2;
    }
    exchangeDir = std::string(argv[2]) + "/";
    params = {
        {"DibalPodgrupaPLU", ""},   {"DibalSeria", "A"},        {"DibalAdres", "00"},
        {"DibalGrupa", "0"},        {"DibalPort", "0"},         {"DibalBaudRate", "5"},
        {"DibalDataBits", "1"},     {"DibalMuxChannel", "0"},   {"DibalIPAddress", "192.168.0.12"},
        {"Pojemnosc", "20479"},     {"PoziomCen", "0"},         {"DibalPluExact", "1"},
        {"DibalPluSendGroup", "1"}, {"DibalAddTextsFrom", "0"}, {"DibalSendAddData", "1"},
        {"DibalSendExpDate", "1"},  {"DibalExitApp", "0"},      {"DibalUserConfigTxt", "0"},
        {"DibalKatalogDrv", argv[3]}, {"DibalKodyKD", "1"},     {"DibalKodPocz", "0"},
        {"DibalKodKonc", "0"},      {"DibalPlZnaki", "0"},
    };
    for (int i = 4; i < argc; ++i) {
        const char* eq = std::strchr(argv[i], '=');
        if (eq != nullptr)
            params[std::string(argv[i], static_cast<std::size_t>(eq - argv[i]))] = eq + 1;
    }

    void* module = ::dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", argv[1], ::dlerror());
        return 2;
    }
    auto registerLibrary = reinterpret_cast<decltype(&TargoDLLRejestrujBiblioteke)>(
        ::dlsym(module, "TargoDLLRejestrujBiblioteke"));
    auto registerCallback = reinterpret_cast<decltype(&TargoDLLRejestrujCallback)>(
        ::dlsym(module, "TargoDLLRejestrujCallback"));
    auto operation = reinterpret_cast<decltype(&TargoDLLSerKasOperacja)>(
        ::dlsym(module, "TargoDLLSerKasOperacja"));
    auto release = reinterpret_cast<decltype(&TargoDLLZwolnijBiblioteke)>(
        ::dlsym(module, "TargoDLLZwolnijBiblioteke"));
    if (!registerLibrary || !registerCallback || !operation || !release) {
        std::fprintf(stderr, "the driver lacks an export\n");
        return 2;
    }
    HTARGODLLLIB library = registerLibrary(1, 0, 0, nullptr);
    registerCallback(library, reinterpret_cast<void*>(&BreakQuery), TARGO_CB_BREAK_QUERY);
    registerCallback(library, reinterpret_cast<void*>(&Parameter), TARGO_CB_PARAMETER);
    registerCallback(library, reinterpret_cast<void*>(&OperationInfo), TARGO_CB_OPERATION_INFO);
    registerCallback(library, reinterpret_cast<void*>(&AddMessage), TARGO_CB_ADD_MESSAGE);
    registerCallback(library, reinterpret_cast<void*>(&ReplaceMessage), TARGO_CB_REPLACE_MESSAGE);
    registerCallback(library, reinterpret_cast<void*>(&ListItem), TARGO_CB_LIST_ITEM);
    registerCallback(library, reinterpret_cast<void*>(&SaveResult), TARGO_CB_SAVE_RESULT);

    int session = 0;
    char text[TARGODLL_BUFSIZE] = "";
    verbose = params.count("STAGES") != 0;
    const auto start = std::chrono::steady_clock::now();
    started = start;
    const int result = operation(library, 2, &session, text, -2, 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    release(library);

    std::printf("export %.3f s, result %d, lines %ld added %ld replaced, %ld errors%s%s\n",
                seconds, result, addedLines, replacedLines, errorLines,
                errorLines ? ", last: " : "", lastError.c_str());
    return errorLines == 0 ? 0 : 1;
}
