// Test support for the application base: an application object that records what the base
// calls (OnJobStart with the platform clock's tick, OnPowerResumed, the trace texts), ways to
// wait for those calls on the real clock with a time limit, and the notification database seen
// as a list of application strings.
#pragma once

#include <gtest/gtest.h>
#include <VelaFW.h>
#include <mmsystem.h>
#include <notify.h>
#include <vela/Clock.h>
#include <vela/Terminal.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vlfwtest {

// Counts calls; a test waits until a count is reached, for at most a few real seconds, so a
// missing call fails the test instead of hanging it.
class Signal {
public:
    void Raise() {
        std::lock_guard lock(m_mutex);
        ++m_count;
        m_cv.notify_all();
    }
    bool WaitFor(int count) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::seconds(10), [&] { return m_count >= count; });
    }
    int Count() {
        std::lock_guard lock(m_mutex);
        return m_count;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_count = 0;
};

struct JobStart {
    int devices;
    BOOL resumed;
    std::uint64_t tick;  // the platform clock when OnJobStart ran
};

class ProbeApp : public CVLFWAppBase {
public:
    explicit ProbeApp(const char16_t* name = u"Probe") : m_strName(name) { m_pszAppName = m_strName; }

    using CVLFWAppBase::AddWaitTarget;
    using CVLFWAppBase::SetResumeJobType;
    using CVLFWAppBase::SetTimeoutTime;

    // What a framework window's "WM_VELAFW_WAITSTART" does.
    void StartWait() { OnWaitStart(0, 0); }
    BOOL Resumed() const { return m_bResumed; }
    UINT TimerId() const { return m_nTimerID; }
    int WaitTarget() const { return m_devWaitTarget; }

    std::vector<JobStart> Jobs() {
        std::lock_guard lock(m_mutex);
        return m_jobs;
    }
    std::vector<std::u16string> Trace() {
        std::lock_guard lock(m_mutex);
        return m_trace;
    }
    int Count(const std::u16string& text) {
        std::lock_guard lock(m_mutex);
        int n = 0;
        for (const auto& t : m_trace) n += t == text;
        return n;
    }

    Signal jobs;       // every OnJobStart
    Signal detected;   // every finished device check
    Signal wakeups;    // every finished OnWakeup

protected:
    void OnJobStart(VelaDevType devices, BOOL bResumed) override {
        {
            std::lock_guard lock(m_mutex);
            m_jobs.push_back({devices, bResumed, vela::clock::Tick()});
        }
        jobs.Raise();
    }
    void OnPowerResumed() override { Record(u"OnPowerResumed"); }
    void Logout(LPCWSTR text) override {
        std::u16string line(text);
        Record(line);
        if (line == u"-DetectDevice()") detected.Raise();
        if (line == u"-OnWakeup()") wakeups.Raise();
    }

private:
    void Record(const std::u16string& line) {
        std::lock_guard lock(m_mutex);
        m_trace.push_back(line);
    }

    CString m_strName;
    std::mutex m_mutex;
    std::vector<JobStart> m_jobs;
    std::vector<std::u16string> m_trace;
};

// The application strings of every registration in the notification database, in handle order.
inline std::vector<std::u16string> Registrations() {
    std::vector<std::u16string> found;
    DWORD count = 0;
    if (!CeGetUserNotificationHandles(nullptr, 0, &count) || count == 0) return found;
    std::vector<HANDLE> handles(count);
    if (!CeGetUserNotificationHandles(handles.data(), count, &count)) return found;
    for (HANDLE h : handles) {
        DWORD size = 0;
        CeGetUserNotification(h, 0, &size, nullptr);
        std::vector<ULONGLONG> buffer(size / sizeof(ULONGLONG) + 1);
        if (!CeGetUserNotification(h, size, &size, reinterpret_cast<LPBYTE>(buffer.data()))) continue;
        const auto* header = reinterpret_cast<const CE_NOTIFICATION_INFO_HEADER*>(buffer.data());
        found.emplace_back(header->pcent->lpszApplication ? header->pcent->lpszApplication : u"");
    }
    return found;
}

// A registration as another program (or a crashed run) would have left it.
inline HANDLE Register(std::u16string application, DWORD event = NOTIFICATION_EVENT_WAKEUP) {
    CE_NOTIFICATION_TRIGGER trigger{};
    trigger.dwSize = sizeof(trigger);
    trigger.dwType = CNT_EVENT;
    trigger.dwEvent = event;
    trigger.lpszApplication = application.data();
    return CeSetUserNotificationEx(nullptr, &trigger, nullptr);
}

inline std::u16string EventName(const std::u16string& app) { return NAMED_EVENT_PREFIX_TEXT + app; }

// Suspends the terminal on a thread of its own and wakes it again, as a person pressing the
// power key twice; the platform sets the wake-up events on the waking (calling) thread.
inline void SuspendAndWake() {
    std::thread sleeper([] { vela::terminal::Get().Suspend(); });
    while (!vela::terminal::Get().IsSuspended()) std::this_thread::yield();
    vela::terminal::Get().WakeUp();
    sleeper.join();
}

inline void SetNetworkUp(bool up) {
    vela::terminal::Get().Update([&](vela::terminal::State& s) {
        s.network.adapters = up ? vela::terminal::DefaultAdapters() : std::vector<vela::terminal::Adapter>{};
    });
}

// Moves the manual clock on and returns once every timer due by then has run: a one-shot probe
// timer due at the new time (created after the timers under test) runs last.
inline void AdvanceAndSettle(int ms) {
    Signal probe;
    UINT id = timeSetEvent(
        static_cast<UINT>(ms), 1,
        [](UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) { reinterpret_cast<Signal*>(user)->Raise(); },
        reinterpret_cast<DWORD_PTR>(&probe), TIME_ONESHOT);
    ASSERT_NE(id, 0u);
    vela::clock::Advance(std::chrono::milliseconds(ms));
    ASSERT_TRUE(probe.WaitFor(1)) << "the timer thread did not reach the probe";
}

inline SYSTEMTIME ManualStart() {
    SYSTEMTIME start{};
    start.wYear = 2026;
    start.wMonth = 4;
    start.wDay = 1;
    start.wHour = 9;
    return start;
}

}  // namespace vlfwtest
