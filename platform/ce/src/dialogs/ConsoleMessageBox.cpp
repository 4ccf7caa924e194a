#include "dialogs/ConsoleMessageBox.h"

#include <vela/DesktopSide.h>
#include <vela/Utf.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

namespace vela::dialogs {
namespace {

std::atomic<bool> g_onStandardError{false};

std::vector<int> ButtonIds(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

}  // namespace

bool MessageBoxesOnStandardError() { return g_onStandardError; }

int AnswerOnStandardError(LPCWSTR text, LPCWSTR caption, UINT type) {
  std::u16string line = u"[";
  line += caption ? caption : u"Error";
  line += u"] ";
  // Line breaks of the text stay line breaks, without the carriage returns.
  for (const char16_t* p = text ? text : u""; *p; ++p) {
    if (*p != u'\r') line += *p;
  }
  line += u'\n';
  std::fputs(Utf16ToUtf8(line).c_str(), stderr);
  std::fflush(stderr);
  const std::vector<int> ids = ButtonIds(type);
  const size_t def = (type & MB_DEFMASK) >> 8;
  return def < ids.size() ? ids[def] : ids.front();
}

}  // namespace vela::dialogs

namespace vela {

void ShowMessageBoxesOnStandardError(bool on) { dialogs::g_onStandardError = on; }

}  // namespace vela
