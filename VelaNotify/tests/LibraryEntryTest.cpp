// The library's start-up: the load and unload lines of debug builds, the registered numbers,
// and the icons found through the library's own module.
#include <gtest/gtest.h>
#include <windows.h>

#include <VelaNotify.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ChildDebugOutput.h"
#include "VelaNotifyMessages.h"
#include "VelaNotifyModule.h"

namespace {

// The test runs this program again with VELA_DEBUG naming a file, so that the lines written
// while the library loads and unloads are caught.
TEST(LibraryEntry, LoadAndUnloadLinesOnlyInDebugBuilds) {
    const std::string text = ChildDebugOutput("LibraryEntry.NoOp");
    const auto init = text.find("VELANOTIFY.DLL Initializing!\n");
    const auto term = text.find("VELANOTIFY.DLL Terminating!\n");
#ifdef _DEBUG
    ASSERT_NE(init, std::string::npos) << text;
    ASSERT_NE(term, std::string::npos) << text;
    EXPECT_LT(init, term);
    EXPECT_EQ(text.find("registration failed"), std::string::npos) << text;
#else
    EXPECT_EQ(init, std::string::npos) << text;
    EXPECT_EQ(term, std::string::npos) << text;
#endif
}

// Runs in the child only: loading and unloading the library is all that is wanted of it.
TEST(LibraryEntry, NoOp) {}

// The numbers were registered when the library loaded, under the terminal root of that moment
// (this program switches to a private root later), so they are compared among themselves.
TEST(LibraryEntry, RegisteredNumbersAreKeptFromTheLoad) {
    const UINT numbers[] = {VelaNotifySyncImeStatusMessage(), VelaNotifyNetIconTimer(), VelaNotifyTimeIconTimer()};
    for (UINT n : numbers) {
        EXPECT_GE(n, 0xC000u);
        EXPECT_LE(n, 0xFFFFu);
    }
    EXPECT_NE(numbers[0], numbers[1]);
    EXPECT_NE(numbers[1], numbers[2]);
    EXPECT_NE(numbers[0], numbers[2]);
    EXPECT_EQ(g_nVelaNotifySyncImeStatusMessage, numbers[0]);
    EXPECT_EQ(VelaNotifySyncImeStatusMessage(), numbers[0]);
}

TEST(LibraryEntry, EveryIconIsInTheLibraryAtBothSizes) {
    const HMODULE module = VelaNotifyModule();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(::GetModuleHandle(nullptr) == module, false);  // not the test program's resources
    for (UINT id = 3000; id <= 3020; ++id) {
        for (int size : {16, 32}) {
            HICON icon = static_cast<HICON>(::LoadImage(module, MAKEINTRESOURCE(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr) << id << " at " << size;
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(icon, &info)) << id;
            BITMAP bm{};
            ::GetObject(info.hbmColor, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, size) << id;
            ::DeleteObject(info.hbmColor);
            ::DeleteObject(info.hbmMask);
            ::DestroyIcon(icon);
        }
    }
    // The class library finds them too, through the extension module chain.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(3000), RT_GROUP_ICON), module);
    EXPECT_EQ(::LoadImage(module, MAKEINTRESOURCE(3021), IMAGE_ICON, 16, 16, 0), nullptr);
}

}  // namespace
