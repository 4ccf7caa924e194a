// The framework window base and its two windows: device broadcasts for the named volumes, the
// flip key reaching every window below the main window, and the device-wait request of a
// frame or dialog that comes up.
#include <dbt.h>
#include <vela/Terminal.h>

#include <cstring>
#include <utility>
#include <vector>

#include "MenuDialogTestSupport.h"
#include "VLFWShared.h"
#include "WindowRecorder.h"

namespace {

using Call = std::pair<VelaDevType, BOOL>;

// Records what the base makes of what it is given.
class CProbe : public CVelaFWBase {
public:
    std::vector<Call> m_calls;
    using CVelaFWBase::OnDevChange;
    using CVelaFWBase::OnFlipKeyInput;

protected:
    void OnDeviceChange(VelaDevType dev, BOOL bArrived) override { m_calls.emplace_back(dev, bArrived); }
};

// A port broadcast as the platform builds one: the name after the 12-byte header.
class PortRecord {
public:
    explicit PortRecord(std::u16string_view name, DWORD type = DBT_DEVTYP_PORT) {
        m_bytes.resize(12 + (name.size() + 1) * sizeof(WCHAR));
        auto* header = reinterpret_cast<DEV_BROADCAST_HDR*>(m_bytes.data());
        header->dbch_size = static_cast<DWORD>(m_bytes.size());
        header->dbch_devicetype = type;
        std::memcpy(m_bytes.data() + 12, name.data(), name.size() * sizeof(WCHAR));
    }
    LPARAM Param() { return reinterpret_cast<LPARAM>(m_bytes.data()); }
    DEV_BROADCAST_HDR* Header() { return reinterpret_cast<DEV_BROADCAST_HDR*>(m_bytes.data()); }

private:
    std::vector<std::byte> m_bytes;
};

void SetSlot(int slot, std::u16string_view name) {
    WCHAR* buffer = VLFWDeviceName(slot);
    name.copy(buffer, name.size());
    buffer[name.size()] = 0;
}

TEST(WindowBaseDevices, PortBroadcastsBecomeVolumeChanges) {
    CProbe probe;
    SetSlot(1, u"Storage Card");
    PortRecord card(u"Storage Card");
    EXPECT_EQ(probe.OnDevChange(DBT_DEVICEARRIVAL, card.Param()), 0);
    EXPECT_EQ(probe.OnDevChange(DBT_DEVICEQUERYREMOVE, card.Param()), 0);
    EXPECT_EQ(probe.OnDevChange(DBT_DEVICEREMOVEPENDING, card.Param()), 0);
    EXPECT_EQ(probe.OnDevChange(DBT_DEVICEREMOVECOMPLETE, card.Param()), 0);
    EXPECT_EQ(probe.m_calls, (std::vector<Call>{{VelaDevVolume1, TRUE}, {VelaDevVolume1, FALSE}}));

    // Names match exactly: another case is another volume, and the empty name is slot 2's.
    probe.m_calls.clear();
    PortRecord lower(u"storage card");
    PortRecord empty(u"");
    PortRecord volumeType(u"Storage Card", DBT_DEVTYP_VOLUME);
    probe.OnDevChange(DBT_DEVICEARRIVAL, lower.Param());
    probe.OnDevChange(DBT_DEVICEARRIVAL, volumeType.Param());
    probe.OnDevChange(DBT_DEVICEARRIVAL, empty.Param());
    EXPECT_EQ(probe.m_calls, (std::vector<Call>{{VelaDevVolume2, TRUE}}));

    // With slot 1 empty as well, the empty name is volume 1.
    probe.m_calls.clear();
    SetSlot(1, u"");
    probe.OnDevChange(DBT_DEVICEREMOVECOMPLETE, empty.Param());
    EXPECT_EQ(probe.m_calls, (std::vector<Call>{{VelaDevVolume1, FALSE}}));
}

TEST(WindowBaseDevices, BroadcastsWithoutATerminatedNameInsideTheirSizeAreIgnored) {
    CProbe probe;
    SetSlot(1, u"");
    PortRecord card(u"Storage Card");
    card.Header()->dbch_size = 12 + 4 * sizeof(WCHAR);  // the size ends inside the name
    probe.OnDevChange(DBT_DEVICEARRIVAL, card.Param());
    card.Header()->dbch_size = 12;  // no room for even a terminator
    probe.OnDevChange(DBT_DEVICEARRIVAL, card.Param());
    probe.OnDevChange(DBT_DEVICEARRIVAL, 0);
    EXPECT_TRUE(probe.m_calls.empty());
}

TEST(WindowBaseDevices, EveryNewWindowObjectClearsTheNameTableButACopyDoesNot) {
    SetSlot(1, u"Storage Card");
    SetSlot(2, u"Other");
    CProbe first;
    EXPECT_EQ(std::u16string(VLFWDeviceName(1)), u"");
    EXPECT_EQ(std::u16string(VLFWDeviceName(2)), u"");
    SetSlot(1, u"Storage Card");
    CProbe copy(first);
    copy = first;
    EXPECT_EQ(std::u16string(VLFWDeviceName(1)), u"Storage Card");
}

// A frame as an application derives it, with a record of its device changes.
class CTestFrame : public CVLFWMainFrame {
public:
    std::vector<Call> m_calls;
    int m_nSyncIme = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == VLFWSyncImeStatusMessage()) ++m_nSyncIme;
        return CVLFWMainFrame::WindowProc(message, wParam, lParam);
    }
    void OnDeviceChange(VelaDevType dev, BOOL bArrived) override { m_calls.emplace_back(dev, bArrived); }
};

