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

std::vector<bool> ReadMarks(const std::string& path) {
    std::vector<bool> marks;
    Read(path, marks);
    return marks;
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
