// The launcher's parts without windows: paging of a menu over the entry buttons, and the
// command-line switches of the launcher (and of the other samples).
#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>
#include <vector>

#include "LauncherOptions.h"
#include "MenuPager.h"
#include "SwitchArguments.h"

namespace {

std::vector<int> Shown(const CMenuPager& pager, int buttons) {
    std::vector<int> entries;
    for (int slot = 0; slot < buttons; ++slot) entries.push_back(pager.EntryAt(slot));
    return entries;
}

TEST(MenuPager, MoreEntriesThanButtonsSpreadOverPagesWithTheLastOnePartlyEmpty) {
    CMenuPager pager(6);
    pager.Reset(9);
    EXPECT_TRUE(pager.NeedsPaging());
    EXPECT_EQ(pager.PageCount(), 2);
    EXPECT_EQ(Shown(pager, 6), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(pager.HasPrevious());
    EXPECT_FALSE(pager.Previous());

    EXPECT_TRUE(pager.Next());
    EXPECT_EQ(pager.Page(), 1);
    EXPECT_EQ(Shown(pager, 6), (std::vector<int>{6, 7, 8, -1, -1, -1}));
    EXPECT_FALSE(pager.HasNext());
    EXPECT_FALSE(pager.Next());  // stays on the last page
    EXPECT_EQ(pager.Page(), 1);

    // Slots outside the buttons show nothing, whatever the page.
    EXPECT_EQ(pager.EntryAt(-1), -1);
    EXPECT_EQ(pager.EntryAt(6), -1);

    // A new menu starts on its first page.
    pager.Reset(3);
    EXPECT_EQ(pager.Page(), 0);
    EXPECT_EQ(Shown(pager, 6), (std::vector<int>{0, 1, 2, -1, -1, -1}));
}

TEST(MenuPager, PagesAreCountedExactlyAtTheirBorders) {
    CMenuPager pager(6);
    for (auto [entries, pages] : std::initializer_list<std::pair<int, int>>{{0, 1}, {1, 1}, {6, 1}, {7, 2}, {12, 2}, {13, 3}}) {
        pager.Reset(entries);
        EXPECT_EQ(pager.PageCount(), pages) << entries << " entries";
        EXPECT_EQ(pager.NeedsPaging(), pages > 1) << entries << " entries";
    }
    pager.Reset(12);
    ASSERT_TRUE(pager.Next());
    EXPECT_EQ(Shown(pager, 6), (std::vector<int>{6, 7, 8, 9, 10, 11}));
    EXPECT_FALSE(pager.Next());  // no empty third page

    pager.Reset(-4);  // nothing to show, never a negative count
    EXPECT_EQ(pager.PageCount(), 1);
    EXPECT_EQ(pager.EntryAt(0), -1);
}

TEST(MenuPager, ABrokenButtonCountStillPagesOneByOne) {
    CMenuPager pager(0);
    pager.Reset(2);
    EXPECT_EQ(pager.PageCount(), 2);
    EXPECT_EQ(pager.EntryAt(0), 0);
}

// Switches as the platform hands them to the parser: without their "/" and flagged.
CSwitchArguments Parse(std::initializer_list<LPCWSTR> arguments) {
    CSwitchArguments args;
    int i = 0;
    const int last = static_cast<int>(arguments.size()) - 1;
    for (LPCWSTR argument : arguments) {
        const bool flag = argument[0] == u'/';
        args.ParseParam(flag ? argument + 1 : argument, flag, i++ == last);
    }
    return args;
}

TEST(SwitchArguments, NamesIgnoreCaseAndValuesKeepEverythingAfterTheFirstColon) {
    const CSwitchArguments args = Parse({u"/Job:scan;quick", u"/exit:0", u"/menu:\\Menu\\a:b.mnu", u"/verbose", u"plain"});
    CString value;
    ASSERT_TRUE(args.Lookup(u"JOB", value));
    EXPECT_EQ(value, u"scan;quick");
    ASSERT_TRUE(args.Lookup(u"menu", value));
    EXPECT_EQ(value, u"\\Menu\\a:b.mnu");
    EXPECT_FALSE(args.Lookup(u"verbose", value));  // given without a value
    EXPECT_FALSE(args.Lookup(u"missing", value));
    ASSERT_EQ(args.Others().size(), 1u);
    EXPECT_EQ(args.Others()[0], u"plain");
    EXPECT_EQ(args.Switches()[0].AsGiven(), u"/JOB:scan;quick");
    EXPECT_EQ(args.Switches()[3].AsGiven(), u"/VERBOSE");

    // The last of a repeated switch counts.
    ASSERT_TRUE(Parse({u"/exit:1", u"/EXIT:7"}).Lookup(u"exit", value));
    EXPECT_EQ(value, u"7");
}

TEST(SwitchArguments, WholeNumbersAreRefusedWhenAnythingElseIsInThem) {
    int value = 99;
    EXPECT_TRUE(ParseWholeNumber(u"+5", value));
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(ParseWholeNumber(u"-2147483648", value));
    EXPECT_EQ(value, -2147483647 - 1);
    EXPECT_TRUE(ParseWholeNumber(u"2147483647", value));
    EXPECT_EQ(value, 2147483647);
    value = 99;
    const LPCWSTR wrong[] = {u"", u"-", u"12a", u" 3", u"3 ", u"2147483648", u"-2147483649", u"99999999999999999999"};
    for (size_t i = 0; i < std::size(wrong); ++i) EXPECT_FALSE(ParseWholeNumber(wrong[i], value)) << "case " << i;
    EXPECT_EQ(value, 99);  // left alone by every refusal
}

TEST(LauncherOptions, DefaultsWaitForTheNetworkAgainAfterAWakeUp) {
    LauncherOptions options;
    EXPECT_EQ(ParseLauncherOptions(Parse({}), options), u"");
    EXPECT_EQ(options.firstMenu, u"\\Menu\\Main.mnu");
    EXPECT_EQ(options.logFile, u"\\Temp\\Launcher.log");
    EXPECT_EQ(options.resume, VelaResumeRestartWait);
    EXPECT_EQ(options.timeoutSeconds, 10);
}

TEST(LauncherOptions, EverySwitchIsTakenInAnyCase) {
    LauncherOptions options;
    EXPECT_EQ(ParseLauncherOptions(Parse({u"/MENU:\\Menu\\Shipping.mnu", u"/log:\\Temp\\x.log", u"/Resume:PowerOff",
                                          u"/timeout:3600"}),
                                   options),
              u"");
    EXPECT_EQ(options.firstMenu, u"\\Menu\\Shipping.mnu");
    EXPECT_EQ(options.logFile, u"\\Temp\\x.log");
    EXPECT_EQ(options.resume, VelaResumeExitPowerOff);
    EXPECT_EQ(options.timeoutSeconds, 3600);

    for (auto [word, type] : std::initializer_list<std::pair<LPCWSTR, VelaResumeType>>{
             {u"/resume:exit", VelaResumeExit}, {u"/resume:none", VelaResumeNone}, {u"/resume:wait", VelaResumeRestartWait}}) {
        EXPECT_EQ(ParseLauncherOptions(Parse({word}), options), u"");
        EXPECT_EQ(options.resume, type);
    }
}

TEST(LauncherOptions, TheFirstArgumentNotUnderstoodIsReported) {
    struct Case {
        std::initializer_list<LPCWSTR> arguments;
        LPCWSTR reported;
    };
    const Case cases[] = {
        {{u"/timeout:0"}, u"/TIMEOUT:0"},  // would time out at once
        {{u"/timeout:-1"}, u"/TIMEOUT:-1"},  // would wait for weeks
        {{u"/timeout:3601"}, u"/TIMEOUT:3601"},
        {{u"/timeout:ten"}, u"/TIMEOUT:ten"},
        {{u"/resume:later"}, u"/RESUME:later"},
        {{u"/menu:"}, u"/MENU:"},
        {{u"/menu"}, u"/MENU"},
        {{u"/colour:red", u"/timeout:0"}, u"/COLOUR:red"},
        {{u"/timeout:5", u"Main.mnu"}, u"Main.mnu"},
    };
    for (const Case& c : cases) {
        LauncherOptions options;
        EXPECT_EQ(ParseLauncherOptions(Parse(c.arguments), options), c.reported);
    }
    // What came before the wrong switch was taken.
    LauncherOptions options;
    ParseLauncherOptions(Parse({u"/timeout:5", u"/resume:later"}), options);
    EXPECT_EQ(options.timeoutSeconds, 5);
    EXPECT_EQ(options.resume, VelaResumeRestartWait);
}

}  // namespace
