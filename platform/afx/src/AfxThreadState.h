// What the window layer keeps per thread: the thread object, the window being created, the
// message being handled and the temporary window objects.
#pragma once

#include <afxwin.h>

#include <unordered_map>

namespace afx {

struct ThreadState {
    CWinThread* pThread = nullptr;
    // The object waiting for its window in CreateWindowEx/CreateDialog (the creation hook takes it).
    CWnd* pWndInit = nullptr;
    HWND hWndLastCreated = nullptr;
    HHOOK hHookCbt = nullptr;
    int nHookDepth = 0;
    // The message the window procedure is handling now (Default, GetCurrentMessage).
    MSG lastSentMsg{};
    // While UpdateData runs, control notifications to this window are ignored.
    HWND hLockoutNotifyWindow = nullptr;
    std::unordered_map<HWND, CWnd*> tempWindows;

    ~ThreadState();
};

ThreadState& CurrentThreadState();

}  // namespace afx
