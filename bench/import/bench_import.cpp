// bench-import: fills the sales import buffer with goods lines and writes the import file,
// pauses included, reporting time and throughput.
//   bench-import [LINES] [--keep]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "bench_measure.h"
#include "importdata/ksimpbuf.h"
#include "importdata/writepause.h"
#include "platform/platform.h"

namespace {

int g_pauses = 0;
int g_pausedMs = 0;

// The real system, counting the writer's pauses.
class CountingSleep : public platform::EnvWrapper {
public:
    CountingSleep() : EnvWrapper(platform::DefaultEnv()) {}
    void SleepMs(int milliseconds) override {
        ++g_pauses;
        g_pausedMs += milliseconds;
        target().SleepMs(milliseconds);
    }
};

}  // namespace

int main(int argc, char** argv) {
    int lines = 100000;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep") == 0)
            keep = true;
        else
            lines = std::atoi(argv[i]);
    }
    try {
        benchgen::BenchDir dir;
        if (keep) dir.Keep();
        const std::string path = dir.File("import.txt");
        CountingSleep counting;
        platform::ScopedEnv countingScope(counting);

        KSImpBuf buf;
        buf.DataSprzedazy = TdtTools(45000.5);
        benchgen::Stopwatch fill;
        for (int i = 0; i < lines; ++i) {
            // EAN-like codes in the second column, short codes in the first.
            const std::string code = i % 4 == 0 ? std::to_string(i) : "590" + std::to_string(1000000000 + i);
            buf.AddPlu(code, 1 + i % 7, 100 + (i * 37) % 100000, i % 4 == 0 ? ident_1 : ident_2);
            buf.AddBruTax(1 + i % 5, 100);
        }
        const double fillSeconds = fill.Seconds();

        benchgen::Stopwatch write;
        buf.Save(path, true);
        const double writeSeconds = write.Seconds();

        std::FILE* f = std::fopen(path.c_str(), "rb");
        long bytes = 0;
        if (f) {
            std::fseek(f, 0, SEEK_END);
            bytes = std::ftell(f);
            std::fclose(f);
        }
        const double mb = static_cast<double>(bytes) / 1e6;
        std::printf("fill        %d goods lines in %.3f s\n", lines, fillSeconds);
        std::printf("write       %s: %.1f MB in %.3f s  %.0f lines/s  %.1f MB/s\n", path.c_str(),
                    mb, writeSeconds, writeSeconds > 0 ? lines / writeSeconds : 0.0,
                    writeSeconds > 0 ? mb / writeSeconds : 0.0);
        std::printf("pauses      %d x 20 ms = %.2f s of the write\n", g_pauses,
                    g_pausedMs / 1000.0);
        std::printf("peak RSS    %.1f MB\n", benchgen::PeakRssBytes() / 1e6);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench-import: %s\n", e.what());
        return 1;
    }
}
