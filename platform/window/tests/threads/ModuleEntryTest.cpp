// The module as the simulator meets it: found by LoadLibrary under its platform name, its two
// exports by GetProcAddress; settings come from the environment, a bad one fails the start.
#include <vela/WindowFrontEnd.h>

#include <cstdlib>

#include "LiveWindowFixture.h"

namespace {

using namespace vela::window::test;

class ModuleEntryTest : public LiveWindowTest {
 protected:
  ModuleEntryTest() {
    module_ = LoadLibraryW(u"VelaWindow.dll");
    start_ = reinterpret_cast<VelaWindowStartProc>(reinterpret_cast<void (*)()>(GetProcAddress(module_, u"VelaWindowStart")));
    stop_ = reinterpret_cast<VelaWindowStopProc>(reinterpret_cast<void (*)()>(GetProcAddress(module_, u"VelaWindowStop")));
  }
  ~ModuleEntryTest() override {
    ::unsetenv("VELA_ZOOM");
    ::unsetenv("VELA_KEYS");
    if (module_) FreeLibrary(module_);
  }

  HMODULE module_ = nullptr;
  VelaWindowStartProc start_ = nullptr;
  VelaWindowStopProc stop_ = nullptr;
};

TEST_F(ModuleEntryTest, StartsFromTheEnvironmentAndStopsAfterTheApplication) {
  ASSERT_NE(module_, nullptr);
  ASSERT_NE(start_, nullptr);
  ASSERT_NE(stop_, nullptr);

  ::setenv("VELA_ZOOM", "5", 1);
  EXPECT_NE(start_(GetCurrentThreadId()), 0);
  ::setenv("VELA_ZOOM", "1", 1);
  ::setenv("VELA_KEYS", temp_.HostPath("absent.keys").c_str(), 1);
  EXPECT_NE(start_(GetCurrentThreadId()), 0);
  ::unsetenv("VELA_KEYS");

  ASSERT_EQ(start_(GetCurrentThreadId()), 0);
  EXPECT_TRUE(vela::clock::IsManual());
  CreateTarget();
  // The window's Ctrl+Q ends the application's loop; the simulator then stops the window.
  Drive([&] { PushKey(SDLK_q, KMOD_LCTRL); }, false);
  stop_();
  stop_();  // a second stop is harmless
}

}  // namespace
