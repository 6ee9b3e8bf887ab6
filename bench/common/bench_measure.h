// Small measuring helpers of the benchmarks: wall time, peak memory, temporary directory.
#pragma once

#include <chrono>
#include <string>

namespace benchgen {

// Wall time and the process's CPU time (user + system) since construction. On a shared
// machine the CPU time tells the cost of the code when other processes take the cores.
class Stopwatch {
public:
    Stopwatch() : start_(std::chrono::steady_clock::now()), cpuStart_(CpuSeconds()) {}
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    double CpuSecondsSpent() const { return CpuSeconds() - cpuStart_; }
    static double CpuSeconds();

private:
    std::chrono::steady_clock::time_point start_;
    double cpuStart_;
};

// Peak resident set size of this process so far, in bytes.
long long PeakRssBytes();

// A fresh directory under the system's temporary directory, removed with its files by the
// destructor unless Keep() was called.
class BenchDir {
public:
    BenchDir();
    ~BenchDir();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    void Keep() { keep_ = true; }

private:
    std::string path_;
    bool keep_ = false;
};

// Seconds that `cat path > /dev/null` takes: the plain cost of reading the file.
double CatSeconds(const std::string& path);

}  // namespace benchgen
