// Shared pieces of the network and battery icon tests: the terminal at its defaults on the
// manual clock, a parent window on the screen, probes that open the icons' protected parts,
// and ways to look at what reached the screen.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <VLNfBatteryIconWnd.h>
#include <VLNfNetIconWnd.h>
#include <msgqueue.h>
#include <vela/Clock.h>
#include <vela/Input.h>
#include <vela/MessageSpy.h>
#include <vela/Screen.h>
#include <vela/Terminal.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "../NotifyTestSupport.h"
#include "PrivateTerminalRoot.h"

namespace icontest {

using notifytest::Watchdog;

// Trace lines reach only the debug channel, which is chosen once per process: the test runs
// this program again with VELA_DEBUG naming a file and only the child test `filter`, which
// knows it is the child by VELA_TRACE_CHILD. Returns what the child wrote.
inline std::string RunChildWithDebugChannel(const std::string& filter) {
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("vela-trace-" + std::to_string(::getpid()) + ".txt");
    std::filesystem::remove(out);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = "VELA_TRACE_CHILD=1 VELA_DEBUG='" + out.string() + "' '" + self +
                                "' --gtest_filter='" + filter + "' >/dev/null 2>&1";
    EXPECT_EQ(0, std::system(command.c_str())) << command;
    std::ifstream in(out, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    in.close();
    std::filesystem::remove(out);
    return text;
}

inline bool IsTraceChild() {
    return std::getenv("VELA_TRACE_CHILD") != nullptr;
}

// The lines of `text` that start with `prefix`, in order.
inline std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(at, end - at);
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
        at = end;
    }
    return lines;
}

inline void UpdateTerminal(const std::function<void(vela::terminal::State&)>& edit) {
    vela::terminal::Get().Update(edit);
}

// The default WLAN adapter's signal; connected means it keeps its address.
inline void SetSignal(std::int32_t dbm) {
    UpdateTerminal([dbm](vela::terminal::State& s) { s.network.adapters.at(0).signalDbm = dbm; });
}
inline void SetConnected(bool connected) {
    UpdateTerminal([connected](vela::terminal::State& s) {
        s.network.adapters.at(0).ipAddress = connected ? "192.168.10.20" : "0.0.0.0";
    });
}
inline void SetBattery(bool externalPower, std::uint8_t flag, std::uint8_t percent) {
    UpdateTerminal([=](vela::terminal::State& s) {
        s.power.externalPower = externalPower;
        s.power.batteryFlag = flag;
        s.power.batteryPercent = percent;
    });
}

class NetIcon : public CVLNfNetIconWnd {
public:
    UINT Icon() const { return m_nIconID.load(); }
    // Tick counts at which the icon polled.
    std::vector<std::uint64_t> polls;

    using CVLNfNetIconWnd::CleanupNdisNotificationThread;
    using CVLNfNetIconWnd::LaunchNdisNotificationThread;

protected:
    void SetNetworkIcon() override {
        polls.push_back(vela::clock::Tick());
        CVLNfNetIconWnd::SetNetworkIcon();
    }
};

class BatteryIcon : public CVLNfBatteryIconWnd {
public:
    // It overrides OnBatteryChanged, so it stops the thread before its own part is gone.
    ~BatteryIcon() override { CleanupBatteryNotificationThread(); }
    UINT Icon() const { return m_nIconID.load(); }
    HANDLE Queue() const { return m_hMsgQueue; }
    HANDLE Thread() const { return m_hThread; }
    std::atomic<int> changes{0};

    using CVLNfBatteryIconWnd::CleanupBatteryNotificationThread;
    using CVLNfBatteryIconWnd::LaunchBatteryNotificationThread;
    using CVLNfBatteryIconWnd::SetBatteryIcon;

protected:
    void OnBatteryChanged(SYSTEM_POWER_STATUS_EX* pStatus) override {
        CVLNfBatteryIconWnd::OnBatteryChanged(pStatus);
        ++changes;
    }
};

// A power-information message as the power manager writes it (44 bytes).
inline std::vector<BYTE> PowerInfoMessage(BYTE acLine, BYTE flag, BYTE percent, DWORD type = 8) {
    std::vector<BYTE> m(44, 0);
    auto put32 = [&m](size_t at, DWORD v) {
        for (int i = 0; i < 4; ++i) m[at + i] = static_cast<BYTE>(v >> (8 * i));
    };
    put32(0, type);
    put32(8, 28);
    put32(16, 3600);
    put32(20, 7200);
    m[32] = acLine;
    m[33] = flag;
    m[34] = percent;
    return m;
}

// Writes one message into a notifier's queue through a writing end of its own.
inline bool WriteToQueue(HANDLE readEnd, std::vector<BYTE> message) {
    MSGQUEUEOPTIONS options{};
    options.dwSize = sizeof options;
    options.cbMaxMessage = 532;
    options.bReadAccess = FALSE;
    HANDLE writer = OpenMsgQueue(GetCurrentProcess(), readEnd, &options);
    if (writer == nullptr) {
        return false;
    }
    const BOOL ok = WriteMsgQueue(writer, message.data(), static_cast<DWORD>(message.size()), 0, 0);
    CloseMsgQueue(writer);
    return ok != FALSE;
}

// Terminal at its defaults, manual clock, a visible parent window for the icons.
class IconTest : public ::testing::Test {
protected:
    void SetUp() override {
        vela::terminal::Get().ResetForTests();
        SYSTEMTIME start{};
        start.wYear = 2026;
        start.wMonth = 12;
        start.wDay = 7;
        start.wHour = 9;
        vela::clock::UseManual(start);
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), u"icons", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                                      nullptr, nullptr));
        Pump();
    }
    void TearDown() override {
        if (m_parent.GetSafeHwnd() != nullptr) {
            m_parent.DestroyWindow();
        }
        vela::clock::UseHost();
        vela::terminal::Get().ResetForTests();
    }

    static void Pump() { vela::input::PumpUntilIdle(); }
    static void Advance(int ms) {
        vela::clock::Advance(std::chrono::milliseconds(ms));
        Pump();
    }

    // A child static control of the parent for subclassing, laid out as given.
    HWND MakeStatic(const RECT& rect, UINT id) {
        return ::CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, m_parent.GetSafeHwnd(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    }

    // The window's pixels on the screen.
    static vela::screen::Image Picture(HWND hwnd) {
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        return vela::screen::Capture(r);
    }

    static int Paints(vela::MessageSpy& spy) {
        int n = 0;
        for (const vela::SpiedMessage& m : spy.Take()) n += m.message == WM_PAINT ? 1 : 0;
        return n;
    }

    Watchdog m_watchdog{60};
    CWnd m_parent;
};

}  // namespace icontest
