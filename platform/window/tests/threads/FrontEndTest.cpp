// The window live, started in this process against windows of the test's own thread: mouse
// and keys pushed into SDL's queue reach the application as stylus and keys, action keys change
// the terminal, F12 saves the screen, the help and a suspend change what the window shows, and
// closing it ends the application.
#include <vela/SimControl.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "LiveWindowFixture.h"

namespace {

using namespace vela::window::test;
using FrontEndTest = LiveWindowTest;

TEST_F(FrontEndTest, MouseTapsAButtonAndKeysReachTheFocusWindowAtEveryZoom) {
  for (int zoom : {1, 3}) {
    SCOPED_TRACE("zoom " + std::to_string(zoom));
    settings_.zoom = zoom;
    StartWindow();
    CreateTarget();
    Drive([&] {
      // Keys first: the clicked button takes the focus.
      PushKey(SDLK_RETURN);
      PushKey(SDLK_r);  // without Ctrl: the terminal's R
      PushButton(SDL_MOUSEBUTTONDOWN, Z(kButtonX), Z(kButtonY));
      PushButton(SDL_MOUSEBUTTONUP, Z(kButtonX), Z(kButtonY));
      Settle();
    });
    EXPECT_EQ(Target().taps, 1);
    EXPECT_EQ(Target().keys, 2);
    EXPECT_EQ(Target().lastKey, 'R');
    frontEnd_.Stop();
    DestroyTarget();
    Target().taps = 0;
    Target().keys = 0;
  }
}

TEST_F(FrontEndTest, ADragLeavingTheWindowEndsWithTheUpAtTheEdge) {
  StartWindow();
  CreateTarget();
  Drive([&] {
    PushButton(SDL_MOUSEBUTTONDOWN, Z(kLeft + 150), Z(kTop + 100));
    // A hand takes longer than a step: the window has taken the capture before the drag.
    Settle();
    PushMotion(-40, Z(kTop + 100));
    PushButton(SDL_MOUSEBUTTONUP, -40, Z(kTop + 100));
    // A click outside the screen is nobody's.
    PushButton(SDL_MOUSEBUTTONDOWN, 240 * 2 + 5, 10);
    PushButton(SDL_MOUSEBUTTONUP, 240 * 2 + 5, 10);
    Settle();
  });
  // Screen x 0 is client x -20 of the window that holds the capture.
  EXPECT_EQ(Target().lastUp, MAKELPARAM(static_cast<WORD>(-kLeft), 100));
}

TEST_F(FrontEndTest, ActionKeysChangeTheTerminalAndSuspendDarkensTheWindow) {
  StartWindow();
  CreateTarget();
  vela::screen::Image asleep, awake;
  Drive([&] {
    PushKey(SDLK_F4);  // external power
    PushKey(SDLK_F8);  // network down
    PushKey(SDLK_F5);  // battery from 100 to 80
    PushKey(SDLK_F3);  // suspend
    Settle();
    asleep = frontEnd_.Shown();
    PushKey(SDLK_F3);  // wake
    Settle();
    awake = frontEnd_.Shown();
  });
  const vela::terminal::State state = vela::terminal::Get().Get();
  EXPECT_TRUE(state.power.externalPower);
  EXPECT_EQ(state.power.batteryPercent, 80);
  EXPECT_EQ(state.network.adapters.front().ipAddress, "0.0.0.0");
  EXPECT_FALSE(vela::terminal::Get().IsSuspended());
  EXPECT_EQ(vela::terminal::Get().GetRecords().suspends, 1u);
  ASSERT_FALSE(asleep.pixels.empty());
  EXPECT_TRUE(std::all_of(asleep.pixels.begin(), asleep.pixels.end(), [](std::uint32_t p) { return p == 0; }));
  EXPECT_EQ(awake.pixels, Scaled(vela::screen::CaptureScreen(), settings_.zoom).pixels);
}

TEST_F(FrontEndTest, F12SavesTheScreenAtItsOwnSizeWithoutOverwriting) {
  StartWindow();
  CreateTarget();
  std::ofstream(settings_.shotFolder + "/vela-shot-001.png") << "an earlier session's";
  Drive([&] {
    PushKey(SDLK_F12);
    Settle();
  });
  const auto shot = vela::screen::LoadPng(settings_.shotFolder + "/vela-shot-002.png");
  ASSERT_TRUE(shot.has_value());
  const vela::screen::Image screen = vela::screen::CaptureScreen();
  EXPECT_EQ(shot->width, screen.width);
  EXPECT_EQ(shot->height, screen.height);
  EXPECT_EQ(shot->pixels, screen.pixels);
  EXPECT_EQ(Target().keys, 0);  // the window's key, not the application's
}

TEST_F(FrontEndTest, HelpLiesOverTheScreenUntilAnyKeyAndSwallowsThatKey) {
  StartWindow();
  CreateTarget();
  vela::screen::Image help, after;
  Drive([&] {
    PushKey(SDLK_F1);
    Settle();
    help = frontEnd_.Shown();
    PushKey(SDLK_a);
    Settle();
    after = frontEnd_.Shown();
  });
  const vela::screen::Image plain = Scaled(vela::screen::CaptureScreen(), settings_.zoom);
  ASSERT_EQ(help.pixels.size(), plain.pixels.size());
  // Text in light pixels over the screen dimmed to an eighth (the white window goes dark grey).
  size_t text = 0, dimmed = 0;
  for (size_t i = 0; i < plain.pixels.size(); ++i) {
    if (help.pixels[i] == ((plain.pixels[i] >> 3) & 0x1F1F1Fu)) ++dimmed;
    else ++text;
  }
  EXPECT_GT(text, 1000u);
  EXPECT_GT(dimmed, plain.pixels.size() / 2);
  EXPECT_EQ(after.pixels, plain.pixels);
  EXPECT_EQ(Target().keys, 0);
}

TEST_F(FrontEndTest, ClosingTheWindowEndsTheApplication) {
  StartWindow();
  CreateTarget();
  // Only the window's WM_QUIT can end this loop.
  Drive([&] { PushQuit(); }, false);
  SUCCEED();
}

TEST_F(FrontEndTest, ARecordingKeepsActionsThatAnotherShellSent) {
  settings_.recordAtStart = true;
  StartWindow();
  CreateTarget();
  ASSERT_TRUE(vela::sim::StartListener());
  Drive(
      [&] {
        Settle();
        // As vela-ctl does it, to every process of the terminal.
        const auto replies = vela::sim::SendToAll(std::getenv("VELA_ROOT"), "battery 20");
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_TRUE(replies[0].accepted) << replies[0].text;
        Settle();
        PushKey(SDLK_F4);
        Settle();
        PushQuit();
      },
      false);
  vela::sim::StopListener();
  frontEnd_.Stop();
  std::ifstream file(settings_.recordPath);
  std::stringstream text;
  text << file.rdbuf();
  const std::string script = text.str();
  const size_t battery = script.find("\nbattery 20\n");
  const size_t power = script.find("\npower on\n");
  EXPECT_NE(battery, std::string::npos) << script;
  EXPECT_NE(power, std::string::npos) << script;
  EXPECT_LT(battery, power) << script;
  EXPECT_EQ(vela::terminal::Get().Get().power.batteryPercent, 20);
}

TEST_F(FrontEndTest, StartFailsClearlyWithoutADisplayOrWithABadBindingsFile) {
  ::setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  const std::string noDisplay = frontEnd_.Start(settings_, GetCurrentThreadId());
  EXPECT_NE(noDisplay.find("needs a display"), std::string::npos) << noDisplay;
  vela::window::test::UseDummyVideo();

  settings_.keysFile = temp_.HostPath("bad.keys").string();
  std::ofstream(settings_.keysFile) << "F1 = help\nF2 = jump\n";
  const std::string badKeys = frontEnd_.Start(settings_, GetCurrentThreadId());
  EXPECT_EQ(badKeys.rfind(settings_.keysFile + ":2: ", 0), 0u) << badKeys;

  settings_.keysFile = temp_.HostPath("missing.keys").string();
  EXPECT_NE(frontEnd_.Start(settings_, GetCurrentThreadId()).find("cannot read"), std::string::npos);
}

TEST(WindowSettingsTest, ZoomIsAWholeNumberFromOneToFour) {
  EXPECT_EQ(vela::window::ParseZoom("1"), 1);
  EXPECT_EQ(vela::window::ParseZoom("4"), 4);
  for (const char* bad : {"0", "5", "", "2x", " 2", "-1", "02"}) EXPECT_FALSE(vela::window::ParseZoom(bad)) << bad;
}

}  // namespace
