#include "cli.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "suggest.h"

#ifndef SKALNIX_VERSION
#  define SKALNIX_VERSION "unknown"
#endif

namespace host {
namespace {

bool ParseInt(const std::string& text, int& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    out = static_cast<int>(v);
    return true;
}

// Seconds as a positive decimal number ("90", "0.5").
bool ParseSeconds(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v) || v <= 0 || v > 1e7) return false;
    out = v;
    return true;
}

const std::vector<std::string> kCommandNames = {"info", "export", "test", "function", "op",
                                                "help"};
const std::vector<std::string> kOptionNames = {"--help",  "--version",     "--driver",
                                               "--config", "--set",        "--lang",
                                               "--exchange", "--auto",     "--refuse-save",
                                               "--timeout"};

const char* kTimeoutOption =
    "  --timeout SECONDS  stop the operation after this long (exit status 124)\n";

const char* kCommonOptions =
    "Options:\n"
    "  --driver PATH      the driver library (default: the one next to this program)\n"
    "  --config FILE      INI file with [host] and [driver] settings\n"
    "  --set NAME=VALUE   set a driver parameter (repeatable; wins over the file)\n"
    "  --lang FILE        translation file for the driver's texts\n"
    "  --exchange DIR     exchange directory (wins over the file)\n"
    "  --help             this help\n"
    "  --version          the program's version\n";

}  // namespace

std::string VersionText() { return std::string("skalnix-host ") + SKALNIX_VERSION + "\n"; }

std::string CommandWord(Command command) {
    for (const auto& name : kCommandNames)
        if (CommandByName(name) == command) return name;
    return std::string();
}

Command CommandByName(const std::string& name) {
    if (name == "info") return Command::Info;
    if (name == "export") return Command::Export;
    if (name == "test") return Command::Test;
    if (name == "function") return Command::Function;
    if (name == "op") return Command::Op;
    if (name == "help") return Command::Help;
    return Command::None;
}

std::string UsageText(Command command) {
    switch (command) {
        case Command::Info:
            return std::string(
                       "usage: skalnix-host info [options]\n\n"
                       "Shows the library type, the driver properties, every configuration\n"
                       "parameter with its type, description, default and list texts, and the\n"
                       "additional functions.\n\n") +
                   kCommonOptions;
        case Command::Export:
            return std::string(
                       "usage: skalnix-host export [--auto] [--refuse-save] [options]\n\n"
                       "Exports the goods of kasa.exp in the exchange directory to the scale\n"
                       "(operation -2; with --auto the automatic export -5), then summarises\n"
                       "wynik.exp. Ctrl-C asks the driver to stop.\n\n"
                       "  --auto             run the automatic export\n"
                       "  --refuse-save      answer the request to store the result with a refusal\n") +
                   kTimeoutOption + kCommonOptions;
        case Command::Test:
            return std::string("usage: skalnix-host test [options]\n\n"
                               "Runs the connection test (operation -1).\n\n") +
                   kTimeoutOption + kCommonOptions;
        case Command::Function:
            return std::string("usage: skalnix-host function N [options]\n\n"
                               "Runs additional function N (operation -8); `info` lists them.\n\n") +
                   kTimeoutOption + kCommonOptions;
        case Command::Op:
            return std::string("usage: skalnix-host op CODE [--refuse-save] [options]\n\n"
                               "Runs the operation with the given code (for example -3).\n\n") +
                   kTimeoutOption + kCommonOptions;
        default:
            return std::string(
                       "usage: skalnix-host COMMAND [options]\n\n"
                       "Runs the scale driver the way the back office does.\n\n"
                       "Commands:\n"
                       "  info          describe the driver and its parameters\n"
                       "  export        export goods to the scale\n"
                       "  test          test the connection\n"
                       "  function N    run additional function N\n"
                       "  op CODE       run any operation code\n"
                       "  help COMMAND  help on one command\n\n"
                       "Exit status: 0 success; 1 the operation posted error lines; 2 usage or\n"
                       "configuration error; 3 the driver could not be loaded or run;\n"
                       "124 stopped by --timeout; 130 stopped with Ctrl-C.\n\n") +
                   kCommonOptions;
    }
}

bool ParseCommandLine(int argc, const char* const* argv, Options& out, std::string& error) {
    out = Options{};
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        bool hasValue = false;
        if (arg.rfind("--", 0) == 0) {
            const size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg.resize(eq);
                hasValue = true;
            }
        }
        auto needValue = [&](std::string& slot) {
            if (!hasValue) {
                if (i + 1 >= argc) {
                    error = arg + " needs a value";
                    return false;
                }
                value = argv[++i];
            }
            slot = value;
            return true;
        };
        std::string set;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--version") {
            out.version = true;
        } else if (arg == "--timeout") {
            std::string seconds;
            if (!needValue(seconds)) return false;
            if (!ParseSeconds(seconds, out.timeoutSeconds)) {
                error = "--timeout expects a positive number of seconds, got '" + seconds + "'";
                return false;
            }
        } else if (arg == "--driver") {
            if (!needValue(out.driverPath)) return false;
        } else if (arg == "--config") {
            if (!needValue(out.configPath)) return false;
        } else if (arg == "--lang") {
            if (!needValue(out.langPath)) return false;
        } else if (arg == "--exchange") {
            if (!needValue(out.exchangeDir)) return false;
        } else if (arg == "--set") {
            if (!needValue(set)) return false;
            out.sets.push_back(set);
        } else if (arg == "--auto") {
            out.autoExport = true;
        } else if (arg == "--refuse-save") {
            out.refuseSave = true;
        } else if (arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9')) {
            error = "unknown option " + arg + DidYouMean(arg, kOptionNames);
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (out.version) return true;
    if (positional.empty()) {
        out.command = out.help ? Command::Help : Command::None;
        if (!out.help) error = "no command given";
        return out.help;
    }
    out.command = CommandByName(positional[0]);
    const size_t wanted =
        (out.command == Command::Function || out.command == Command::Op) ? 2 : 1;
    if (out.command == Command::None) {
        error = "unknown command '" + positional[0] + "'" +
                DidYouMean(positional[0], kCommandNames);
        return false;
    }
    if (out.command == Command::Help) {
        if (positional.size() > 2) {
            error = "unexpected argument '" + positional[2] + "'";
            return false;
        }
        if (positional.size() > 1) out.helpTopic = positional[1];
        if (!out.helpTopic.empty() && CommandByName(out.helpTopic) == Command::None) {
            error = "no help on '" + out.helpTopic + "'" +
                    DidYouMean(out.helpTopic, kCommandNames);
            return false;
        }
        return true;
    }
    if (out.help) return true;
    if (positional.size() != wanted) {
        error = positional.size() < wanted ? "missing argument of '" + positional[0] + "'"
                                           : "unexpected argument '" + positional[wanted] + "'";
        return false;
    }
    if (wanted == 2 && !ParseInt(positional[1], out.number)) {
        error = "'" + positional[1] + "' is not a whole number";
        return false;
    }
    if (out.autoExport && out.command != Command::Export) {
        error = "--auto belongs to export";
        return false;
    }
    if (out.timeoutSeconds > 0 && out.command == Command::Info) {
        error = "--timeout belongs to the commands that run an operation";
        return false;
    }
    return true;
}

}  // namespace host
