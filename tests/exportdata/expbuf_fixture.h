// Helpers of the export-buffer tests: the message of a throw and a complete goods line; the
// stage recorder, key-echo language and file helpers are shared from tests/support.
#pragma once

#include <exception>
#include <string>

#include "exportdata/ksexpbuf.h"
#include "support/file_bytes.h"
#include "support/recording_progress.h"
#include "support/test_host.h"

// The message of whatever `f` throws; empty when it does not throw.
template <typename F>
std::string ThrownMessage(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return std::string();
}

// A goods line with every required field; `tail` is appended after field 19.
inline std::string GoodsLine(const std::string& plu = "1", const std::string& code = "5901234123457",
                             const std::string& action = "DOD", const std::string& tail = "") {
    return "PLU;" + plu + ";5;" + code + ";Chleb;100;90;80;70;23;1;F;0;F;F;T;0;;3;" + action + tail;
}
