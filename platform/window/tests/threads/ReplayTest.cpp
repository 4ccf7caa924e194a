// Recording and replay: a session recorded from the start of the program, played again headless
// against a fresh copy of the same windows, ends on the same screen with the same screenshots.
#include <vela/Input.h>
#include <vela/Script.h>

#include <fstream>
#include <sstream>

#include "LiveWindowFixture.h"

namespace {

using namespace vela::window::test;
using ReplayTest = LiveWindowTest;

TEST_F(ReplayTest, ARecordedSessionReplaysToTheSameScreen) {
  settings_.recordAtStart = true;
  StartWindow();
  CreateTarget(true);
  Drive(
      [&] {
        Settle();
        PushButton(SDL_MOUSEBUTTONDOWN, Z(kButtonX), Z(kButtonY));
        PushButton(SDL_MOUSEBUTTONUP, Z(kButtonX), Z(kButtonY));
        // Some real time passes, so that the timer's count is part of the picture.
        while (Target().ticks < 3) Settle();
        PushKey(SDLK_F4);
        PushKey(SDLK_x);
        PushButton(SDL_MOUSEBUTTONDOWN, Z(kButtonX), Z(kButtonY));
        PushMotion(Z(kButtonX + 3), Z(kButtonY));
        PushButton(SDL_MOUSEBUTTONUP, Z(kButtonX + 3), Z(kButtonY));
        Settle();
        PushKey(SDLK_F12);
        while (Target().ticks < 5) Settle();
        PushQuit();
      },
      false);
  frontEnd_.Stop();
  const vela::screen::Image live = vela::screen::CaptureScreen();
  const int liveTaps = Target().taps, liveTicks = Target().ticks;
  EXPECT_EQ(liveTaps, 2);

  std::ifstream file(settings_.recordPath);
  std::stringstream text;
  text << file.rdbuf();
  const vela::script::Script script = vela::script::Parse(text.str());
  for (const auto& error : script.errors) ADD_FAILURE() << vela::script::FormatError(error) << "\n" << text.str();
  ASSERT_TRUE(script.errors.empty());

  // Everything as it was before the session, then the same windows and the recording.
  DestroyTarget();
  vela::terminal::Get().ResetForTests();
  Target().taps = 0;
  Target().ticks = 0;
  CreateTarget(true);
  // The fresh windows show "taps 0" and "ticks 0": the replay has to draw the rest.
  vela::input::PumpUntilIdle();
  ASSERT_NE(vela::screen::CaptureScreen().pixels, live.pixels);
  vela::script::PlayerOptions options;
  options.shotFolder = temp_.HostPath("replay").string();
  const DWORD ui = GetCurrentThreadId();
  Drive([&] { EXPECT_EQ(vela::script::Play(script, ui, options), 0); }, false);

  EXPECT_EQ(Target().taps, liveTaps);
  EXPECT_EQ(Target().ticks, liveTicks);
  EXPECT_TRUE(vela::terminal::Get().Get().power.externalPower);
  EXPECT_EQ(vela::screen::CaptureScreen().pixels, live.pixels) << text.str();
  const auto liveShot = vela::screen::LoadPng(settings_.shotFolder + "/vela-shot-001.png");
  const auto replayShot = vela::screen::LoadPng(options.shotFolder + "/vela-shot-001.png");
  ASSERT_TRUE(liveShot && replayShot);
  EXPECT_EQ(liveShot->pixels, replayShot->pixels);
}

}  // namespace
