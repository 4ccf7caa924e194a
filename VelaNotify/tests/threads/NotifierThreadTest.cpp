// The notifier threads against the window thread and the terminal: messages written into the
// queues, changes of the simulated terminal, copies of running notifiers, destroy and
// relaunch, and many launch/clean-up cycles while notifications arrive.
#include "IconTestSupport.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using icontest::BatteryIcon;
using icontest::IconTest;
using icontest::PowerInfoMessage;
using icontest::WriteToQueue;

// Counts calls from the notification thread and lets the test wait for a number of them.
class CallCounter {
public:
    // A copied notifier counts its own calls.
    CallCounter() = default;
    CallCounter(const CallCounter&) {}
    CallCounter& operator=(const CallCounter&) { return *this; }

    void Add() {
        std::lock_guard lock(m_mutex);
        ++m_count;
        m_changed.notify_all();
    }
    int Count() {
        std::lock_guard lock(m_mutex);
        return m_count;
    }
    // The watchdog ends a run in which the count is never reached.
    void WaitFor(int count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_count >= count; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_count = 0;
};

class NetProbe : public CVLNfNetNotify {
public:
    ~NetProbe() override { CleanupNdisNotificationThread(); }
    CallCounter calls;
    DWORD lastThread = 0;
    HANDLE Queue() const { return m_hMsgQueue; }
    HANDLE Thread() const { return m_hThread; }

    using CVLNfNetNotify::CleanupNdisNotificationThread;
    using CVLNfNetNotify::LaunchNdisNotificationThread;

protected:
    void OnConnectionChanged() override {
        lastThread = GetCurrentThreadId();
        calls.Add();
    }
};

class BatteryProbe : public CVLNfBatteryNotify {
public:
    ~BatteryProbe() override { CleanupBatteryNotificationThread(); }
    CallCounter calls;
    std::vector<SYSTEM_POWER_STATUS_EX> seen;  // written before calls.Add, read after WaitFor
    DWORD lastThread = 0;
    HANDLE Queue() const { return m_hMsgQueue; }
    HANDLE Thread() const { return m_hThread; }

    using CVLNfBatteryNotify::CleanupBatteryNotificationThread;
    using CVLNfBatteryNotify::LaunchBatteryNotificationThread;

protected:
    void OnBatteryChanged(SYSTEM_POWER_STATUS_EX* pStatus) override {
        seen.push_back(*pStatus);
        lastThread = GetCurrentThreadId();
        calls.Add();
    }
};

class NotifierThreadTest : public IconTest {};

TEST_F(NotifierThreadTest, BatteryMessagesOfTypeEightBecomeRecordsOnTheNotifierThread) {
    BatteryProbe n;
    ASSERT_TRUE(n.LaunchBatteryNotificationThread());
    ASSERT_TRUE(WriteToQueue(n.Queue(), PowerInfoMessage(0, 0x02, 42, 4)));  // another type: skipped
    std::vector<BYTE> shortOne = PowerInfoMessage(1, 0x01, 99);
    shortOne.resize(34);  // ends before the percentage: skipped, not read beyond
    ASSERT_TRUE(WriteToQueue(n.Queue(), shortOne));
    ASSERT_TRUE(WriteToQueue(n.Queue(), PowerInfoMessage(0, 0x02, 42)));
    ASSERT_TRUE(WriteToQueue(n.Queue(), PowerInfoMessage(1, 0x09, 77)));
    n.calls.WaitFor(2);
    n.CleanupBatteryNotificationThread();
    ASSERT_EQ(n.calls.Count(), 2);
    EXPECT_NE(n.lastThread, GetCurrentThreadId());
    const SYSTEM_POWER_STATUS_EX& first = n.seen[0];
    EXPECT_EQ(first.ACLineStatus, 0);
    EXPECT_EQ(first.BatteryFlag, 0x02);
    EXPECT_EQ(first.BatteryLifePercent, 42);
    EXPECT_EQ(first.BatteryLifeTime, 3600u);
    EXPECT_EQ(first.BatteryFullLifeTime, 7200u);
    EXPECT_EQ(first.BackupBatteryFlag, 0);
    EXPECT_EQ(first.BackupBatteryLifeTime, 0u);
    EXPECT_EQ(n.seen[1].ACLineStatus, 1);
    EXPECT_EQ(n.seen[1].BatteryLifePercent, 77);
}

TEST_F(NotifierThreadTest, NetNotificationsQueuedAtOnceGiveOneCallEach) {
    NetProbe n;
    ASSERT_TRUE(n.LaunchNdisNotificationThread());
    const HANDLE thread = n.Thread();
    ASSERT_TRUE(n.LaunchNdisNotificationThread()) << "already running";
    EXPECT_EQ(n.Thread(), thread) << "no second thread";
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(WriteToQueue(n.Queue(), std::vector<BYTE>(532, static_cast<BYTE>(i))));
    }
    n.calls.WaitFor(5);
    n.CleanupNdisNotificationThread();
    EXPECT_EQ(n.calls.Count(), 5);
    EXPECT_NE(n.lastThread, GetCurrentThreadId());
    n.CleanupNdisNotificationThread();  // a second clean-up releases nothing twice
    EXPECT_EQ(n.Thread(), nullptr);
}

