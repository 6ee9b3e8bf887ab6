// Command line of skalnix-host: git-style subcommands with shared options.
#pragma once

#include <string>
#include <vector>

namespace host {

enum class Command { None, Help, Info, Export, Test, Function, Op };

struct Options {
    Command command = Command::None;
    bool help = false;            // --help of the command (or of the program)
    bool version = false;         // --version
    std::string driverPath;       // --driver
    std::string configPath;       // --config
    std::vector<std::string> sets;// --set NAME=VALUE, in order
    std::string langPath;         // --lang
    std::string exchangeDir;      // --exchange
    bool autoExport = false;      // export --auto
    bool refuseSave = false;      // --refuse-save
    double timeoutSeconds = 0;    // --timeout SECONDS; 0: wait as long as the driver does
    int number = 0;               // function N / op CODE
    std::string helpTopic;        // help COMMAND
};

// Parses argv; false with `error` on a usage error.
bool ParseCommandLine(int argc, const char* const* argv, Options& out, std::string& error);

// The usage text of the program (Command::None / Help) or of one command.
std::string UsageText(Command command);

// The program's name and version, as --version prints it.
std::string VersionText();

// The word that names `command` on the command line ("" for none).
std::string CommandWord(Command command);

// The command named `name`, or Command::None.
Command CommandByName(const std::string& name);

}  // namespace host
