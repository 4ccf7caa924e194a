// Gathering the base information: host name through the socket library, owner name from the
// registry, and the rules by which the arguments replace what was gathered.
#include <cstring>
#include <functional>

#include "TarnClogFixture.h"
#include "vela/TerminalIdentity.h"

namespace tarntest {
namespace {

class BaseInfoTest : public TarnClogTest {
protected:
    void TearDown() override {
        SetOwner(nullptr, 0);
        vela::ResetTerminalHostName();
        TarnClogTest::TearDown();
    }

    // Sets (or, given NULL, removes) the owner value of the terminal's control panel.
    static void SetOwner(const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, u"ControlPanel\\Owner", 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        if (data != nullptr) {
            EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, u"Owner", 0, REG_BINARY, static_cast<const BYTE*>(data), size));
        } else {
            RegDeleteValueW(key, u"Owner");
        }
        RegCloseKey(key);
    }

    // Fields 6, 7 and 8 of a Start record written now.
    std::vector<std::string> DeviceAddressUser() {
        EXPECT_EQ(0, TarnClog_Start(u"c", u"i"));
        auto lines = LogLines();
        if (lines.empty()) return {};
        auto f = Fields(lines.back());
        if (f.size() != 17) return {"<bad line>", lines.back()};
        return {f[5], f[6], f[7]};
    }
};

using Strings = std::vector<std::string>;

TEST_F(BaseInfoTest, TerminalAddressFromTheSocketLibrary) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* address;
    } cases[] = {
        {"host name", [] {}, "HT-01"},
        {"the platform's own library",
         [] {
             vela::RestoreModules();
             vela::HideModule(u"OrelClog.dll");
             vela::SetTerminalHostName(u"RT-0042");
         },
         "RT-0042"},
        {"name in code page 932", [] { g_winsock.name = "\x95\x5c\x8e\xa6"; }, "\x95\x5c\x8e\xa6"},
        {"library absent", [] { vela::HideModule(u"winsock.dll"); }, "RQ-44"},
        {"start-up fails", [] { g_winsock.startupFails = true; }, "RQ-44"},
        {"gethostname fails", [] { g_winsock.gethostnameFails = true; }, "RQ-44"},
        {"gethostname missing", [] { InstallWinsock(false); }, "RQ-44"},
    };
    for (const Case& c : cases) {
        g_winsock = FakeWinsock{};
        InstallWinsock();
        c.arrange();
        SetBase();
        EXPECT_EQ((Strings{c.address, c.address, "operator"}), DeviceAddressUser()) << c.what;
        // Every successful start-up is balanced by a clean-up.
        EXPECT_EQ(g_winsock.startupFails ? 0 : g_winsock.startups, g_winsock.cleanups) << c.what;
    }
}

TEST_F(BaseInfoTest, ArgumentsReplaceWhatWasGathered) {
    struct Case {
        LPCWSTR address, device, user;
        Strings expected;  // device, address, user
    } cases[] = {
        {nullptr, nullptr, nullptr, {"HT-01", "HT-01", "operator"}},
        {u"A", nullptr, nullptr, {"A", "A", "operator"}},
        {u"A", u"", nullptr, {"A", "A", "operator"}},
        {u"A", u"D", u"U", {"D", "A", "U"}},
        {nullptr, u"D", nullptr, {"D", "HT-01", "operator"}},
        {u"", u"D", u"", {"D", "HT-01", "operator"}},
    };
    for (const Case& c : cases) {
        SetBase(c.address, c.device, c.user, 1);
        EXPECT_EQ(c.expected, DeviceAddressUser());
    }
}

// A second call gathers everything afresh; only the log file path and the log ID survive when
// they are not given again.
TEST_F(BaseInfoTest, SecondCallKeepsOnlyPathAndLogId) {
    SetBase(u"A", u"D", u"U", 5);
    TarnClog_SetBaseInfo(nullptr, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ((Strings{"HT-01", "HT-01", "operator"}), DeviceAddressUser());
    EXPECT_EQ("5", Fields(LogLines().at(0)).at(3));
}

TEST_F(BaseInfoTest, EmptyLogFilePathFailsEveryRecord) {
    SetBase();
    TarnClog_SetBaseInfo(u"", nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(-1, TarnClog_Start(u"c", u"i"));
    EXPECT_EQ(TARNCLOG_ERR_OPEN, TarnClog_GetErrno());
}

TEST_F(BaseInfoTest, UserNameFromTheOwnerValue) {
    // The name, its terminator, then further owner details.
    const char16_t named[] = u"鈴木 一郎\0Company\0";
    SetOwner(named, sizeof named);
    SetBase();
    EXPECT_EQ("\x97\xe9\x96\xd8\x20\x88\xea\x98\x59", DeviceAddressUser().at(2));

    // No terminator inside the value: the name ends where the value ends.
    const char16_t unterminated[] = {u'A', u'B', u'C'};
    SetOwner(unterminated, sizeof unterminated);
    SetBase();
    EXPECT_EQ("ABC", DeviceAddressUser().at(2));

    // The full 556 bytes: cut at the field's capacity.
    std::u16string longest(278, u'n');
    SetOwner(longest.data(), 556);
    SetBase();
    EXPECT_EQ(std::string(259, 'n'), DeviceAddressUser().at(2));

    // More than the value's 556 bytes cannot be read: the default.
    std::u16string tooLong(300, u'n');
    SetOwner(tooLong.data(), 600);
    SetBase();
    EXPECT_EQ("operator", DeviceAddressUser().at(2));

    // A user given as argument wins over the owner.
    SetOwner(named, sizeof named);
    SetBase(nullptr, nullptr, u"U");
    EXPECT_EQ("U", DeviceAddressUser().at(2));
}

// Base texts longer than their 259 characters are cut, never half a surrogate pair.
TEST_F(BaseInfoTest, LongBaseTextsAreCutAtTheirCapacity) {
    std::u16string address(300, u'a');
    std::u16string device = std::u16string(258, u'd') + u"\U00020B9F";  // a pair across the limit
    SetBase(address.c_str(), device.c_str(), nullptr, 1);
    auto f = DeviceAddressUser();
    ASSERT_EQ(3u, f.size());
    EXPECT_EQ(std::string(258, 'd'), f[0]);
    EXPECT_EQ(std::string(259, 'a'), f[1]);
}

// A path that would only fit cut would name another file: records fail instead.
TEST_F(BaseInfoTest, OverlongLogFilePathFailsRecords) {
    std::u16string path = dir_.Path(std::string(300, 'p'));
    SetBase();
    TarnClog_SetBaseInfo(path.c_str(), nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(-1, TarnClog_Start(u"c", u"i"));
    EXPECT_EQ(TARNCLOG_ERR_OPEN, TarnClog_GetErrno());
}

}  // namespace
}  // namespace tarntest
