// The device wait on the manual clock (application thread against the multimedia timer's
// thread) and the resume jobs of a wake-up (the watcher thread against both).
#include <vela/Modules.h>

#include <filesystem>

#include "../AppProbe.h"
#include "PrivateTerminalRoot.h"

namespace vlfwtest {
namespace {

constexpr int kNone = 0;

class DeviceWait : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(Root() / "Windows");
        std::filesystem::create_directories(Root() / "Temp");
        std::filesystem::remove(Root() / "Windows" / "Notifications.txt");
        std::filesystem::remove_all(Root() / "Storage Card");
        vela::terminal::Get().ResetForTests();
        vela::clock::UseManual(ManualStart());
        SetNetworkUp(false);
        start = vela::clock::Tick();
    }
    void TearDown() override {
        vela::RestoreModules();
        vela::clock::UseHost();
        vela::terminal::Get().ResetForTests();
    }
    static std::filesystem::path Root() { return std::getenv("VELA_ROOT"); }
    std::uint64_t At(int ms) const { return start + static_cast<std::uint64_t>(ms); }

    // Advances one second at a time, waiting for each tick's device check.
    void Tick(ProbeApp& app, int seconds) {
        for (int i = 0; i < seconds; ++i) {
            int before = app.detected.Count();
            vela::clock::Advance(std::chrono::seconds(1));
            ASSERT_TRUE(app.detected.WaitFor(before + 1)) << "tick " << i + 1;
        }
    }

    std::uint64_t start = 0;
};

TEST_F(DeviceWait, ANetworkThatNeverComesUpTimesOutAtTheTenthTick) {
    ProbeApp app;
    ASSERT_TRUE(app.InitInstance());
    app.AddWaitTarget(VelaDevNetwork);
    app.StartWait();
    EXPECT_NE(app.TimerId(), 0u);
    AdvanceAndSettle(999);
    EXPECT_EQ(app.Count(u"+DetectDevice()"), 0) << "the first check comes a whole second after the start";
    vela::clock::Advance(std::chrono::milliseconds(1));
    ASSERT_TRUE(app.detected.WaitFor(1));
    Tick(app, 8);
    vela::clock::Advance(std::chrono::seconds(1));
    ASSERT_TRUE(app.jobs.WaitFor(1));
    const auto jobs = app.Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].devices, VelaDevTimeOut);
    EXPECT_EQ(jobs[0].resumed, FALSE);
    EXPECT_EQ(jobs[0].tick, At(10000));
    EXPECT_EQ(app.Count(u"+DetectDevice()"), 9) << "the time-out tick reports before checking";
    EXPECT_EQ(app.TimerId(), 0u);
    AdvanceAndSettle(5500);
    EXPECT_EQ(app.Jobs().size(), 1u) << "the timer stopped";
    app.ExitInstance();
}

// The time-out is compared without sign: 0 reports at the first tick even with everything
// ready; -1 second is 0xFFFFFC18 ms, about 49.7 days, not an instant time-out.
TEST_F(DeviceWait, TimeOutZeroAndMinusOne) {
    SetNetworkUp(true);
    ProbeApp zero(u"Zero");
    zero.AddWaitTarget(VelaDevNetwork);
    zero.SetTimeoutTime(0);
    zero.StartWait();
    vela::clock::Advance(std::chrono::seconds(1));
    ASSERT_TRUE(zero.jobs.WaitFor(1));
    EXPECT_EQ(zero.Jobs()[0].devices, VelaDevTimeOut);
    EXPECT_EQ(zero.Count(u"+DetectDevice()"), 0);

    SetNetworkUp(false);
    ProbeApp patient(u"Long");
    patient.AddWaitTarget(VelaDevNetwork);
    patient.SetTimeoutTime(-1);
    patient.StartWait();
    Tick(patient, 30);
    SetNetworkUp(true);
    vela::clock::Advance(std::chrono::seconds(1));
    ASSERT_TRUE(patient.jobs.WaitFor(1));
    ASSERT_EQ(patient.Jobs().size(), 1u);
    EXPECT_EQ(patient.Jobs()[0].devices, VelaDevNetwork);
    EXPECT_EQ(patient.Jobs()[0].tick, At(32000));
}

TEST_F(DeviceWait, ASecondStartAbandonsTheFirstWaitAndOnlyOneOutcomeFollows) {
    SetNetworkUp(true);
    ProbeApp app;
    ASSERT_TRUE(app.InitInstance());
    app.AddWaitTarget(VelaDevNetwork);
    app.StartWait();
    AdvanceAndSettle(600);
    app.StartWait();  // a dialog right after the main frame
    AdvanceAndSettle(900);  // 1500: the first wait's tick would have been at 1000
    EXPECT_TRUE(app.Jobs().empty());
    vela::clock::Advance(std::chrono::milliseconds(100));
    ASSERT_TRUE(app.jobs.WaitFor(1));
    AdvanceAndSettle(4300);
    const auto jobs = app.Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].tick, At(1600));
    EXPECT_EQ(app.Count(u"+WaitDeviceReady()"), 2);
    app.ExitInstance();
}

TEST_F(DeviceWait, WaitTargetsThatCannotBeWaitedForStartNoTimer) {
    ProbeApp none;
    none.StartWait();
    EXPECT_EQ(none.TimerId(), 0u) << "no wait target";

    ProbeApp second;
    second.AddWaitTarget(VelaDevVolume2);
    second.StartWait();
    EXPECT_EQ(second.TimerId(), 0u) << "the second volume has no name";
    EXPECT_EQ(second.WaitTarget(), kNone);

    vela::HideModule(u"Corvel.dll");
    ProbeApp noCorvel;
    noCorvel.AddWaitTarget(VelaDevVolume1);
    noCorvel.StartWait();
    EXPECT_EQ(noCorvel.TimerId(), 0u) << "without Corvel the volume has no name";
    EXPECT_EQ(noCorvel.WaitTarget(), kNone);

    AdvanceAndSettle(12500);
    EXPECT_TRUE(none.Jobs().empty());
    EXPECT_TRUE(second.Jobs().empty());
    EXPECT_TRUE(noCorvel.Jobs().empty());
}

