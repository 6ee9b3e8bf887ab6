// DibalCom's report on the record file: it marks each line it has sent with '*' as the line's
// third character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dibal {

// One entry per line of the record file (lines end with CR, LF or CR LF): whether it carries
// the mark, for following the transfer. A file that cannot be read gives the lines read so far.
std::vector<bool> ReadMarksSoFar(const std::string& path);

// How DibalCom left the record file the driver wrote as `written`, per line of `written` (lines
// end with CR, LF or CR LF): whether the file still holds the line in place - the same bytes at
// the same offset, but for the third character, where DibalCom puts its mark - and whether it
// carries the mark. A line the file lacks, or holds changed or moved, is not in place and counts
// as unmarked: only what is seen in the file counts as sent. Throws when the file cannot be
// opened or read.
struct RecordReport {
    std::vector<bool> inPlace;
    std::vector<bool> marked;
};
RecordReport ReadRecordReport(const std::string& path, const std::string& written);
// The same for a record file written as the pieces of `written`, one after another.
RecordReport ReadRecordReport(const std::string& path,
                              const std::vector<std::string_view>& written);

}  // namespace dibal
