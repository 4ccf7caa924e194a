// The input method manager over the simulated terminal's input method. A NULL context is the
// terminal's own input method; this platform hands out no other contexts. Changes reach the
// terminal's listeners, which turn them into WM_IME_NOTIFY.
#include <imm.h>
#include <vela/Terminal.h>

namespace {

bool KnownContext(HIMC hIMC) {
  if (hIMC) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}

}  // namespace

BOOL ImmGetOpenStatus(HIMC hIMC) {
  if (!KnownContext(hIMC)) {
    return FALSE;
  }
  return vela::terminal::Get().Get().input.imeOpen ? TRUE : FALSE;
}

BOOL ImmSetOpenStatus(HIMC hIMC, BOOL fOpen) {
  if (!KnownContext(hIMC)) {
    return FALSE;
  }
  vela::terminal::Get().Update([&](vela::terminal::State& s) { s.input.imeOpen = fOpen != FALSE; });
  return TRUE;
}

BOOL ImmGetConversionStatus(HIMC hIMC, LPDWORD lpfdwConversion, LPDWORD lpfdwSentence) {
  if (!KnownContext(hIMC)) {
    return FALSE;
  }
  const vela::terminal::Input input = vela::terminal::Get().Get().input;
  // Either pointer may be NULL when the caller wants only the other value.
  if (lpfdwConversion) {
    *lpfdwConversion = input.conversion;
  }
  if (lpfdwSentence) {
    *lpfdwSentence = input.sentence;
  }
  return TRUE;
}

BOOL ImmSetConversionStatus(HIMC hIMC, DWORD fdwConversion, DWORD fdwSentence) {
  if (!KnownContext(hIMC)) {
    return FALSE;
  }
  vela::terminal::Get().Update([&](vela::terminal::State& s) {
    s.input.conversion = fdwConversion;
    s.input.sentence = fdwSentence;
  });
  return TRUE;
}
