// bench-reader: reads a generated export file of a million goods through the export buffer
// and writes the result file, reporting speed and peak memory.
//   bench-reader [GOODS] [--weighted PERCENT] [--repeat N] [--keep]
// With --repeat the file is read N times, each into a new buffer with a new archive copy; the
// median and the best of the runs follow. (The archive copy writes as many bytes as the file
// has, and on some machines the kernel's cost of that varies several times from run to run.)
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "bench_measure.h"
#include "export_generator.h"
#include "exportdata/ksexpbuf.h"
#include "tools/ltools.h"

int main(int argc, char** argv) {
    benchgen::ExportOptions options;
    options.goods = 1000000;
    options.weightedPercent = 20;
    bool keep = false;
    int repeats = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep") == 0)
            keep = true;
        else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeats = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--weighted") == 0 && i + 1 < argc)
            options.weightedPercent = std::atoi(argv[++i]);
        else
            options.goods = std::atoll(argv[i]);
    }
    try {
        benchgen::BenchDir dir;
        if (keep) dir.Keep();
        const std::string path = dir.File("kasa.exp");
        benchgen::Stopwatch genWatch;
        const double bytes = static_cast<double>(benchgen::WriteExportFile(path, options));
        const double mb = bytes / 1e6;
        std::printf("file        %s: %lld goods, %.1f MB, generated in %.2f s\n", path.c_str(),
                    options.goods, mb, genWatch.Seconds());

        const double cat = benchgen::CatSeconds(path);  // wall time of the child process
        std::printf("cat         %.3f s  %.0f MB/s\n", cat, cat > 0 ? mb / cat : 0.0);

        // The archive copy that ReadFromFile makes, alone, to tell its share.
        benchgen::Stopwatch archiveWatch;
        TLTools().ArchiveFile(path, dir.File("archive-alone.exp"), nullptr, true, -1, true, "");
        const double archive = archiveWatch.Seconds();
        std::printf("ArchiveFile %.3f s (cpu %.3f s)  %.0f MB/s  (part of ReadFromFile)\n",
                    archive, archiveWatch.CpuSecondsSpent(), mb / archive);
        std::remove(dir.File("archive-alone.exp").c_str());

        std::unique_ptr<KSExpBuf> last;
        std::vector<double> rates;  // MB/s of CPU time, one per run
        for (int run = 0; run < repeats; ++run) {
            last.reset();
            std::remove(dir.File("ARCH2.EXP").c_str());
            auto buf = std::make_unique<KSExpBuf>(nullptr);
            benchgen::Stopwatch readWatch;
            buf->ReadFromFile(path, false, -1);
            const double read = readWatch.Seconds();
            const double readCpu = readWatch.CpuSecondsSpent();
            const long long rssAfterRead = benchgen::PeakRssBytes();
            std::printf("ReadFromFile %.3f s  %.0f MB/s  %.0f goods/s  (%d goods)\n", read,
                        mb / read, buf->LiczbaTowarow / read, buf->LiczbaTowarow);
            std::printf("  cpu time   %.3f s  %.0f MB/s  %.0f goods/s\n", readCpu, mb / readCpu,
                        buf->LiczbaTowarow / readCpu);
            std::printf("peak RSS    %.1f MB  (%.2f x file size)\n", rssAfterRead / 1e6,
                        rssAfterRead / bytes);
            rates.push_back(mb / readCpu);
            last = std::move(buf);
        }
        if (repeats > 1) {
            std::sort(rates.begin(), rates.end());
            const std::size_t n = rates.size();
            const double median = n % 2 ? rates[n / 2] : (rates[n / 2 - 1] + rates[n / 2]) / 2;
            std::printf("ReadFromFile of %d runs: median %.0f MB/s, best %.0f MB/s of cpu time\n",
                        repeats, median, rates.back());
        }
        KSExpBuf& buf = *last;

        buf.ResetTrOk(true);
        benchgen::Stopwatch writeWatch;
        buf.ZapiszWynikEksp(dir.File("wynik.exp"));
        const double write = writeWatch.Seconds();
        std::printf("ZapiszWynikEksp %.3f s (cpu %.3f s)  %.0f goods/s  (%d lines)\n", write,
                    writeWatch.CpuSecondsSpent(), buf.LiczbaTowarow / write,
                    buf.LiczbaZapisanych);
        const long long rss = benchgen::PeakRssBytes();
        std::printf("peak RSS    %.1f MB  (%.2f x file size) at the end\n", rss / 1e6, rss / bytes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench-reader: %s\n", e.what());
        return 1;
    }
    return 0;
}
