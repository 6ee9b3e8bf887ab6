// The few operating-system services the host program needs beyond the standard library.
#pragma once

#include <string>

namespace host {

// Directory of this program, ending with the path separator.
std::string ExecutableDir();

// Path separator of the platform ('/' or '\\').
char PathSeparator();

// Lets a Windows console show UTF-8 text and colour sequences; nothing elsewhere.
void PrepareConsole();

// Whether standard output is a terminal, and its width in columns (80 when unknown).
bool StdoutIsTerminal();
int TerminalWidth();

// Ctrl-C: the first press only sets the flag (the driver's break query answers stop); a
// second press ends the program the usual way.
void InstallInterruptHandler();
bool InterruptRequested();

}  // namespace host
