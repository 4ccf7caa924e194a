// ShellExecuteA: the desktop's one-call form over ShellExecuteEx.
#include <shellapi.h>

#include <string>

#include "modules/AnsiText.h"

namespace {

// A null stays null: ShellExecuteEx tells "not given" from "empty".
struct Wide {
  explicit Wide(LPCSTR text) : given(text != nullptr), value(text ? vela::modules::AnsiToWide(text) : u"") {}
  LPCWSTR get() const { return given ? value.c_str() : nullptr; }
  bool given;
  std::u16string value;
};

}  // namespace

HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                        LPCSTR lpDirectory, INT nShowCmd) {
  const Wide verb(lpOperation), file(lpFile), parameters(lpParameters), directory(lpDirectory);
  SHELLEXECUTEINFO info{};
  info.cbSize = sizeof info;
  info.hwnd = hwnd;
  info.lpVerb = verb.get();
  info.lpFile = file.get();
  info.lpParameters = parameters.get();
  info.lpDirectory = directory.get();
  info.nShow = nShowCmd;
  ShellExecuteEx(&info);
  return info.hInstApp;
}
