// The network notifier's thread tells a framework window of connection changes: the window
// hears of the network as a device, on that thread, with its trace lines around the call.
#include <VelaFW.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vela/Terminal.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "PrivateTerminalRoot.h"

namespace {

struct Heard {
    VelaDevType dev;
    BOOL bArrived;
    DWORD threadId;
};

class CWatchingWindow : public CVelaFWBase {
public:
    ~CWatchingWindow() override { CleanupNdisNotificationThread(); }

    using CVelaFWBase::LaunchNdisNotificationThread;

    // Waits (host time; the notifier's thread runs on its own) until the latest change heard
    // says the network is (or is not) there.
    bool WaitFor(BOOL bConnected) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10),
                                  [&] { return !m_heard.empty() && m_heard.back().bArrived == bConnected; });
    }
    std::vector<Heard> HeardSoFar() {
        std::lock_guard lock(m_mutex);
        return m_heard;
    }
    std::vector<std::u16string> Trace() {
        std::lock_guard lock(m_mutex);
        return m_trace;
    }

protected:
    void OnDeviceChange(VelaDevType dev, BOOL bArrived) override {
        std::lock_guard lock(m_mutex);
        m_trace.push_back(u"OnDeviceChange");
        m_heard.push_back({dev, bArrived, ::GetCurrentThreadId()});
        m_changed.notify_all();
    }
    void Logout(LPCWSTR text) override {
        std::lock_guard lock(m_mutex);
        m_trace.emplace_back(text);
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Heard> m_heard;
    std::vector<std::u16string> m_trace;
};

void SetConnected(bool connected) {
    vela::terminal::Get().Update([connected](vela::terminal::State& state) {
        state.network.adapters = connected ? vela::terminal::DefaultAdapters() : std::vector<vela::terminal::Adapter>{};
    });
}

TEST(ConnectionChange, TheNotifierThreadReportsTheNetworkAsADevice) {
    ::alarm(60);
    vela::terminal::Get().ResetForTests();
    CWatchingWindow window;
    ASSERT_TRUE(window.LaunchNdisNotificationThread());

    SetConnected(false);
    ASSERT_TRUE(window.WaitFor(FALSE));
    SetConnected(true);
    ASSERT_TRUE(window.WaitFor(TRUE));

    const std::vector<Heard> heard = window.HeardSoFar();
    EXPECT_FALSE(heard.front().bArrived);
    for (const Heard& h : heard) {
        EXPECT_EQ(h.dev, VelaDevNetwork);
        EXPECT_NE(h.threadId, ::GetCurrentThreadId());
    }
    const std::vector<std::u16string> trace = window.Trace();
    ASSERT_GE(trace.size(), 3u);
    EXPECT_EQ(trace[0], u"+OnConnectionChanged()");
    EXPECT_EQ(trace[1], u"OnDeviceChange");
    EXPECT_EQ(trace[2], u"-OnConnectionChanged()");
    ::alarm(0);
}

}  // namespace
