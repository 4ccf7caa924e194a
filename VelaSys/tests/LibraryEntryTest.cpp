// The load and unload lines of the library: written to the debug channel by debug builds only.
// The test runs this program again with VELA_DEBUG naming a file, so that the lines written
// while the library loads and unloads are caught.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TerminalTempDir.h"

namespace {

TEST(LibraryEntry, LoadAndUnloadLinesOnlyInDebugBuilds) {
    TerminalTempDir dir;
    const std::filesystem::path out = dir.HostPath("debug.txt");
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = "VELA_DEBUG='" + out.string() + "' '" + self +
                                "' --gtest_filter=LibraryEntry.NoOp >/dev/null 2>&1";
    ASSERT_EQ(0, std::system(command.c_str()));
    std::ifstream in(out, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    const auto init = text.find("VELASYS.DLL Initializing!\n");
    const auto term = text.find("VELASYS.DLL Terminating!\n");
#ifdef _DEBUG
    ASSERT_NE(init, std::string::npos) << text;
    ASSERT_NE(term, std::string::npos) << text;
    EXPECT_LT(init, term);
#else
    EXPECT_EQ(init, std::string::npos) << text;
    EXPECT_EQ(term, std::string::npos) << text;
#endif
}

// Runs in the child only: loading and unloading the library is all that is wanted of it.
TEST(LibraryEntry, NoOp) {}

}  // namespace
