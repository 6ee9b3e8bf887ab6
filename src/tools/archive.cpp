// TLTools archive of exchanged files: copies appended to a running archive behind a header,
// and the shift of numbered archive generations (base_0001.ext, base_0002.ext, ...).
#include "platform/platform.h"
#include "runtime/dttools.h"
#include "runtime/lgtools.h"
#include "runtime/mfile.h"
#include "tools/archive_copy.h"
#include "tools/ltools.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>
#include <utility>

namespace {

const char kModule[] = "kstools_LTools";
constexpr std::size_t kArchiveWriteSize = 1 << 20;
constexpr std::size_t kArchiveReadSize = 1 << 20;

// Copies `source` to the end of `archive` with every line ending in CR LF, as reading it line
// by line and writing each line with CR LF would. Lines already ending in CR LF are the same
// bytes in both files, so they are written straight from the block read, in large runs.
void CopyWithCrLf(TMFile& source, TMFile& archive) {
    std::vector<char> block(kArchiveReadSize);
    bool skipLf = false;    // the previous block ended in CR: an LF starting this one belongs to it
    bool openLine = false;  // bytes were copied after the last line end
    for (;;) {
        const std::size_t n = source.Read(block.data(), block.size());
        if (n == 0) break;
        const char* p = block.data();
        const char* const end = p + n;
        if (skipLf && *p == '\n') ++p;
        skipLf = false;
        const char* run = p;  // start of the bytes written as they are
        const char* lf = nullptr;  // the next LF at or after p, searched once per LF
        while (p != end) {
            if (lf == nullptr || lf < p) {
                lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
                if (lf == nullptr) lf = end;
            }
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(lf - p)));
            if (cr != nullptr && lf != end && cr + 1 == lf) {  // CR LF: stays in the run
                p = lf + 1;
                openLine = false;
                continue;
            }
            if (cr != nullptr) {  // a lone CR, or one whose LF may start the next block
                archive.Write(run, static_cast<std::size_t>(cr + 1 - run));
                archive.Write("\n", 1);
                p = run = cr + 1;
                skipLf = p == end;
                openLine = false;
                continue;
            }
            if (lf != end) {  // a lone LF
                archive.Write(run, static_cast<std::size_t>(lf - run));
                archive.Write("\r\n", 2);
                p = run = lf + 1;
                openLine = false;
                continue;
            }
            p = end;  // the rest of the block has no line end
            openLine = true;
        }
        archive.Write(run, static_cast<std::size_t>(end - run));
    }
    if (openLine) archive.Write("\r\n", 2);  // the last line had no line end
}

// The line naming the kind of an export; empty for kinds without one.
std::string KindLine(const TMLgExtTools* lg, int kind) {
    switch (kind) {
        case 0: return GetString(lg, kModule, "sArchiveFto_fileWriteLin", 0, "OTWARTA ZM. FISK.");
        case 1:
            return GetString(lg, kModule, "sArchiveFto_fileWriteLin_00001", 0,
                             "ZAMKNIETA ZM. FISK.");
        case 2: return GetString(lg, kModule, "sArchiveFto_fileWriteLin_00002", 0, "WSZYSTKIE");
        case 3:
            return GetString(lg, kModule, "sArchiveFto_fileWriteLin_00003", 0, "ZMIANA LISTY");
        default: return {};
    }
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// The generation number of `name` when it is base_<digits>.ext, else -1.
int GenerationOf(const std::string& name, const std::string& base, const std::string& ext) {
    const std::size_t head = base.size() + 1;  // base and "_"
    const std::size_t tail = ext.size() + 1;   // "." and ext
    if (name.size() <= head + tail) return -1;
    if (!SameTextIgnoringCase(name.substr(0, head), base + "_") ||
        !SameTextIgnoringCase(name.substr(name.size() - tail), "." + ext))
        return -1;
    const std::string digits = name.substr(head, name.size() - head - tail);
    if (digits.size() > 9) return -1;  // keeps n + 1 within an int
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::string GenerationName(const std::string& base, int n, const std::string& ext) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", n);
    return base + "_" + number + "." + ext;
}

}  // namespace

ArchiveCopy::ArchiveCopy(const std::string& archivePath, const TMLgExtTools* lg, bool isExport,
                         int kind, bool header, const std::string& extraLine) {
    archive_.SetPath(archivePath);
    archive_.SetReadOnly(false);
    archive_.Open();
    archive_.SetPointer(archive_.GetSize());

    if (header) {
        const std::string when = TdtTools::Now().ToString(7);
        if (isExport) {
            archive_.WriteLine(GetString(lg, kModule, "oolsArchiveFlineAnsiStri", 0,
                                         "\r\n----------- [EKSPORT WYKONANY DNIA: ") +
                                   when + "] ------------",
                               "\r\n");
            if (kind >= 0 && kind <= 3) archive_.WriteLine(KindLine(lg, kind), "\r\n");
        } else {
            archive_.WriteLine(GetString(lg, kModule, "oolsArchiveFlineAnsiStri_00001", 0,
                                         "\r\n------------ [IMPORT WYKONANY DNIA: ") +
                                   when + "] ------------",
                               "\r\n");
        }
    }
    if (!extraLine.empty()) archive_.WriteLine(extraLine, "\r\n");
}