TEST_F(NotifierThreadTest, CleanupEndsTheThreadWhileTheQueueKeepsFilling) {
    NetProbe n;
    ASSERT_TRUE(n.LaunchNdisNotificationThread());
    MSGQUEUEOPTIONS options{};
    options.dwSize = sizeof options;
    options.cbMaxMessage = 532;
    options.bReadAccess = FALSE;
    const HANDLE writer = OpenMsgQueue(GetCurrentProcess(), n.Queue(), &options);
    ASSERT_NE(writer, nullptr);
    std::atomic<bool> stop{false};
    std::thread flood([&] {
        BYTE message[16] = {};
        while (!stop.load()) {
            WriteMsgQueue(writer, message, sizeof message, 0, 0);
        }
    });
    n.calls.WaitFor(100);
    n.CleanupNdisNotificationThread();  // the watchdog ends a run in which this never returns
    EXPECT_EQ(n.Thread(), nullptr);
    stop = true;
    flood.join();
    CloseMsgQueue(writer);
}

TEST_F(NotifierThreadTest, TheTerminalsChangesReachTheNotifiers) {
    NetProbe net;
    ASSERT_TRUE(net.LaunchNdisNotificationThread());
    icontest::SetConnected(false);  // the signal is gone
    net.calls.WaitFor(1);

    BatteryProbe battery;
    ASSERT_TRUE(battery.LaunchBatteryNotificationThread());
    icontest::SetBattery(true, 0x01, 80);  // external power plugged in
    battery.calls.WaitFor(1);
    battery.CleanupBatteryNotificationThread();
    EXPECT_EQ(battery.seen.back().ACLineStatus, 1);
}

