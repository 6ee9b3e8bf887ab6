// A temporary file path of the running test alone: ctest runs every test in its own process and
// in parallel, so a fixed name in the shared temporary folder would be written by two at once.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace host {

inline std::filesystem::path UniqueTempFile(const std::string& stem, const std::string& ext) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string test = info ? std::string(info->test_suite_name()) + "." + info->name() : "";
    return std::filesystem::path(::testing::TempDir()) /
           (stem + "_" + test + "_" + std::to_string(getpid()) + ext);
}

}  // namespace host
