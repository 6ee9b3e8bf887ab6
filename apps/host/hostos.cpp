#include "hostos.h"

#include <csignal>
#include <filesystem>

#if defined(_WIN32)
#  include <io.h>
#  include <windows.h>
#else
#  include <signal.h>
#  include <sys/ioctl.h>
#  include <unistd.h>
#endif

namespace host {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

#if defined(_WIN32)
BOOL WINAPI OnConsoleCtrl(DWORD type) {
    if (type != CTRL_C_EVENT || g_interrupted) return FALSE;
    g_interrupted = 1;
    return TRUE;
}
#else
void OnSigint(int) { g_interrupted = 1; }
#endif

}  // namespace

char PathSeparator() {
#if defined(_WIN32)
    return '\\';
#else
    return '/';
#endif
}

std::string ExecutableDir() {
    std::filesystem::path self;
#if defined(_WIN32)
    char buf[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    self = std::string(buf, n);
#else
    std::error_code ec;
    self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::string();
#endif
    std::string dir = self.parent_path().string();
    if (!dir.empty() && dir.back() != PathSeparator()) dir += PathSeparator();
    return dir;
}

void PrepareConsole() {
#if defined(_WIN32)
    SetConsoleOutputCP(CP_UTF8);
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode))
        SetConsoleMode(out, mode | 0x0004 /* ENABLE_VIRTUAL_TERMINAL_PROCESSING */);
#endif
}

bool StdoutIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stdout)) != 0;
#else
    return isatty(STDOUT_FILENO) != 0;
#endif
}

int TerminalWidth() {
#if defined(_WIN32)
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
#else
    winsize ws{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0) return ws.ws_col;
#endif
    return 80;
}

void InstallInterruptHandler() {
#if defined(_WIN32)
    SetConsoleCtrlHandler(OnConsoleCtrl, TRUE);
#else
    struct sigaction sa {};
    sa.sa_handler = OnSigint;
    sa.sa_flags = SA_RESETHAND;  // the second Ctrl-C ends the program
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
#endif
}

bool InterruptRequested() { return g_interrupted != 0; }

}  // namespace host
