// skalnix-host: runs the scale driver the way the back office does.
#include <cstdio>

#include "cli.h"
#include "commands.h"
#include "hostos.h"
#include "targodll.h"

int main(int argc, char** argv) {
    using namespace host;
    PrepareConsole();
    Options options;
    std::string error;
    if (!ParseCommandLine(argc, argv, options, error)) {
        const bool known = options.command != Command::None && options.command != Command::Help;
        std::fprintf(stderr, "skalnix-host: %s\nRun 'skalnix-host %s--help' for usage.\n",
                     error.c_str(), known ? (CommandWord(options.command) + " ").c_str() : "");
        return kExitUsage;
    }
    if (options.version) {
        std::fputs(VersionText().c_str(), stdout);
        return kExitOk;
    }
    if (options.command == Command::Help || options.help) {
        const Command topic = options.command == Command::Help
                                  ? CommandByName(options.helpTopic)
                                  : options.command;
        std::fputs(UsageText(topic).c_str(), stdout);
        return kExitOk;
    }
    switch (options.command) {
        case Command::Info: return RunInfo(options);
        case Command::Export: return RunOperation(options, options.autoExport ? TARGO_OP_AUTO_EXPORT : TARGO_OP_EXPORT, 0);
        case Command::Test: return RunOperation(options, TARGO_OP_CONNECTION_TEST, 0);
        case Command::Function: return RunOperation(options, TARGO_OP_ADDITIONAL_FUNCTION, options.number);
        case Command::Op: return RunOperation(options, options.number, 0);
        default: return kExitUsage;
    }
}
