// Runs this test program again with VELA_DEBUG naming a file and only the given tests, and gives
// back what the child wrote to the debug channel: how tests catch the lines a library writes
// while it loads and unloads, which happens outside any test of the parent.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TerminalTempDir.h"

inline std::string ChildDebugOutput(const std::string& gtestFilter) {
    TerminalTempDir dir;
    const std::filesystem::path out = dir.HostPath("debug.txt");
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = "VELA_DEBUG='" + out.string() + "' '" + self + "' --gtest_filter=" + gtestFilter +
                                " >/dev/null 2>&1";
    EXPECT_EQ(0, std::system(command.c_str())) << command;
    std::ifstream in(out, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
