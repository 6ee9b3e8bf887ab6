// Shared by the fuzz targets: oracle failures, a reusable work directory per process, whole-file
// helpers and a reference line splitter.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// An output the oracle proves wrong: the message goes to stderr and the abort makes libFuzzer
// keep the input that caused it.
[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "ORACLE FAILED: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void Expect(bool holds, const std::string& what) {
    if (!holds) Fail(what);
}

// A directory of this process under the temporary directory, made once and kept for every
// input, so that an input costs no directory creation; removed when the process ends normally.
class WorkDir {
public:
    explicit WorkDir(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("skalnix-fuzz-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~WorkDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Removes everything inside `dir`, keeping the directory.
inline void EmptyDirectory(const std::filesystem::path& dir) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        std::filesystem::remove_all(entry.path(), ec);
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!out) Fail("cannot write " + path.string());
}

// Lines as a reader of this format must hand them out: a line ends at CR LF, LF or a lone CR;
// the end of the text right after a line end adds no empty line.
inline std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

// Fields of a line split at ';' (a trailing ';' adds no empty field).
inline std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ';') {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < line.size()) fields.push_back(line.substr(start));
    return fields;
}

// The text without the bytes 0-32 at either end.
inline std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return text;
}

// The goods lines of an export file: a trimmed line whose first field is exactly "PLU".
inline std::vector<std::vector<std::string_view>> GoodsLines(std::string_view file) {
    std::vector<std::vector<std::string_view>> goods;
    for (std::string_view line : SplitLines(file)) {
        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed.substr(0, 3) == "PLU" && (trimmed.size() == 3 || trimmed[3] == ';'))
            goods.push_back(SplitFields(trimmed));
    }
    return goods;
}

}  // namespace fuzz
