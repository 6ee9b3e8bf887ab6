// DibalCom's report on the record file: it marks each line it has sent with '*' as the line's
// third character.
#pragma once

#include <string>
#include <vector>

namespace dibal {

// One entry per line of the record file (lines end with CR, LF or CR LF): whether it carries
// the mark. Throws when the file cannot be opened.
std::vector<bool> ReadMarks(const std::string& path);

// As ReadMarks, but a file that cannot be read gives the lines read so far.
std::vector<bool> ReadMarksSoFar(const std::string& path);

}  // namespace dibal
