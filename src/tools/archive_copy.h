// One copy being appended to an archive of exchanged files: the header lines of an export or an
// import, then the copied lines, each ending in CR LF, gathered into large writes.
#pragma once

#include <string>
#include <string_view>

#include "runtime/mfile.h"

class TMLgExtTools;

class ArchiveCopy {
public:
    // Opens the archive (created when missing) at its end and writes the header lines.
    ArchiveCopy(const std::string& archivePath, const TMLgExtTools* lg, bool isExport, int kind,
                bool header, const std::string& extraLine);
    ArchiveCopy(const ArchiveCopy&) = delete;
    ArchiveCopy& operator=(const ArchiveCopy&) = delete;

    // One line of the copied file, without its line end.
    void AddLine(std::string_view line);
    // Whole lines of the copied file that already end in CR LF, as they are.
    void AddCrLfLines(std::string_view lines);
    // The rest of an open file, with every line end made CR LF.
    void AddFile(TMFile& source);
    // Writes what is gathered and closes the archive; a failure is the runtime's file error.
    void Close();

private:
    TMFile archive_;
    std::string pending_;
};
