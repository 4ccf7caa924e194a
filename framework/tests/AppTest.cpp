// The application base's wake-up registration in the notification database, the job
// application's operation log and exit code, also as a child process.
#include <processthreadsapi.h>

#include <algorithm>
#include <filesystem>

#include "AppProbe.h"
#include "LogLines.h"
#include "PrivateTerminalRoot.h"
#include "VLFWShared.h"

namespace vlfwtest {
namespace {

std::filesystem::path Root() { return std::getenv("VELA_ROOT"); }

class AppTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(Root() / "Windows");
        std::filesystem::create_directories(Root() / "Temp");
        std::filesystem::remove_all(Root() / "Windows" / "Notifications.txt");
        std::filesystem::remove(Root() / "Temp" / "job.log");
        vela::terminal::Get().ResetForTests();
    }
    void TearDown() override { vela::terminal::Get().ResetForTests(); }
};

// ---------------------------------------------------------------------------------------
// Wake-up registration

TEST_F(AppTest, TheWakeUpRegistrationLivesFromInitInstanceToExitInstance) {
    ProbeApp app(u"Counter");
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(Registrations(), std::vector<std::u16string>{u"\\\\.\\Notifications\\NamedEvents\\Counter"});
    HANDLE event = OpenEventW(EVENT_ALL_ACCESS, FALSE, u"Counter");
    EXPECT_NE(event, nullptr) << "the named event the database sets";
    if (event != nullptr) CloseHandle(event);
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_TRUE(Registrations().empty());
    SetLastError(0);
    EXPECT_EQ(OpenEventW(EVENT_ALL_ACCESS, FALSE, u"Counter"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// What a framework window posts when it comes up reaches the wait through the message map.
TEST_F(AppTest, TheWaitStartThreadMessageStartsADeviceWait) {
    ProbeApp app(u"Poster");
    ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), VLFWWaitStartMessage(), 0, 0));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_TRUE(app.DispatchThreadMessageEx(&msg));
    EXPECT_EQ(app.Trace(), (std::vector<std::u16string>{u"+WaitDeviceReady()", u"-WaitDeviceReady()"}));
}

// A crashed run left its registration in the database file; the next run of the same
// application (its name in any case) drops it, and only it: other applications' registrations
// stay, also those whose strings merely contain this name.
TEST_F(AppTest, StartAndExitRemoveOnlyThisApplicationsOwnRegistrations) {
    ASSERT_NE(Register(EventName(u"SCAN")), nullptr);  // the crashed run
    ASSERT_NE(Register(EventName(u"Scanner")), nullptr);
    ASSERT_NE(Register(u"\\Windows\\Scan.exe"), nullptr);
    ASSERT_NE(Register(EventName(u"Scan") + u"2", NOTIFICATION_EVENT_NET_CONNECT), nullptr);
    const std::vector<std::u16string> others{EventName(u"Scanner"), u"\\Windows\\Scan.exe", EventName(u"Scan2")};

    ProbeApp app(u"Scan");
    ASSERT_TRUE(app.InitInstance());
    auto after = Registrations();
    std::vector<std::u16string> expected = others;
    expected.push_back(EventName(u"Scan"));
    std::sort(after.begin(), after.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(after, expected);

    app.ExitInstance();
    after = Registrations();
    std::sort(after.begin(), after.end());
    expected = others;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(after, expected);
}

// ---------------------------------------------------------------------------------------
// The job application's log

class JobApp : public CVLFWApp {
public:
    JobApp() {
        m_strName = u"Tally";
        m_pszAppName = m_strName;
        SetLogFileName(m_szLog);
        SetUsrName(m_szUser);
        SetJobName(m_szJob);
        SetDeviceName(m_szDevice);
        SetLogID(7);
    }
    using CVLFWApp::SetExitCode;

private:
    CString m_strName;
    WCHAR m_szLog[16] = u"\\Temp\\job.log";
    WCHAR m_szUser[8] = u"sato";
    WCHAR m_szJob[8] = u"stock";
    WCHAR m_szDevice[8] = u"HT-02";
};

struct ExitCase {
    const char* name;
    std::vector<std::pair<int, const char16_t*>> calls;  // SetExitCode calls in order
    int code;                                           // the process's exit code
    const char16_t* kind;                               // "2" End, "4" Abort
    const char16_t* message;
};

class JobLog : public AppTest, public testing::WithParamInterface<ExitCase> {};

TEST_P(JobLog, OneStartAndOneEndOrAbortRecord) {
    const ExitCase& c = GetParam();
    {
        JobApp app;
        ASSERT_TRUE(app.InitInstance());
        for (const auto& [code, text] : c.calls) app.SetExitCode(code, text);
        EXPECT_EQ(app.ExitInstance(), c.code);
    }
    const auto lines = ReadLog(Root() / "Temp" / "job.log");
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& line : lines) {
        ASSERT_EQ(line.size(), 17u);
        EXPECT_EQ(line[kLogCmd], u"Tally");
        EXPECT_EQ(line[kLogInfo], u"stock");
        EXPECT_EQ(line[kLogDevice], u"HT-02");
        EXPECT_EQ(line[kLogUser], u"sato");
        EXPECT_EQ(line[kLogIdField], u"7");
    }
    EXPECT_EQ(lines[0][kLogKind], u"1");
    EXPECT_EQ(lines[0][kLogMessage], u"");
    EXPECT_EQ(lines[1][kLogKind], c.kind);
    EXPECT_EQ(lines[1][kLogMessage], c.message);
}

