// The window manager's state: classes, windows and the per-thread message queues. One lock
// guards all of it; window procedures, hooks and painting run without it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <vela/Clock.h>

#include "gdi/Region.h"

namespace vela::user {

std::mutex& Lock();
using Guard = std::unique_lock<std::mutex>;

struct WindowClass {
  std::u16string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  LPCWSTR menuName = nullptr;
  bool global = false;
  std::vector<BYTE> extra;
  int windows = 0;
};

struct Queue;

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  Window* parent = nullptr;  // the desktop for top-level windows; nullptr only for the desktop
  Window* owner = nullptr;   // owner of a popup
  std::vector<Window*> children;  // z-order, topmost first
  DWORD style = 0;
  DWORD exStyle = 0;
  WNDPROC proc = nullptr;
  LONG_PTR userData = 0;
  UINT_PTR id = 0;
  HINSTANCE instance = nullptr;
  std::u16string text;
  RECT rect{};  // in the parent's client coordinates
  std::vector<BYTE> extra;
  std::shared_ptr<Queue> queue;  // nullptr for the desktop
  DWORD threadId = 0;
  gdi::Region update;  // client coordinates
  bool erasePending = false;
  bool framePending = false;
  bool internalPaint = false;
  unsigned paintCount = 0;  // BeginPaint calls, so DispatchMessage can tell a WM_PAINT was served
  bool created = false;     // WM_CREATE returned
  bool destroying = false;  // WM_DESTROY sent or about to be
  bool dead = false;
};

struct SentMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  bool done = false;
  bool notify = false;  // SendNotifyMessage: nobody waits
  std::shared_ptr<Queue> sender;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  TIMERPROC proc;
  std::uint64_t interval;
  std::uint64_t due;
  bool expired = false;  // due and not yet delivered (WM_TIMER is coalesced)
};

struct Queue {
  DWORD threadId = 0;
  bool alive = true;
  std::deque<MSG> posted;
  std::deque<MSG> input;  // hardware input, after posted messages
  std::deque<std::shared_ptr<SentMessage>> sent;
  std::vector<Timer> timers;
  bool quitPosted = false;
  int quitCode = 0;
  // The message being processed for another thread (InSendMessage, ReplyMessage).
  std::vector<std::shared_ptr<SentMessage>> receiving;
  // Blocked in GetMessage/WaitMessage with nothing to do.
  bool idleBlocked = false;
  bool waiting = false;
  // Waking the thread: Interrupt() ends its wait, also when it has not started waiting yet.
  vela::clock::Alarm alarm;
  MSG last{};  // for GetMessagePos/GetMessageTime
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  // Key states as of the last input message retrieved (GetKeyState).
  BYTE keyState[256] = {};
};

// The calling thread's queue, created on first use; the reference lives as long as the thread.
const std::shared_ptr<Queue>& CurrentQueue();
// The queue of a thread, or nullptr when that thread never used its queue or has ended.
std::shared_ptr<Queue> QueueOfThread(DWORD threadId);
// Ends the queue's wait if it waits (lock held).
void Wake(Queue& queue);

// Windows by handle (lock held). nullptr for unknown and destroyed handles.
Window* Find(HWND hwnd);
// As Find, and sets ERROR_INVALID_WINDOW_HANDLE when not found.
Window* FindOrFail(HWND hwnd);
HWND NewHandle(Window* window);
void ReleaseHandle(HWND hwnd);
Window* Desktop();
// Top-level windows are children of the desktop.
bool IsTopLevel(const Window* w);

std::uint64_t Now();

// Geometry (lock held).
RECT ClientRectInWindow(const Window* w);  // client area in window coordinates
POINT WindowOriginOnScreen(const Window* w);
POINT ClientOriginOnScreen(const Window* w);
RECT WindowRectOnScreen(const Window* w);
bool IsReallyVisible(const Window* w);
// The deepest visible window at a screen point (disabled children leave it to their parent).
Window* WindowAtScreenPoint(POINT screen);
// Where a window may draw, in screen coordinates: its window or client area cut by its
// ancestors' clients, minus the siblings above it (and above every ancestor); with
// clipChildren its visible children are taken out too.
gdi::Region VisibleRegion(const Window* w, bool client, bool clipChildren);

// Painting (lock held): marks a screen region invalid for every window it reaches, from w down.
void InvalidateScreenRegion(Window* w, const gdi::Region& screenRegion, bool erase);
// The screen area that w covered (before it moves, hides or goes), handed to what lies below it.
void ExposeBelow(Window* w, const gdi::Region& screenRegion);
bool NeedsPaint(const Window* w);

// Calls the window procedure (lock not held). Runs the spy and message hooks.
LRESULT CallProc(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam);
// Sends to a window of this thread (lock not held); 0 for destroyed windows.
LRESULT SendLocal(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Non-client drawing: the border and caption of a window (lock not held).
void DrawFrame(HWND hwnd);
// Fills the desktop's invalid area (lock not held).
void PaintDesktop();

// Timers of a destroyed window go with it (lock held).
void RemoveTimersOf(Queue& queue, HWND hwnd);

// Focus and capture bookkeeping when a window goes away (lock not held).
void ForgetWindowInFocus(HWND hwnd);

// Hooks.
LRESULT CallCbtHook(int code, WPARAM wParam, LPARAM lParam);
void CallGetMessageHook(MSG* msg);

}  // namespace vela::user
