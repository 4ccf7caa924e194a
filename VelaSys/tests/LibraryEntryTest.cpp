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

#include "ChildDebugOutput.h"

namespace {

TEST(LibraryEntry, LoadAndUnloadLinesOnlyInDebugBuilds) {
    const std::string text = ChildDebugOutput("LibraryEntry.NoOp");
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