TEST_F(NotifierThreadTest, UnpluggingExternalPowerChangesTheBatteryIcon) {
    icontest::SetBattery(true, 0x01, 60);
    BatteryIcon icon;
    ASSERT_TRUE(icon.Create(u"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 26, 26), &m_parent, 300));
    Pump();
    ASSERT_EQ(icon.Icon(), 3000u);
    const vela::screen::Image plugged = Picture(icon.GetSafeHwnd());
    const int before = icon.changes.load();
    icontest::SetBattery(false, 0x00, 60);
    while (icon.changes.load() == before || icon.Icon() != 3002u) {
        std::this_thread::yield();
    }
    Pump();  // the paint the notifier asked for happens on this thread
    EXPECT_NE(Picture(icon.GetSafeHwnd()).pixels, plugged.pixels);
    icon.DestroyWindow();
    EXPECT_EQ(icon.Thread(), nullptr);
}

TEST_F(NotifierThreadTest, OnlyTheLauncherStopsAndReleasesARunningThread) {
    auto original = std::make_unique<BatteryProbe>();
    ASSERT_TRUE(original->LaunchBatteryNotificationThread());
    {
        BatteryProbe copy(*original);
        EXPECT_EQ(copy.Queue(), original->Queue()) << "handles copied as they are";
        copy.CleanupBatteryNotificationThread();
        EXPECT_EQ(copy.Queue(), nullptr);
    }  // the copy's destructor releases nothing either
    ASSERT_TRUE(WriteToQueue(original->Queue(), PowerInfoMessage(0, 0x01, 90)));
    original->calls.WaitFor(1);

    // Assigning onto a notifier whose own thread runs stops that thread first.
    BatteryProbe other;
    ASSERT_TRUE(other.LaunchBatteryNotificationThread());
    const HANDLE otherThread = other.Thread();
    other = *original;
    EXPECT_EQ(other.Thread(), original->Thread());
    EXPECT_NE(other.Thread(), otherThread);
    original.reset();  // stops the thread; `other` still holds the stale values and closes none

    NetProbe net;
    ASSERT_TRUE(net.LaunchNdisNotificationThread());
    {
        NetProbe netCopy(net);
        EXPECT_TRUE(netCopy.LaunchNdisNotificationThread()) << "the copied queue counts as running";
    }
    ASSERT_TRUE(WriteToQueue(net.Queue(), std::vector<BYTE>(8, 0)));
    net.calls.WaitFor(1);
}

TEST_F(NotifierThreadTest, DestroyStopsTheThreadAndRelaunchStartsANewOne) {
    BatteryIcon icon;
    ASSERT_TRUE(icon.Create(u"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 26, 26), &m_parent, 301));
    ASSERT_NE(icon.Thread(), nullptr);
    icon.DestroyWindow();
    EXPECT_EQ(icon.Thread(), nullptr);
    ASSERT_TRUE(icon.LaunchBatteryNotificationThread());
    const HANDLE queue = icon.Queue();
    ASSERT_NE(queue, nullptr);
    ASSERT_TRUE(WriteToQueue(queue, PowerInfoMessage(1, 0, 0)));
    while (icon.changes.load() == 0) {
        std::this_thread::yield();
    }
    EXPECT_EQ(icon.Icon(), 3000u) << "without a window the icon is stored, nothing is painted";
    icon.CleanupBatteryNotificationThread();
}

// The window thread destroys icons while their notifiers are busy invalidating them: the
// clean-up waits for the thread, which never waits for the window thread.
TEST_F(NotifierThreadTest, HundredsOfLaunchAndCleanupCyclesWhileNotificationsArrive) {
    icontest::Watchdog watchdog(110);
    std::atomic<bool> stop{false};
    std::thread terminal([&stop] {
        for (int i = 0; !stop.load(); ++i) {
            icontest::SetBattery((i & 1) != 0, (i & 2) ? 0x01 : 0x00, static_cast<std::uint8_t>(i % 101));
            icontest::SetConnected((i & 4) != 0);
            std::this_thread::yield();
        }
    });
    int delivered = 0;
    for (int cycle = 0; cycle < 300; ++cycle) {
        BatteryIcon battery;
        ASSERT_TRUE(battery.Create(u"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 26, 26), &m_parent, 302));
        NetProbe net;
        const BOOL launched = net.LaunchNdisNotificationThread();
        ASSERT_TRUE(launched);
        if (cycle % 3 == 0) {
            Pump();
        }
        if (cycle % 2 == 0) {
            battery.DestroyWindow();
            EXPECT_EQ(battery.Thread(), nullptr);
        }
        net.CleanupNdisNotificationThread();
        delivered += battery.changes.load() + net.calls.Count();
    }  // odd cycles: the destructors clean up
    stop = true;
    terminal.join();
    Pump();
    EXPECT_GT(delivered, 0) << "notifications reached the notifiers while they came and went";
}

}  // namespace