void ArchiveCopy::AddLine(std::string_view line) {
    // Lines are gathered into large writes: a goods list has hundreds of thousands of them.
    pending_.append(line).append("\r\n");
    if (pending_.size() >= kArchiveWriteSize) {
        archive_.Write(pending_.data(), pending_.size());
        pending_.clear();
    }
}

void ArchiveCopy::AddCrLfLines(std::string_view lines) {
    // Many lines at once are written as they are, after what is gathered, without a copy.
    if (lines.size() >= kArchiveWriteSize / 16) {
        if (!pending_.empty()) archive_.Write(pending_.data(), pending_.size());
        pending_.clear();
        archive_.Write(lines.data(), lines.size());
        return;
    }
    pending_.append(lines);
    if (pending_.size() >= kArchiveWriteSize) {
        archive_.Write(pending_.data(), pending_.size());
        pending_.clear();
    }
}

void ArchiveCopy::AddFile(TMFile& source) {
    archive_.Write(pending_.data(), pending_.size());
    pending_.clear();
    CopyWithCrLf(source, archive_);
}

void ArchiveCopy::Close() {
    archive_.Write(pending_.data(), pending_.size());
    pending_.clear();
    archive_.Close();
}

void TLTools::ArchiveFile(const std::string& path, const std::string& archivePath,
                          const TMLgExtTools* lg, bool isExport, int kind, bool header,
                          const std::string& extraLine) {
    if (!platform::env().FileExists(path)) return;

    TMFile source;
    source.SetPath(path);
    source.SetReadOnly(true);
    source.Open();

    // A file archived into itself is read completely first; copying it line by line while
    // appending to it would never reach its end.
    std::vector<std::string> lines;
    const bool intoItself = archivePath == path;
    if (intoItself) {
        std::string line;
        while (source.ReadLine(line, "\r\n")) lines.push_back(line);
        source.Close();
    }

    if (!intoItself) StartNewGenerationWhenFull(archivePath);
    ArchiveCopy archive(archivePath, lg, isExport, kind, header, extraLine);
    if (intoItself) {
        for (const std::string& line : lines) archive.AddLine(line);
    } else {
        archive.AddFile(source);
        source.Close();
    }
    archive.Close();
}

void TLTools::StartNewGenerationWhenFull(const std::string& archivePath) {
    if (!platform::env().FileExists(archivePath)) return;
    long long size = 0;
    {
        TMFile archive;
        archive.SetPath(archivePath);
        archive.SetReadOnly(true);
        archive.Open();
        size = static_cast<long long>(archive.GetSize());
        archive.Close();
    }
    if (size <= kArchiveLimitBytes) return;
    ArchiveFileUpdateFileNames(archivePath);
    std::size_t cut = archivePath.size();
    while (cut > 0 && !platform::IsPathSeparator(archivePath[cut - 1])) --cut;
    const std::string name = archivePath.substr(cut);
    const std::size_t dot = name.find('.');
    const std::string base = dot == std::string::npos ? std::string() : name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? name : name.substr(dot + 1);
    // When the rename fails the copy is appended to the full archive: nothing is lost.
    platform::env().RenameFile(archivePath, archivePath.substr(0, cut) + GenerationName(base, 1, ext));
}

void TLTools::ArchiveFileUpdateFileNames(const std::string& archivePath) {
    try {
        std::size_t cut = archivePath.size();
        while (cut > 0 && !platform::IsPathSeparator(archivePath[cut - 1])) --cut;
        const std::string dir = archivePath.substr(0, cut);
        const std::string name = archivePath.substr(cut);
        const std::size_t dot = name.find('.');
        const std::string base = dot == std::string::npos ? std::string() : name.substr(0, dot);
        const std::string ext = dot == std::string::npos ? name : name.substr(dot + 1);

        // The number is read between base + "_" and "." + ext, so a base holding "_" and
        // generations past 9999 are numbered right.
        std::vector<std::pair<int, std::string>> generations;
        for (const std::string& entry : platform::env().FindFiles(dir + base + "_*." + ext, false)) {
            const int n = GenerationOf(entry, base, ext);
            if (n >= 0) generations.emplace_back(n, entry);
        }
        // Highest generation first, so that every target name is already free.
        std::sort(generations.begin(), generations.end(),
                  [](const auto& a, const auto& b) { return a > b; });
        for (const auto& [n, entry] : generations)
            platform::env().RenameFile(dir + entry, dir + GenerationName(base, n + 1, ext));
    } catch (...) {
        // Shifting generations is housekeeping: a failure leaves the names as they are.
    }
}
