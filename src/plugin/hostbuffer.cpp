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

const char* OutgoingCStr(const std::string& text, std::string& scratch) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    if (e == text.size() && e - b <= kMaxText) return text.c_str() + b;
    scratch.assign(text, b, std::min(e - b, kMaxText));
    return scratch.c_str();
}

std::string ReadIn(const char* buf, std::size_t maxChars) {
    if (buf == nullptr) return std::string();
    return std::string(buf, ::strnlen(buf, maxChars));
}

}  // namespace hostbuf
