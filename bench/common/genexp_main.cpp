// skalnix-genexp: writes a deterministic export file for benchmarks.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "export_generator.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: skalnix-genexp OUTPUT N [--weighted PERCENT] [--prefix 21] [--seed S]\n");
    return 2;
}

bool ParseNumber(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end && *end == '\0' && end != text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    benchgen::ExportOptions options;
    if (!ParseNumber(argv[2], options.goods) || options.goods < 0) return Usage();
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        long long n = 0;
        if (arg == "--weighted") {
            if (!ParseNumber(argv[++i], n) || n < 0 || n > 100) return Usage();
            options.weightedPercent = static_cast<int>(n);
        } else if (arg == "--prefix") {
            options.prefix = argv[++i];
            if (options.prefix.empty() || options.prefix.size() > 7 ||
                options.prefix.find_first_not_of("0123456789") != std::string::npos)
                return Usage();
        } else if (arg == "--seed") {
            if (!ParseNumber(argv[++i], n)) return Usage();
            options.seed = static_cast<std::uint64_t>(n);
        } else {
            return Usage();
        }
    }
    try {
        const auto size = benchgen::WriteExportFile(argv[1], options);
        std::printf("%s: %lld goods, %llu bytes\n", argv[1], options.goods,
                    static_cast<unsigned long long>(size));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skalnix-genexp: %s\n", e.what());
        return 1;
    }
    return 0;
}
