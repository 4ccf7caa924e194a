// Gives a test program a terminal root of its own before any test runs, even when the caller's
// environment names one in VELA_ROOT: tests that change the registry or delete files must never
// reach a person's real root. Child processes started by the tests inherit it; the folder is
// removed when the program that made it exits.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vela::testing {

inline bool MakePrivateTerminalRoot() {
    static std::string made;
    made = (std::filesystem::temp_directory_path() / "vela-tests-XXXXXX").string();
    if (::mkdtemp(made.data()) == nullptr) std::abort();
    ::setenv("VELA_ROOT", made.c_str(), 1);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(made, ignored);
    });
    return true;
}

inline const bool kPrivateTerminalRoot = MakePrivateTerminalRoot();

}  // namespace vela::testing
