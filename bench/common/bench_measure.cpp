// Measuring helpers of the benchmarks (POSIX only; benchmarks are not built for Windows).
#include "bench_measure.h"

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace benchgen {

long long PeakRssBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
}

double Stopwatch::CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

BenchDir::BenchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skalnix-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
}

BenchDir::~BenchDir() {
    if (keep_) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

double CatSeconds(const std::string& path) {
    Stopwatch watch;
    const std::string command = "cat '" + path + "' > /dev/null";
    if (std::system(command.c_str()) != 0) return -1;
    return watch.Seconds();
}

}  // namespace benchgen
