// The subcommands of skalnix-host; each returns the program's exit status.
#pragma once

#include "cli.h"

namespace host {

enum ExitStatus {
    kExitOk = 0,
    kExitErrorLines = 1,   // the operation posted error lines
    kExitUsage = 2,        // usage or configuration error
    kExitNoDriver = 3,     // the driver could not be loaded or the operation not run
    kExitTimedOut = 124,   // stopped because --timeout passed
    kExitInterrupted = 130 // stopped with Ctrl-C
};

int RunInfo(const Options& options);
// Runs one operation code with flags (export, test, function, op).
int RunOperation(const Options& options, int code, int flags);

}  // namespace host