class FrameworkWindows : public testing::Test {
protected:
    void SetUp() override {
        fwtest::UseManualClock();
        m_waitStart = VLFWWaitStartMessage();
        m_syncIme = VLFWSyncImeStatusMessage();
        DropWaitStarts();
    }
    void TearDown() override {
        app.m_pMainWnd = nullptr;
        vela::input::PumpUntilIdle();
        CWnd::DeleteTempMap();
        vela::clock::UseHost();
    }
    // Thread messages "WM_VELAFW_WAITSTART" waiting in this thread's queue, taken out.
    int DropWaitStarts() {
        int n = 0;
        MSG msg;
        while (::PeekMessageW(&msg, reinterpret_cast<HWND>(-1), m_waitStart, m_waitStart, PM_REMOVE)) ++n;
        return n;
    }
    CTestFrame* NewFrame() {
        auto* frame = new CTestFrame;  // a frame deletes itself with its window
        EXPECT_TRUE(frame->Create(nullptr, u"業務", WS_POPUP | WS_VISIBLE, CRect(0, 0, 240, 320)));
        return frame;
    }

    fwtest::Watchdog watchdog{60};
    CWinApp app{u"FrameworkTest"};
    UINT m_waitStart = 0;
    UINT m_syncIme = 0;
};

TEST_F(FrameworkWindows, TheMainFrameIsCreatableByNameAndAsksForTheDeviceWaitOnce) {
    CObject* object = CRuntimeClass::CreateObject("CVLFWMainFrame");
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    delete object;

    CTestFrame* frame = NewFrame();
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, reinterpret_cast<HWND>(-1), m_waitStart, m_waitStart, PM_NOREMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);  // a thread message, to the application's thread
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(msg.lParam, 0);
    EXPECT_EQ(DropWaitStarts(), 1);

    // Device broadcasts reach its base through the message map.
    SetSlot(1, u"Storage Card");
    PortRecord card(u"Storage Card");
    EXPECT_EQ(frame->SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, card.Param()), 0);
    EXPECT_EQ(frame->m_calls, (std::vector<Call>{{VelaDevVolume1, TRUE}}));
    frame->DestroyWindow();
}

TEST_F(FrameworkWindows, AStorageCardPutInAndTakenOutReachesTheFrame) {
    vela::terminal::Get().ResetForTests();
    CTestFrame* frame = NewFrame();
    SetSlot(1, u"Storage Card");
    auto setCard = [](bool present) {
        vela::terminal::Get().Update([present](vela::terminal::State& state) {
            state.identity.volumes = present ? std::vector<std::string>{"Storage Card"} : std::vector<std::string>{};
        });
    };
    setCard(true);
    setCard(false);
    EXPECT_EQ(frame->m_calls, (std::vector<Call>{{VelaDevVolume1, TRUE}, {VelaDevVolume1, FALSE}}));
    frame->DestroyWindow();
    vela::terminal::Get().ResetForTests();
}

TEST_F(FrameworkWindows, TheFlipKeyReachesEveryDescendantOfTheMainWindowOnlyForWParamZero) {
    CTestFrame* frame = NewFrame();
    app.m_pMainWnd = frame;
    // A child without an object of its own, its grandchild, and a child with an object.
    HWND child = fwtest::MakeRecorder(frame->m_hWnd, 1);
    HWND grandchild = fwtest::MakeRecorder(child, 2);
    CWnd objectChild;
    objectChild.Attach(fwtest::MakeRecorder(frame->m_hWnd, 3));
    fwtest::Recorded().clear();

    frame->SendMessage(WM_FLIPKEY_INPUT, 1, 0);
    EXPECT_EQ(fwtest::CountReceived(child, m_syncIme), 0);

    // The terminal's key posts the message to the foreground window.
    frame->SetForegroundWindow();
    vela::input::PressFlipKey();
    vela::input::PumpUntilIdle();
    EXPECT_EQ(frame->m_nSyncIme, 0);  // not the main window itself
    for (HWND hWnd : {child, grandchild, objectChild.m_hWnd}) {
        EXPECT_EQ(fwtest::CountReceived(hWnd, m_syncIme), 1);
        EXPECT_EQ(fwtest::LastWParam(hWnd, m_syncIme), 1u);
    }
    objectChild.Detach();
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
}

TEST_F(FrameworkWindows, AFrameworkDialogAsksForTheDeviceWaitWhenItIsInitialised) {
    TerminalTempDir dir;
    fwtest::WriteMenu(dir, "one.mnu", fwtest::LabelEntry(1, "一つ"));
    fwtest::CLauncherDialog dialog(dir.Path("one.mnu"), dir.Path("w.log"));
    ASSERT_TRUE(dialog.Create(IDD_MENU));
    EXPECT_EQ(DropWaitStarts(), 1);
    dialog.DestroyWindow();
}

}  // namespace
