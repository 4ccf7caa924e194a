// Retrieval and helpers shared by the queue functions, the input and the test pump.
#pragma once

#include <chrono>

#include "user/UserState.h"

namespace vela::user {

// A message stamped with the time and the stylus position (lock held for the position).
MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The stylus position on the screen (lock held).
POINT& CursorPosition();
// Finds the next message for the filter; with wait, blocks until there is one.
bool Retrieve(Queue& q, MSG* out, HWND filter, UINT min, UINT max, UINT flags, bool wait);
void ProcessSentMessage(Queue& q, const std::shared_ptr<SentMessage>& m);
// Until the thread blocks in GetMessage/WaitMessage with nothing pending, or the time-out.
bool WaitForIdle(DWORD threadId, std::chrono::milliseconds timeout);
// The character a key gives with the calling thread's shift state, or 0 (TranslateMessage).
WCHAR CharacterOfKey(UINT vk);

}  // namespace vela::user