INSTANTIATE_TEST_SUITE_P(
    ExitCodes, JobLog,
    testing::Values(ExitCase{"NoExitCode", {}, 0, u"2", u"正常終了しました"},
                    ExitCase{"CodeWithoutMessage", {{3, nullptr}}, 3, u"4", u""},
                    ExitCase{"ZeroWithOwnText", {{0, u"棚卸し完了"}}, 0, u"2", u"棚卸し完了"},
                    ExitCase{"LaterNullKeepsText", {{5, u"用紙切れ \"B4\""}, {0, nullptr}}, 0, u"2", u"用紙切れ \"B4\""}),
    [](const testing::TestParamInfo<ExitCase>& param) { return std::string(param.param.name); });

// The database refuses (a folder stands where its file belongs): the start-up fails and leaves
// no event behind, but the Start record came first, so it still has its End record.
TEST_F(AppTest, AStartUpTheDatabaseRefusesFailsYetWritesStartAndEnd) {
    std::filesystem::create_directories(Root() / "Windows" / "Notifications.txt");
    {
        JobApp app;
        EXPECT_FALSE(app.InitInstance());
        SetLastError(0);
        EXPECT_EQ(OpenEventW(EVENT_ALL_ACCESS, FALSE, u"Tally"), nullptr);
        app.SetExitCode(9, u"通知を登録できません");
        EXPECT_EQ(app.ExitInstance(), 9);
    }
    std::filesystem::remove_all(Root() / "Windows" / "Notifications.txt");
    EXPECT_TRUE(Registrations().empty());
    const auto lines = ReadLog(Root() / "Temp" / "job.log");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][kLogKind], u"1");
    EXPECT_EQ(lines[1][kLogKind], u"4");
    EXPECT_EQ(lines[1][kLogMessage], u"通知を登録できません");
}

// A program on the kit's program entry: its exit code is ExitInstance's result, its log the
// job's two records.
class ChildJob : public AppTest {
protected:
    DWORD Run(const std::u16string& arguments) {
        std::filesystem::copy_file(VLFW_JOB_PROBE, Root() / "Windows" / "JobProbe.exe",
                                   std::filesystem::copy_options::overwrite_existing);
        std::u16string line = arguments;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(u"\\Windows\\JobProbe.exe", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            nullptr, &info)) {
            ADD_FAILURE() << "CreateProcess failed: " << GetLastError();
            return 0xFFFFFFFF;
        }
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0);
        DWORD code = 0xFFFFFFFF;
        EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return code;
    }
};

TEST_F(ChildJob, TheExitCodeBecomesTheProcesssAndTheLogHasBothRecords) {
    EXPECT_EQ(Run(u"\\Temp\\job.log 0"), 0u);
    EXPECT_EQ(Run(u"\\Temp\\job.log 3 \"紙がありません\""), 3u);
    const auto lines = ReadLog(Root() / "Temp" / "job.log");
    ASSERT_EQ(lines.size(), 4u);
    const char16_t* kinds[] = {u"1", u"2", u"1", u"4"};
    const char16_t* messages[] = {u"", u"正常終了しました", u"", u"紙がありません"};
    for (size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i].size(), 17u) << i;
        EXPECT_EQ(lines[i][kLogKind], kinds[i]) << i;
        EXPECT_EQ(lines[i][kLogMessage], messages[i]) << i;
        EXPECT_EQ(lines[i][kLogCmd], u"JobProbe") << i;
        EXPECT_EQ(lines[i][kLogInfo], u"count") << i;
        EXPECT_EQ(lines[i][kLogIdField], u"42") << i;
    }
    EXPECT_TRUE(Registrations().empty()) << "the child removed its wake-up registration";
}

}  // namespace
}  // namespace vlfwtest
