// Shared pieces of the window-layer tests: a private terminal root, a watchdog for tests that
// run a message loop, and a window class whose procedure records what reaches it.
#pragma once

#include <afxwin.h>
#include <unistd.h>

#include <vector>

#include "PrivateTerminalRoot.h"

namespace afxtest {

// Ends the test program if a message loop never returns, instead of hanging the run.
class Watchdog {
public:
    explicit Watchdog(unsigned seconds) { ::alarm(seconds); }
    ~Watchdog() { ::alarm(0); }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
};

// What the class procedure of "AfxTestRecorder" windows received, in order.
struct Received {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
};

inline std::vector<Received>& RecorderLog() {
    static std::vector<Received> log;
    return log;
}

inline LRESULT CALLBACK RecorderProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    RecorderLog().push_back({hWnd, message, wParam});
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

inline LPCWSTR RecorderClass() {
    static bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &RecorderProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = u"AfxTestRecorder";
        return ::RegisterClassW(&wc) != 0;
    }();
    return registered ? u"AfxTestRecorder" : nullptr;
}

// How often a window's class procedure saw a message.
inline int CountReceived(HWND hWnd, UINT message) {
    int n = 0;
    for (const Received& r : RecorderLog()) {
        if (r.hwnd == hWnd && r.message == message) ++n;
    }
    return n;
}

// A plain window without an object, of the recording class.
inline HWND MakeRecorder(HWND hWndParent, int nID, int x = 0, int y = 0, int cx = 40, int cy = 20) {
    DWORD style = hWndParent != nullptr ? (WS_CHILD | WS_VISIBLE) : (WS_POPUP | WS_VISIBLE);
    return ::CreateWindowExW(0, RecorderClass(), u"", style, x, y, cx, cy, hWndParent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace afxtest
