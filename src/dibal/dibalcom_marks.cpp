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

}  // namespace

RecordReport ReadRecordReport(const std::string& path, const std::string& written) {
    // Only as many bytes as were written can hold the written lines.
    std::string file(written.size(), '\0');
    {
        TMFile reader;
        reader.SetPath(path);
        reader.SetReadOnly(true);
        reader.Open();
        std::size_t got = 0;
        while (got < file.size()) {
            const std::size_t n = reader.Read(file.data() + got, file.size() - got);
            if (n == 0) break;
            got += n;
        }
        reader.Close();
        file.resize(got);
    }
    RecordReport report;
    for (std::size_t start = 0; start < written.size();) {
        std::size_t end = written.find_first_of("\r\n", start);
        std::size_t next = written.size();
        if (end == std::string::npos)
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
                          file.compare(start, 2, written, start, 2) == 0 &&
                          file.compare(mark + 1, next - mark - 1, written, mark + 1,
                                       next - mark - 1) == 0;
            } else {
                inPlace = file.compare(start, next - start, written, start, next - start) == 0;
            }
        }
        report.inPlace.push_back(inPlace);
        report.marked.push_back(inPlace && marked);
        start = next;
    }
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
