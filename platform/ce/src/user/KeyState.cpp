// Key states and the characters of keys (TranslateMessage).
#include <windows.h>

#include "user/MessageQueue.h"
#include "user/UserState.h"

namespace vela::user {

namespace {

bool Down(const Queue& q, int vk) { return (q.keyState[vk] & 0x80) != 0; }

}  // namespace

WCHAR CharacterOfKey(UINT vk) {
  auto q = CurrentQueue();
  Guard g(Lock());
  const bool shift = Down(*q, VK_SHIFT) || Down(*q, VK_LSHIFT) || Down(*q, VK_RSHIFT);
  const bool caps = (q->keyState[VK_CAPITAL] & 0x01) != 0;
  if (Down(*q, VK_CONTROL) && vk >= 'A' && vk <= 'Z') {
    return static_cast<WCHAR>(vk - 'A' + 1);
  }
  if (vk >= 'A' && vk <= 'Z') {
    return static_cast<WCHAR>((shift != caps) ? vk : vk - 'A' + 'a');
  }
  if (vk >= '0' && vk <= '9') {
    static const char16_t shifted[] = u")!\"#$%&'()";  // the Japanese keyboard's shifted digits
    return shift ? shifted[vk - '0'] : static_cast<WCHAR>(vk);
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
    return static_cast<WCHAR>(u'0' + (vk - VK_NUMPAD0));
  }
  switch (vk) {
    case VK_SPACE: return u' ';
    case VK_RETURN: return u'\r';
    case VK_BACK: return 0x08;
    case VK_TAB: return u'\t';
    case VK_ESCAPE: return 0x1B;
    case VK_MULTIPLY: return u'*';
    case VK_ADD: return u'+';
    case VK_SUBTRACT: return u'-';
    case VK_DECIMAL: return u'.';
    case VK_DIVIDE: return u'/';
    case VK_OEM_MINUS: return shift ? u'=' : u'-';
    case VK_OEM_PERIOD: return shift ? u'>' : u'.';
    case VK_OEM_COMMA: return shift ? u'<' : u',';
    case VK_OEM_2: return shift ? u'?' : u'/';
    default: return 0;
  }
}

}  // namespace vela::user

using namespace vela::user;

SHORT GetKeyState(int nVirtKey) {
  auto q = CurrentQueue();
  Guard g(Lock());
  const BYTE state = q->keyState[nVirtKey & 0xff];
  return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int vKey) {
  // Input here reaches the queues as soon as it happens, so the queue's state is the device's.
  return static_cast<SHORT>(GetKeyState(vKey) & 0x8000);
}
