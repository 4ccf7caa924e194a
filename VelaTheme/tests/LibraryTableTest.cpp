// The library's load and unload: the debug lines, the table of brushes and icons built once
// from the library's own resources, and a table that gives back every handle it made.
#include <gtest/gtest.h>

#include <VelaTheme.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "ChildDebugOutput.h"

namespace {

// Every slot of a table, brushes and icons, in one list.
std::vector<HGDIOBJ> Brushes(const CVelaThemeModule& table) {
    std::vector<HGDIOBJ> out;
    for (const auto& theme : table.m_hThemeBrush) {
        for (const auto& set : theme) out.insert(out.end(), std::begin(set), std::end(set));
    }
    out.insert(out.end(), std::begin(table.m_hDisabledBrush), std::end(table.m_hDisabledBrush));
    return out;
}

std::vector<HICON> Icons(const CVelaThemeModule& table) {
    std::vector<HICON> out;
    for (const auto& states : table.m_hArrowIcon) out.insert(out.end(), std::begin(states), std::end(states));
    for (const auto& states : table.m_hPageArrowIcon) out.insert(out.end(), std::begin(states), std::end(states));
    return out;
}

SIZE IconSize(HICON hIcon) {
    ICONINFO info{};
    if (!::GetIconInfo(hIcon, &info)) return SIZE{0, 0};
    BITMAP bm{};
    ::GetObject(info.hbmMask, sizeof bm, &bm);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    return SIZE{bm.bmWidth, bm.bmHeight};
}

TEST(LibraryEntry, LoadAndUnloadLinesOnlyInDebugBuilds) {
    const std::string text = ChildDebugOutput("LibraryEntry.NoOp");
    const auto init = text.find("VELATHEME.DLL Initializing!\n");
    const auto term = text.find("VELATHEME.DLL Terminating!\n");
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

TEST(LibraryTable, BuiltAtLoadFromTheLibrarysOwnResources) {
    ASSERT_TRUE(VelaThemeDLL.bInitialized);
    ASSERT_NE(VelaThemeDLL.hResource, nullptr);
    EXPECT_NE(VelaThemeDLL.hResource, ::GetModuleHandle(nullptr));
    for (HGDIOBJ h : Brushes(VelaThemeDLL)) EXPECT_EQ(::GetObjectType(h), DWORD(OBJ_BRUSH));
    for (int d = 0; d < 4; ++d) {
        for (int s = 0; s < 3; ++s) {
            const SIZE arrow = IconSize(VelaThemeDLL.m_hArrowIcon[d][s]);
            const SIZE page = IconSize(VelaThemeDLL.m_hPageArrowIcon[d][s]);
            EXPECT_EQ(arrow.cx, 12);
            EXPECT_EQ(arrow.cy, 12);
            EXPECT_EQ(page.cx, d < 2 ? 10 : 18) << d;
            EXPECT_EQ(page.cy, d < 2 ? 18 : 10) << d;
        }
    }
    // Every slot its own object.
    const std::vector<HGDIOBJ> brushes = Brushes(VelaThemeDLL);
    EXPECT_EQ(std::set<HGDIOBJ>(brushes.begin(), brushes.end()).size(), 279u);
    const std::vector<HICON> icons = Icons(VelaThemeDLL);
    EXPECT_EQ(std::set<HICON>(icons.begin(), icons.end()).size(), 24u);
}

TEST(LibraryTable, ReleaseDeletesEveryObjectAndClearsTheSlots) {
    std::vector<HGDIOBJ> brushes;
    std::vector<HICON> icons;
    {
        CVelaThemeModule table;
        table.LoadTable(VelaThemeDLL.hResource);
        brushes = Brushes(table);
        icons = Icons(table);
        table.LoadTable(VelaThemeDLL.hResource);  // a second load replaces the first objects
        brushes = Brushes(table);
        icons = Icons(table);
        for (HGDIOBJ h : brushes) ASSERT_EQ(::GetObjectType(h), DWORD(OBJ_BRUSH));

        table.ReleaseTable();
        for (HGDIOBJ h : Brushes(table)) EXPECT_EQ(h, nullptr);
        for (HICON h : Icons(table)) EXPECT_EQ(h, nullptr);
        for (HGDIOBJ h : brushes) EXPECT_EQ(::GetObjectType(h), 0u);
        for (HICON h : icons) EXPECT_EQ(IconSize(h).cx, 0);

        table.LoadTable(VelaThemeDLL.hResource);
        brushes = Brushes(table);
        icons = Icons(table);
    }  // the destructor releases what is left, as the library's unload does
    for (HGDIOBJ h : brushes) EXPECT_EQ(::GetObjectType(h), 0u);
    for (HICON h : icons) EXPECT_EQ(IconSize(h).cx, 0);
}

TEST(LibraryResources, TilesAndArrowsUnderJapaneseWithNothingElseInTheirRanges) {
    const HMODULE hModule = VelaThemeDLL.hResource;
    constexpr WORD kJapanese = 0x0411;
    int tiles = 0, icons = 0;
    for (int id = 6000; id <= 6999; ++id) {
        const int theme = (id - 6010) / 100, state = (id - 6010) % 100 / 10, piece = id % 10;
        const bool expected = (id >= 6000 && id <= 6008) ||
                              (id >= 6010 && theme < 10 && state < 3 && piece < 9 && (id - 6010) % 100 < 30);
        HRSRC hFound = ::FindResourceEx(hModule, RT_BITMAP, MAKEINTRESOURCE(id), kJapanese);
        ASSERT_EQ(hFound != nullptr, expected) << id;
        if (!hFound) continue;
        ++tiles;
        const auto* info = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(hModule, hFound)));
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->biWidth, 8) << id;
        EXPECT_EQ(info->biHeight, 8) << id;
        EXPECT_EQ(info->biBitCount, 24) << id;
    }
    for (int id = 7000; id <= 7199; ++id) {
        const int d = id % 100 / 10, s = id % 10;
        const bool expected = id % 100 < 40 && d < 4 && s < 3;
        ASSERT_EQ(::FindResourceEx(hModule, RT_GROUP_ICON, MAKEINTRESOURCE(id), kJapanese) != nullptr, expected) << id;
        icons += expected;
    }
    EXPECT_EQ(tiles, 279);
    EXPECT_EQ(icons, 24);
}

}  // namespace
