#include "file_text.h"

#include <fstream>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace host {

#if !defined(_WIN32)
namespace {
// The pages are mapped in one go rather than one fault at a time: every byte is
// read.
#if defined(MAP_POPULATE)
constexpr int kPopulate = MAP_POPULATE;
#else
constexpr int kPopulate = 0;
#endif
}  // namespace
#endif

FileText::FileText(const std::string& path) {
#if !defined(_WIN32)
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    found_ = true;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        const auto size = static_cast<std::size_t>(st.st_size);
        void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | kPopulate, fd, 0);
        if (map != MAP_FAILED) {
            ::madvise(map, size, MADV_SEQUENTIAL);
            mapping_ = map;
            data_ = static_cast<const char*>(map);
            size_ = size;
            ::close(fd);
            return;
        }
    }
    ::close(fd);
#endif
    // Read at once into a buffer that is never cleared first.
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    found_ = static_cast<bool>(in);
    const std::streamoff size = found_ ? static_cast<std::streamoff>(in.tellg()) : 0;
    if (size <= 0) return;
    bytes_.reset(new char[static_cast<std::size_t>(size)]);
    in.seekg(0);
    in.read(bytes_.get(), size);
    data_ = bytes_.get();
    size_ = static_cast<std::size_t>(in.gcount());
}

FileText::~FileText() {
#if !defined(_WIN32)
    if (mapping_) ::munmap(mapping_, size_);
#endif
}

}  // namespace host
