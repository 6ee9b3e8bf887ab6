#include "commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "catalogue.h"
#include "config.h"
#include "deadline.h"
#include "driver.h"
#include "files.h"
#include "hostos.h"
#include "ini.h"
#include "parameters.h"
#include "resource_lock.h"
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

const char* LibraryTypeName(int type) {
    return type == TARGODLL_LIBRARY_TYPE ? "scale driver: exports goods to scales"
                                         : "not a type this host knows";
}

const char* PropertyName(int index) {
    switch (index) {
        case 1: return "maker";
        case 2: return "driver";
        case 3: return "notes";
        default: return "flag";
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

// The catalogue in the driver's own language, with the list texts and descriptions of the
// chosen language next to them: a choice may be named in either.
std::vector<ParameterDef> ReadCatalogueIn(const DriverApi& api, const Prepared& p) {
    std::vector<ParameterDef> catalogue = ReadCatalogue(api);
    if (p.hasTranslations) {
        SessionData translated;
        translated.translations = &p.translations;
        const Session probe(api, std::move(translated), nullptr);
        const std::vector<ParameterDef> inLanguage = ReadCatalogue(api);
        for (size_t i = 0; i < catalogue.size() && i < inLanguage.size(); ++i) {
            catalogue[i].translatedListTexts = inLanguage[i].listTexts;
            catalogue[i].description = inLanguage[i].description;
        }
    }
    return catalogue;
}

const std::vector<std::string>& ShownListTexts(const ParameterDef& p) {
    return p.translatedListTexts.size() == p.listTexts.size() ? p.translatedListTexts
                                                               : p.listTexts;
}

// "1 = COM1" for a choice given by its position, else the value itself.
std::string ShowValue(const ParameterDef& p, const std::string& cp1250) {
    const auto& texts = ShownListTexts(p);
    if (p.type == 7) {
        char* end = nullptr;
        const long position = std::strtol(cp1250.c_str(), &end, 10);
        if (!cp1250.empty() && *end == '\0' && position >= 0 &&
            static_cast<size_t>(position) < texts.size())
            return cp1250 + " = " + Show(texts[static_cast<size_t>(position)], "");
    }
    return "\"" + Show(cp1250, "") + "\"";
}

void PrintParameter(const ParameterDef& p, const ParameterValue* inEffect) {
    std::printf("  %-20s %s (type %d), default %s\n", Show(p.name, "").c_str(), TypeName(p.type),
                p.type, ShowValue(p, p.defaultValue).c_str());
    std::printf("      %s\n", Show(p.description, "      ").c_str());
    if (inEffect)
        std::printf("      in effect: %s  (%s)\n", ShowValue(p, inEffect->value).c_str(),
                    inEffect->origin.c_str());
    if (!p.extra1.empty() || !p.extra2.empty() || p.extraInt != 0)
        std::printf("      extra: \"%s\" \"%s\" %d\n", Show(p.extra1, "").c_str(),
                    Show(p.extra2, "").c_str(), p.extraInt);
    const auto& texts = ShownListTexts(p);
    for (size_t i = 0; i < texts.size(); ++i)
        std::printf("      %2zu: %s\n", i, Show(texts[i], "          ").c_str());
}

// The Windows-1250 parameter value as a UTF-8 path, or empty.
std::string PathValue(const std::map<std::string, ParameterValue>& values, const char* name) {
    const auto it = values.find(name);
    return it == values.end() ? std::string() : Cp1250ToUtf8(it->second.value);
}

void PrintExportSummary(const std::string& exchange, const std::string& driverDir,
                        const std::map<std::string, ParameterValue>& values,
                        const OperationWindow& window) {
    SummaryInput in;
    // The files are read a block at a time: they reach hundreds of megabytes.
    std::error_code ec;
    in.kasaPath = exchange + "kasa.exp";
    in.wynikPath = exchange + "wynik.exp";
    in.resultFound = std::filesystem::is_regular_file(in.wynikPath, ec);
    if (!driverDir.empty()) {
        in.recordsPath = driverDir + "dibal.exp";
        in.recordsFound = std::filesystem::is_regular_file(in.recordsPath, ec);
    }
    // The series by list position (A, K, M, L, H, H2) or as a letter.
    const auto series = values.find("DibalSeria");
    const std::string s = series == values.end() ? "" : series->second.value;
    in.seriesM = s == "2" || s == "M";
    in.oneLinePerGoods = in.seriesM || s == "0" || s == "1" || s == "A" || s == "K";
    in.window = &window.Lines();
    PrintSummary(stdout, Summarise(in));
}

}  // namespace

int RunInfo(const Options& o) {
    Prepared p;
    if (const int rc = Prepare(o, p); rc != kExitOk) return rc;
    const DriverApi& api = p.driver.Api();
    const std::vector<ParameterDef> catalogue = ReadCatalogueIn(api, p);
    // With a configuration, the values it puts in effect are checked and shown.
    const bool configured = !o.configPath.empty() || !o.sets.empty();
    std::map<std::string, ParameterValue> values;
    std::string error;
    if (configured && !ResolveParameters(catalogue, p.settings.values, values, error)) {
        std::fprintf(stderr, "skalnix-host: %s\n", error.c_str());
        return kExitUsage;
    }
    // A registered library with the language callback makes the texts follow --lang.
    SessionData data;
    data.translations = p.hasTranslations ? &p.translations : nullptr;
    Session session(api, std::move(data), nullptr);

    const int type = api.TypBiblioteki();
    std::printf("Library type: %d (%s)\n", type, LibraryTypeName(type));
    std::printf("Properties:\n");
    for (int index : {1, 2, 3, 105}) {
        char buf[TARGODLL_BUFSIZE] = {};
        api.Wlasciwosci(buf, index);
        const std::string text = Buffer(buf);
        if (index == 105)
            std::printf("  %3d %-7s %s (%s)\n", index, "flag:", Show(text, "").c_str(),
                        text == "1" ? "set" : "not set");
        else
            std::printf("  %3d %-7s %s\n", index, (std::string(PropertyName(index)) + ":").c_str(),
                        Show(text, "              ").c_str());
    }
    int group = 0;
    for (const auto& param : catalogue) {
        if (param.group != group) {
            group = param.group;
            std::printf("Parameters, group %d:\n", group);
        }
        const auto it = values.find(param.name);
        PrintParameter(param, configured && it != values.end() ? &it->second : nullptr);
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
    const std::vector<ParameterDef> catalogue = ReadCatalogueIn(api, p);
    std::map<std::string, ParameterValue> values;
    if (!ResolveParameters(catalogue, p.settings.values, values, error)) {
        std::fprintf(stderr, "skalnix-host: %s\n", error.c_str());
        return kExitUsage;
    }
    data.parameters = ValuesOnly(values);
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
    std::string driverDir = PathValue(values, "DibalKatalogDrv");
    if (!driverDir.empty()) driverDir = DirectoryPath(driverDir);

    const char* term = std::getenv("TERM");
    const bool terminal = StdoutIsTerminal() && !(term && std::string(term) == "dumb");
    const int columns = terminal ? TerminalWidth() : 80;
    const bool color = terminal && std::getenv("NO_COLOR") == nullptr;
    OperationWindow window(stdout, terminal, color, terminal ? std::min(columns - 1, 100) : 80,
                           columns);
    const Deadline deadline(o.timeoutSeconds);
    data.deadline = &deadline;
    Session session(api, std::move(data), &window);
    if (!session.Registered()) {
        std::fprintf(stderr, "skalnix-host: the driver did not register a library\n");
        return kExitNoDriver;
    }
    InstallInterruptHandler();

    // Operations on one shared resource take turns, as in the back office.
    char resource[TARGODLL_BUFSIZE] = {};
    api.SerKasNazwaZasobuDzielonego(session.Handle(), session.NextOperationContext(), resource);
    ResourceLock turn;
    const bool ourTurn = turn.Take(
        Buffer(resource),
        [&] {
            std::printf("waiting for another operation on %s\n", Show(Buffer(resource), "").c_str());
            std::fflush(stdout);
        },
        [&] { return InterruptRequested() || deadline.Passed(); });
    if (!ourTurn) {
        std::fprintf(stderr, "skalnix-host: stopped while waiting for another operation on %s\n",
                     Show(Buffer(resource), "").c_str());
        return InterruptRequested() ? kExitInterrupted : kExitTimedOut;
    }
    if (isExport) {
        // The summary must describe this export, never an earlier one: a result file that
        // cannot go would be taken for this export's.
        std::error_code ec;
        std::filesystem::remove(exchange + "wynik.exp", ec);
        if (ec) {
            std::fprintf(stderr,
                         "skalnix-host: cannot remove the earlier result file %swynik.exp (%s); "
                         "it would be taken for this export's result\n",
                         exchange.c_str(), ec.message().c_str());
            return kExitNoDriver;
        }
    }

    std::vector<std::string> watched{exchange};
    if (!driverDir.empty() && driverDir != exchange) watched.push_back(driverDir);
    const FileSnapshot files(watched);

    std::printf("%s (operation %d, flags %d)\n", OperationName(code), code, flags);
    std::fflush(stdout);
    int sessionHandle = 0;
    char sessionText[TARGODLL_BUFSIZE] = {};
    const int result = api.SerKasOperacja(session.Handle(), session.NextOperationContext(),
                                          &sessionHandle, sessionText, code, flags);
    window.Finish();
    if (result != 0) std::printf("Result code: %d\n", result);

    const SessionLog& log = session.Log();
    if (isExport) {
        PrintExportSummary(exchange, driverDir, values, window);
        if (log.saveRequests == 0)
            std::printf("  saving the result: not requested by the driver\n");
        else if (log.lastSaveAnswer)
            std::printf("  saving the result: stored\n");
        else
            std::printf("  saving the result: refused by the host (--refuse-save)\n");
    } else {
        std::printf("\nOutcome\n");
        std::string what = OperationName(code);
        if (code == -8) what += " " + std::to_string(flags);
        if (window.ErrorLines() > 0) {
            std::printf("  %s: failed; the driver reported %d error line(s)\n", what.c_str(),
                        window.ErrorLines());
        } else {
            std::printf("  %s: the driver reported no errors\n", what.c_str());
        }
        if (!window.Lines().empty()) {
            const WindowLine& last = window.Lines().back();
            std::printf("  the driver's last message: %s%s%s\n", last.text.c_str(),
                        last.status.empty() ? "" : " ", last.status.c_str());
        }
    }
    const std::vector<std::string> written = files.Written();
    if (written.empty()) {
        std::printf("  files written: none\n");
    } else {
        std::printf("  files written:\n");
        for (const auto& f : written) std::printf("    %s\n", f.c_str());
    }
    std::fflush(stdout);
    if (InterruptRequested()) {
        std::fprintf(stderr, "skalnix-host: stopped with Ctrl-C\n");
        return kExitInterrupted;
    }
    if (log.timedOut) {
        std::fprintf(stderr,
                     "skalnix-host: stopped after %g s (--timeout) while the %s was at: %s\n",
                     deadline.Seconds(), OperationName(code),
                     log.waitingFor.empty() ? "(no message yet)" : log.waitingFor.c_str());
        return kExitTimedOut;
    }
    return window.ErrorLines() > 0 ? kExitErrorLines : kExitOk;
}

}  // namespace host
