// Windows without a class-library object that record the messages their procedure receives.
#pragma once

#include <windows.h>

#include <vector>

namespace fwtest {

struct Received {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
};

inline std::vector<Received>& Recorded() {
    static std::vector<Received> log;
    return log;
}

inline LRESULT CALLBACK RecorderProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorded().push_back({hWnd, message, wParam});
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

// A visible child window of the recording class.
inline HWND MakeRecorder(HWND hWndParent, int nID) {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &RecorderProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = u"VelaFWTestRecorder";
        return ::RegisterClassW(&wc) != 0;
    }();
    if (!registered) return nullptr;
    return ::CreateWindowExW(0, u"VelaFWTestRecorder", u"", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, hWndParent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), ::GetModuleHandleW(nullptr),
                             nullptr);
}

inline int CountReceived(HWND hWnd, UINT message) {
    int n = 0;
    for (const Received& r : Recorded()) n += (r.hwnd == hWnd && r.message == message) ? 1 : 0;
    return n;
}

inline WPARAM LastWParam(HWND hWnd, UINT message) {
    WPARAM last = 0;
    for (const Received& r : Recorded()) {
        if (r.hwnd == hWnd && r.message == message) last = r.wParam;
    }
    return last;
}

}  // namespace fwtest
