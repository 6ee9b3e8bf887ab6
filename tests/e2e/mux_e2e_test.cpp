// The Elzab multiplexer switch: the bytes the driver puts on the COM port, read back from the
// master side of a pseudo-terminal that stands in for COM3.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>

#include "driver_host.h"

namespace fs = std::filesystem;

namespace {

class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            slave_ = ::ptsname(master_);
        // Keep one slave descriptor open so the master never sees a hang-up between opens.
        if (!slave_.empty())
            keepOpen_ = ::open(slave_.c_str(), O_RDWR | O_NOCTTY);
    }
    ~PseudoTerminal() {
        if (keepOpen_ >= 0)
            ::close(keepOpen_);
        if (master_ >= 0)
            ::close(master_);
    }
    const std::string& SlaveName() const { return slave_; }
    // Bytes that arrive within timeoutMs; onFirst runs as soon as the first ones are there.
    std::string Read(int timeoutMs, const std::function<void()>& onFirst) {
        std::string data;
        pollfd fd{master_, POLLIN, 0};
        while (::poll(&fd, 1, timeoutMs) > 0 && (fd.revents & POLLIN)) {
            char buffer[64];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            if (data.empty())
                onFirst();
            data.append(buffer, static_cast<std::size_t>(n));
            timeoutMs = 200;  // the rest follows closely
        }
        return data;
    }

private:
    int master_ = -1;
    int keepOpen_ = -1;
    std::string slave_;
};

TEST(MuxE2E, ChannelBytesGoOutBeforeDibalComStarts) {
    Workspace work;
    PseudoTerminal terminal;
    ASSERT_FALSE(terminal.SlaveName().empty());
    ::setenv("SKALNIX_COM3", terminal.SlaveName().c_str(), 1);

    // Read the port while the export runs; note whether the stand-in had started by then.
    std::string received;
    std::atomic<bool> standInRunningAtArrival{true};
    std::thread reader([&] {
        received = terminal.Read(10000, [&] {
            standInRunningAtArrival = fs::exists(work.Driver() / "dibalcom.log");
        });
    });

    DriverHost host;
    host.exchangeDir = work.Exchange().string() + "/";
    host.params = DefaultParams(work.Driver());
    host.params["DibalPort"] = "3";
    host.params["DibalMuxChannel"] = "3";
    WriteAll(work.Exchange() / "kasa.exp",
             "PLU;1;0;11;Chleb;250;240;230;220;5;1;T;3;F;F;F;;0;0;DOD\r\n");
    work.InstallStandIn("idle_exit_s=20\n");

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
    reader.join();
    ::unsetenv("SKALNIX_COM3");

    EXPECT_TRUE(host.Errors().empty());
    EXPECT_EQ(received, std::string("\xFE\x03", 2));
    EXPECT_FALSE(standInRunningAtArrival);
    const std::string options = ReadAll(work.Driver() / "dibctrl.txt");
    EXPECT_NE(options.find("-p COM3\r\n"), std::string::npos);
    EXPECT_EQ(options.substr(options.size() - 18), "-d 00#\r\n-G \r\n-C \r\n");
    EXPECT_TRUE(work.WaitForLogLine("exit", 5000));
    EXPECT_EQ(work.Commands(), (std::vector<std::string>{"R", "s", "S", "G"}));
    EXPECT_EQ(ReadAll(work.Exchange() / "wynik.exp"), "PLU;1;0;11;DOD\r\n");
}

}  // namespace
