#include "commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "catalogue.h"
#include "config.h"
#include "driver.h"
#include "hostos.h"
#include "session.h"
#include "summary.h"
#include "textconv.h"
#include "translations.h"
#include "window.h"

namespace host {
namespace {

// Display form of a driver text: UTF-8, line breaks shown as new indented lines.
std::string Show(std::string_view cp1250, const char* indent) {
    std::string s;
    for (size_t i = 0; i < cp1250.size(); ++i) {
        const char c = cp1250[i];
        if (c == '\r' && i + 1 < cp1250.size() && cp1250[i + 1] == '\n') continue;
        if (c == '\r' || c == '\n') {
            s += '\n';
            s += indent;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            s += '?';
        } else {
            s += c;
        }
    }
    return Cp1250ToUtf8(s);
}

std::string Buffer(const char (&buf)[TARGODLL_BUFSIZE]) {
    return std::string(buf, strnlen(buf, TARGODLL_BUFSIZE - 1));
}

const char* OperationName(int code) {
    switch (code) {
        case TARGO_OP_CONNECTION_TEST: return "connection test";
        case TARGO_OP_EXPORT: return "export";
        case TARGO_OP_AUTO_EXPORT: return "automatic export";
        case TARGO_OP_ADDITIONAL_FUNCTION: return "additional function";
        default: return "operation";
    }
}

// Everything an operation or the description needs: driver, settings, translations.
struct Prepared {
    Driver driver;
    HostSettings settings;
    Translations translations;
    bool hasTranslations = false;
};

int Prepare(const Options& o, Prepared& p) {
    std::string error;
    if (!LoadSettings(o.configPath, o.sets, o.exchangeDir, o.langPath, p.settings, error)) {
        std::fprintf(stderr, "skalnix-host: %s\n", error.c_str());
        return kExitUsage;
    }
    if (!p.settings.langPath.empty()) {
        if (!p.translations.Load(p.settings.langPath, error)) {
            std::fprintf(stderr, "skalnix-host: %s\n", error.c_str());
            return kExitUsage;
        }
        p.hasTranslations = true;
    }
    const std::string path = o.driverPath.empty() ? Driver::DefaultPath() : o.driverPath;
    if (!p.driver.Load(path, error)) {
        std::fprintf(stderr, "skalnix-host: %s\n", error.c_str());
        return kExitNoDriver;
    }
    return kExitOk;
}

void PrintParameter(const ParameterDef& p) {
    std::printf("  %-20s type %d (%s)  default \"%s\"\n", Show(p.name, "").c_str(), p.type,
                TypeName(p.type), Show(p.defaultValue, "").c_str());
    std::printf("      %s\n", Show(p.description, "      ").c_str());
    if (!p.extra1.empty() || !p.extra2.empty() || p.extraInt != 0)
        std::printf("      extra: \"%s\" \"%s\" %d\n", Show(p.extra1, "").c_str(),
                    Show(p.extra2, "").c_str(), p.extraInt);
    for (size_t i = 0; i < p.listTexts.size(); ++i)
        std::printf("      %2zu: %s\n", i, Show(p.listTexts[i], "          ").c_str());
}

}  // namespace

int RunInfo(const Options& o) {
    Prepared p;
    if (const int rc = Prepare(o, p); rc != kExitOk) return rc;
    const DriverApi& api = p.driver.Api();
    // A registered library with the language callback makes the texts follow --lang.
    SessionData data;
    data.translations = p.hasTranslations ? &p.translations : nullptr;
    Session session(api, std::move(data), nullptr);

    std::printf("Library type: %d\n", api.TypBiblioteki());
    std::printf("Properties:\n");
    for (int index : {1, 2, 3, 105}) {
        char buf[TARGODLL_BUFSIZE] = {};
        api.Wlasciwosci(buf, index);
        std::printf("  %3d: %s\n", index, Show(Buffer(buf), "       ").c_str());
    }
    const std::vector<ParameterDef> catalogue = ReadCatalogue(api);
    int group = 0;
    for (const auto& param : catalogue) {
        if (param.group != group) {
            group = param.group;
            std::printf("Parameters, group %d:\n", group);
        }
        PrintParameter(param);
    }
    std::printf("Additional functions:\n");
    for (int index = 0; index < 100; ++index) {
        char buf[TARGODLL_BUFSIZE] = {};
        if (!api.SerKasOpisOkna(buf, index)) break;
        std::printf("  %d: %s\n", index, Show(Buffer(buf), "     ").c_str());
    }
    return kExitOk;
}

int RunOperation(const Options& o, int code, int flags) {
    Prepared p;
    if (const int rc = Prepare(o, p); rc != kExitOk) return rc;
    const DriverApi& api = p.driver.Api();

    SessionData data;
    std::string error;
    // The list texts in the driver's own language (no library registered yet) and, with a
    // translation, in that language too: a choice may be named in either.
    std::vector<ParameterDef> catalogue = ReadCatalogue(api);
    if (p.hasTranslations) {
        SessionData translated;
        translated.translations = &p.translations;
        const Session probe(api, std::move(translated), nullptr);
        const std::vector<ParameterDef> inLanguage = ReadCatalogue(api);
        for (size_t i = 0; i < catalogue.size() && i < inLanguage.size(); ++i)
            catalogue[i].translatedListTexts = inLanguage[i].listTexts;
    }
    if (!ResolveParameters(catalogue, p.settings.values, data.parameters, error)) {
        std::fprintf(stderr, "skalnix-host: %s\n", error.c_str());
        return kExitUsage;
    }
    const std::string exchange = DirectoryPath(p.settings.exchangeDir);
    if (!std::filesystem::is_directory(exchange)) {
        std::fprintf(stderr, "skalnix-host: exchange directory %s does not exist\n",
                     exchange.c_str());
        return kExitUsage;
    }
    data.exchangeDir = Utf8ToCp1250(exchange);
    if (data.exchangeDir.size() > TARGODLL_DIRSIZE - 1) {
        std::fprintf(stderr, "skalnix-host: exchange directory path longer than %d bytes\n",
                     TARGODLL_DIRSIZE - 1);
        return kExitUsage;
    }
    for (const auto& t : p.settings.templates) data.templates.push_back(Utf8ToCp1250(t));
    data.translations = p.hasTranslations ? &p.translations : nullptr;
    data.refuseSave = o.refuseSave;

    const bool isExport = code == TARGO_OP_EXPORT || code == TARGO_OP_AUTO_EXPORT;
    if (isExport) {
        // The summary must describe this export, never an earlier one.
        std::error_code ec;
        std::filesystem::remove(exchange + "wynik.exp", ec);
    }

    const char* term = std::getenv("TERM");
    const bool terminal = StdoutIsTerminal() && !(term && std::string(term) == "dumb");
    const int columns = terminal ? TerminalWidth() : 80;
    const bool color = terminal && std::getenv("NO_COLOR") == nullptr;
    OperationWindow window(stdout, terminal, color, terminal ? std::min(columns - 1, 100) : 80,
                           columns);
    Session session(api, std::move(data), &window);
    if (!session.Registered()) {
        std::fprintf(stderr, "skalnix-host: the driver did not register a library\n");
        return kExitNoDriver;
    }
    InstallInterruptHandler();

    std::printf("%s (operation %d, flags %d)\n", OperationName(code), code, flags);
    std::fflush(stdout);
    int sessionHandle = 0;
    char sessionText[TARGODLL_BUFSIZE] = {};
    const int result = api.SerKasOperacja(session.Handle(), session.NextOperationContext(),
                                          &sessionHandle, sessionText, code, flags);
    if (result != 0) std::printf("Result code: %d\n", result);

    if (isExport) {
        PrintSummary(stdout, SummariseExchange(exchange));
        const SessionLog& log = session.Log();
        if (log.saveRequests == 0)
            std::printf("  saving the result: not requested by the driver\n");
        else if (log.lastSaveAnswer)
            std::printf("  saving the result: stored\n");
        else
            std::printf("  saving the result: refused by the host (--refuse-save)\n");
    }
    std::fflush(stdout);
    if (InterruptRequested()) {
        std::fprintf(stderr, "skalnix-host: stopped with Ctrl-C\n");
        return kExitInterrupted;
    }
    return window.ErrorLines() > 0 ? kExitErrorLines : kExitOk;
}

}  // namespace host