TEST_F(DeviceWait, TheVolumeAndTheNetworkAreReportedWhenBothAreThere) {
    SetNetworkUp(true);
    ProbeApp app;
    ASSERT_TRUE(app.InitInstance());
    app.AddWaitTarget(VelaDevVolume1 | VelaDevNetwork);
    app.StartWait();
    Tick(app, 3);
    EXPECT_TRUE(app.Jobs().empty()) << "the network alone is not enough";
    std::filesystem::create_directories(Root() / "Storage Card");
    vela::clock::Advance(std::chrono::seconds(1));
    ASSERT_TRUE(app.jobs.WaitFor(1));
    EXPECT_EQ(app.Jobs()[0].devices, VelaDevVolume1 | VelaDevNetwork);
    EXPECT_EQ(app.Jobs()[0].tick, At(4000));
    app.ExitInstance();
}

// ---------------------------------------------------------------------------------------
// Wake-up

TEST_F(DeviceWait, AWakeUpDuringAWaitRestartsItAndEveryLaterOutcomeIsResumed) {
    ProbeApp app;
    ASSERT_TRUE(app.InitInstance());
    app.AddWaitTarget(VelaDevNetwork);
    app.SetResumeJobType(VelaResumeRestartWait);
    app.StartWait();
    Tick(app, 3);
    SuspendAndWake();
    ASSERT_TRUE(app.wakeups.WaitFor(1));
    EXPECT_TRUE(app.Resumed());
    const auto trace = app.Trace();
    const std::vector<std::u16string> wakeup(trace.end() - 5, trace.end());
    EXPECT_EQ(wakeup, (std::vector<std::u16string>{u"+OnWakeup()", u"OnPowerResumed", u"+WaitDeviceReady()",
                                                    u"-WaitDeviceReady()", u"-OnWakeup()"}));
    // The new wait counts from the wake-up: nine more seconds do not time it out.
    Tick(app, 9);
    EXPECT_TRUE(app.Jobs().empty());
    vela::clock::Advance(std::chrono::seconds(1));
    ASSERT_TRUE(app.jobs.WaitFor(1));
    EXPECT_EQ(app.Jobs()[0].devices, VelaDevTimeOut);
    EXPECT_EQ(app.Jobs()[0].resumed, TRUE);
    EXPECT_EQ(app.Jobs()[0].tick, At(13000));

    SetNetworkUp(true);
    app.StartWait();
    vela::clock::Advance(std::chrono::seconds(1));
    ASSERT_TRUE(app.jobs.WaitFor(2));
    EXPECT_EQ(app.Jobs()[1].devices, VelaDevNetwork);
    EXPECT_EQ(app.Jobs()[1].resumed, TRUE) << "stays TRUE for every later wait";
    app.ExitInstance();
}

class ResumeJob : public DeviceWait, public testing::WithParamInterface<int> {};

// 1 and 2 close the main window; 0 and any other value leave it alone. None of them touches a
// running wait's outcome except by abandoning it.
TEST_P(ResumeJob, ClosesTheMainWindowOnlyWhenAskedTo) {
    const int type = GetParam();
    ProbeApp app;
    ASSERT_TRUE(app.InitInstance());
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, u"STATIC", u"main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    app.m_pMainWnd = &window;
    app.SetResumeJobType(static_cast<VelaResumeType>(type));
    app.AddWaitTarget(VelaDevNetwork);
    app.StartWait();
    SuspendAndWake();
    ASSERT_TRUE(app.wakeups.WaitFor(1));
    MSG msg{};
    const bool closed = PeekMessageW(&msg, window.m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
    EXPECT_EQ(closed, type == 1 || type == 2);
    EXPECT_EQ(app.Count(u"OnPowerResumed"), 0);
    EXPECT_EQ(app.TimerId(), 0u) << "the wait was abandoned";
    AdvanceAndSettle(11500);
    EXPECT_TRUE(app.Jobs().empty());
    app.m_pMainWnd = nullptr;
    window.DestroyWindow();
    app.SetResumeJobType(VelaResumeNone);
    app.ExitInstance();
}

INSTANTIATE_TEST_SUITE_P(Types, ResumeJob, testing::Values(0, 1, 2, 3));

// The watcher ends with ExitInstance: a wake-up afterwards reaches nobody, and with the
// power-off resume job the terminal is suspended after the application's own exit work and
// soft-reset once it wakes.
TEST_F(DeviceWait, PowerOffAtExitSuspendsAndRestartsAfterTheWatcherIsGone) {
    ProbeApp app;
    ASSERT_TRUE(app.InitInstance());
    app.SetResumeJobType(VelaResumeExitPowerOff);
    int result = -1;
    std::thread exiting([&] { result = app.ExitInstance(); });
    while (!vela::terminal::Get().IsSuspended()) std::this_thread::yield();
    EXPECT_EQ(vela::terminal::Get().GetRecords().softResets, 0u);
    vela::terminal::Get().WakeUp();
    exiting.join();
    EXPECT_EQ(result, 0);
    const auto records = vela::terminal::Get().GetRecords();
    EXPECT_EQ(records.suspends, 1u);
    EXPECT_EQ(records.softResets, 1u);
    EXPECT_EQ(app.Count(u"+OnWakeup()"), 0);
    EXPECT_TRUE(Registrations().empty());
}

}  // namespace
}  // namespace vlfwtest
