// Bounded transfers between the driver's texts and the host's buffers.
#include "plugin/hostbuffer.h"

#include <algorithm>
#include <cstring>

#include "runtime/xtools.h"

namespace hostbuf {

void CopyOut(char* buf, const std::string& text) {
    if (buf == nullptr) return;
    // Up to the first zero byte, as a C string copy would stop there.
    const std::size_t n = std::min({text.find('\0'), text.size(), kMaxText});
    std::memcpy(buf, text.data(), n);
    std::memset(buf + n, 0, kMaxText - n);
    buf[kMaxText] = '\0';
}

std::string Outgoing(const std::string& text) {
    std::string out = Trim(text);
    if (out.size() > kMaxText) out.resize(kMaxText);
    return out;
}

std::string ReadIn(const char* buf, std::size_t maxChars) {
    if (buf == nullptr) return std::string();
    return std::string(buf, ::strnlen(buf, maxChars));
}

}  // namespace hostbuf
