#include "cli.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

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

const char* kCommonOptions =
    "Options:\n"
    "  --driver PATH      the driver library (default: the one next to this program)\n"
    "  --config FILE      INI file with [host] and [driver] settings\n"
    "  --set NAME=VALUE   set a driver parameter (repeatable; wins over the file)\n"
    "  --lang FILE        translation file for the driver's texts\n"
    "  --exchange DIR     exchange directory (wins over the file)\n"
    "  --help             this help\n";

}  // namespace

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
                   kCommonOptions;
        case Command::Test:
            return std::string("usage: skalnix-host test [options]\n\n"
                               "Runs the connection test (operation -1).\n\n") +
                   kCommonOptions;
        case Command::Function:
            return std::string("usage: skalnix-host function N [options]\n\n"
                               "Runs additional function N (operation -8); `info` lists them.\n\n") +
                   kCommonOptions;
        case Command::Op:
            return std::string("usage: skalnix-host op CODE [--refuse-save] [options]\n\n"
                               "Runs the operation with the given code (for example -3).\n\n") +
                   kCommonOptions;
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
                       "130 stopped with Ctrl-C.\n\n") +
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
            error = "unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty()) {
        out.command = out.help ? Command::Help : Command::None;
        if (!out.help) error = "no command given";
        return out.help;
    }
    out.command = CommandByName(positional[0]);
    const size_t wanted =
        (out.command == Command::Function || out.command == Command::Op) ? 2 : 1;
    if (out.command == Command::None) {
        error = "unknown command '" + positional[0] + "'";
        return false;
    }
    if (out.command == Command::Help) {
        if (positional.size() > 1) out.helpTopic = positional[1];
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
    return true;
}

}  // namespace host
