#include "dibal/dibalcom_marks.h"

#include "runtime/mfile.h"

namespace dibal {

namespace {

void Read(const std::string& path, std::vector<bool>& marks) {
    TMFile file;
    file.SetPath(path);
    file.SetReadOnly(true);
    file.Open();
    std::string line;
    while (file.ReadLine(line, "\r\n"))
        marks.push_back(line.size() >= 3 && line[2] == '*');
    file.Close();
}

// Adds the lines of `written` to `report`, comparing them with `file`, the bytes the record file
// holds at the same offsets (fewer where it is shorter).
void CompareLines(std::string_view written, std::string_view file, RecordReport& report) {
    for (std::size_t start = 0; start < written.size();) {
        std::size_t end = written.find_first_of("\r\n", start);
        std::size_t next = written.size();
        if (end == std::string_view::npos)
            end = written.size();
        else
            next = end + (written[end] == '\r' && end + 1 < written.size() &&
                                  written[end + 1] == '\n'
                              ? 2
                              : 1);
        bool inPlace = next <= file.size();
        bool marked = false;
        if (inPlace) {
            const std::size_t mark = start + 2;  // the third character of the line
            if (mark < end) {
                marked = file[mark] == '*';
                inPlace = (file[mark] == written[mark] || marked) &&
                          file.substr(start, 2) == written.substr(start, 2) &&
                          file.substr(mark + 1, next - mark - 1) ==
                              written.substr(mark + 1, next - mark - 1);
            } else {
                inPlace = file.substr(start, next - start) == written.substr(start, next - start);
            }
        }
        report.inPlace.push_back(inPlace);
        report.marked.push_back(inPlace && marked);
        start = next;
    }
}

// Reads up to `count` bytes, fewer only at the end of the file.
std::size_t ReadUpTo(TMFile& file, char* buffer, std::size_t count) {
    std::size_t got = 0;
    while (got < count) {
        const std::size_t n = file.Read(buffer + got, count - got);
        if (n == 0) break;
        got += n;
    }
    return got;
}

}  // namespace

RecordReport ReadRecordReport(const std::string& path, const std::string& written) {
    return ReadRecordReport(path, std::vector<std::string_view>{written});
}

RecordReport ReadRecordReport(const std::string& path,
                              const std::vector<std::string_view>& written) {
    // The file is compared a block of whole lines at a time: pieces are gathered until they
    // end with a line end and fill a block, and the file's bytes at the same offsets are read.
    constexpr std::size_t kBlock = 1 << 20;
    TMFile reader;
    reader.SetPath(path);
    reader.SetReadOnly(true);
    reader.Open();
    RecordReport report;
    std::string block, file;
    bool fileEnded = false;
    auto compareBlock = [&] {
        file.resize(block.size());
        const std::size_t got = fileEnded ? 0 : ReadUpTo(reader, file.data(), block.size());
        fileEnded = got < block.size();
        CompareLines(block, std::string_view(file.data(), got), report);
        block.clear();
    };
    for (const std::string_view piece : written) {
        block.append(piece);
        if (block.size() >= kBlock && !block.empty() && block.back() == '\n') compareBlock();
    }
    if (!block.empty()) compareBlock();
    reader.Close();
    return report;
}

std::vector<bool> ReadMarksSoFar(const std::string& path) {
    std::vector<bool> marks;
    try {
        Read(path, marks);
    } catch (...) {
    }
    return marks;
}

}  // namespace dibal
