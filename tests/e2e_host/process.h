// Runs a program as a child process for the whole-process tests of skalnix-host.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace e2e {

struct RunResult {
    int exitCode = -1;    // the exit status, -1 when ended by a signal
    bool timedOut = false;
    std::string out, err; // what it wrote to standard output and standard error
};

struct RunRequest {
    std::vector<std::string> args;  // args[0] is the program path
    std::string workDir;
    int timeoutMs = 30000;
    // When set: polled while the program runs; once it answers true, SIGINT is sent after
    // `interruptDelayMs`.
    std::function<bool()> interruptWhen;
    int interruptDelayMs = 0;
};

RunResult Run(const RunRequest& request);

// Runs the program in a pseudo-terminal of `columns` columns with TERM=xterm and the extra
// `environment` ("NAME=value"); `out` holds everything the terminal received.
RunResult RunInTerminal(const RunRequest& request, int columns,
                        const std::vector<std::string>& environment = {});

}  // namespace e2e
