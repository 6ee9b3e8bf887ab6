// bench-reader: reads a generated export file of a million goods through the export buffer
// and writes the result file, reporting speed and peak memory.
//   bench-reader [GOODS] [--weighted PERCENT] [--keep]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "bench_measure.h"
#include "export_generator.h"
#include "exportdata/ksexpbuf.h"
#include "tools/ltools.h"

int main(int argc, char** argv) {
    benchgen::ExportOptions options;
    options.goods = 1000000;
    options.weightedPercent = 20;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep") == 0)
            keep = true;
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

        KSExpBuf buf(nullptr);
        benchgen::Stopwatch readWatch;
        buf.ReadFromFile(path, false, -1);
        const double read = readWatch.Seconds();
        const double readCpu = readWatch.CpuSecondsSpent();
        const long long rssAfterRead = benchgen::PeakRssBytes();
        std::printf("ReadFromFile %.3f s  %.0f MB/s  %.0f goods/s  (%d goods)\n", read, mb / read,
                    buf.LiczbaTowarow / read, buf.LiczbaTowarow);
        std::printf("  cpu time   %.3f s  %.0f MB/s  %.0f goods/s\n", readCpu, mb / readCpu,
                    buf.LiczbaTowarow / readCpu);
        std::printf("peak RSS    %.1f MB  (%.2f x file size)\n", rssAfterRead / 1e6,
                    rssAfterRead / bytes);

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
