// A fresh path in the tests' temporary directory, unique to the running test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace notavera::test {

inline std::filesystem::path TempPath(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string test = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : test)
        if (c == '/') c = '_';
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "notavera" / test;
    std::filesystem::create_directories(dir);
    const std::filesystem::path p = dir / name;
    std::filesystem::remove(p);
    return p;
}

}  // namespace notavera::test
