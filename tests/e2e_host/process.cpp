#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {
namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// In a forked child: runs the program with its arguments, or ends the child with status 127.
[[noreturn]] void ExecOrExit(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

}  // namespace

RunResult Run(const RunRequest& request) {
    RunResult result;
    const std::string outPath = request.workDir + "/.stdout", errPath = request.workDir + "/.stderr";
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || chdir(request.workDir.c_str()) != 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        ExecOrExit(request.args);
    }
    if (pid < 0) return result;

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    Clock::time_point interruptAt{};
    bool interruptArmed = false, interrupted = false;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        const auto now = Clock::now();
        if (request.interruptWhen && !interruptArmed && request.interruptWhen()) {
            interruptArmed = true;
            interruptAt = now + std::chrono::milliseconds(request.interruptDelayMs);
        }
        if (interruptArmed && !interrupted && now >= interruptAt) {
            kill(pid, SIGINT);
            interrupted = true;
        }
        if (now - start > std::chrono::milliseconds(request.timeoutMs)) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!result.timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    return result;
}

RunResult RunInTerminal(const RunRequest& request, int columns,
                        const std::vector<std::string>& environment) {
    RunResult result;
    winsize size{};
    size.ws_row = 40;
    size.ws_col = static_cast<unsigned short>(columns);
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, &size);
    if (pid == 0) {
        if (chdir(request.workDir.c_str()) != 0) _exit(127);
        setenv("TERM", "xterm", 1);
        unsetenv("NO_COLOR");
        for (const auto& e : environment) putenv(const_cast<char*>(e.c_str()));
        ExecOrExit(request.args);
    }
    if (pid < 0) return result;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    // Read until the terminal closes (the program and its children are gone).
    while (true) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char buffer[4096];
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0) break;
            result.out.append(buffer, static_cast<size_t>(n));
        }
        if (Clock::now() - start > std::chrono::milliseconds(request.timeoutMs)) {
            kill(pid, SIGKILL);
            result.timedOut = true;
            break;
        }
    }
    close(master);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!result.timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

}  // namespace e2e
