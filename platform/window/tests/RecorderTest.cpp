// The recorder's script for a sequence of events: waits in virtual time between events, taps
// and coalesced moves, keys by name, actions and shots as words, quit at the end; and the
// player's parser takes all of it.
#include <windows.h>
#include <vela/Clock.h>
#include <vela/Script.h>

#include <gtest/gtest.h>

#include "Recorder.h"

namespace {

using vela::window::RecordedEvent;
using vela::window::Recorder;
using Kind = RecordedEvent::Kind;

vela::clock::Milliseconds At(WORD h, WORD m, WORD s, WORD ms) {
  vela::clock::Milliseconds point = 0;
  EXPECT_TRUE(vela::clock::FromSystemTime(SYSTEMTIME{2026, 12, 0, 7, h, m, s, ms}, point));
  return point;
}

RecordedEvent Pointer(Kind kind, std::uint64_t tick, int x, int y) {
  RecordedEvent event;
  event.kind = kind;
  event.tick = tick;
  event.x = x;
  event.y = y;
  return event;
}

RecordedEvent Other(Kind kind, std::uint64_t tick, std::string text, int vk = 0) {
  RecordedEvent event;
  event.kind = kind;
  event.tick = tick;
  event.text = std::move(text);
  event.virtualKey = vk;
  return event;
}

std::string Record(Recorder& recorder, const std::vector<RecordedEvent>& events, std::uint64_t end) {
  std::string text = recorder.Begin();
  for (const RecordedEvent& event : events) text += recorder.Add(event);
  return text + recorder.Finish(end);
}

TEST(RecorderTest, ASessionBecomesAScriptInVirtualTime) {
  Recorder recorder("Recorded by a test.\nSecond line.", At(21, 40, 3, 0), 5000);
  const std::string text = Record(recorder,
                                  {
                                      Pointer(Kind::Down, 6230, 10, 20),
                                      Pointer(Kind::Up, 6230, 10, 20),  // same step, same point: a tap
                                      Pointer(Kind::Down, 6500, 30, 40),
                                      Pointer(Kind::Move, 6510, 31, 40),
                                      Pointer(Kind::Move, 6510, 32, 41),  // same step: only the last
                                      Pointer(Kind::Move, 6520, 33, 42),
                                      Pointer(Kind::Up, 6520, 33, 42),
                                      Other(Kind::Key, 7000, "", VK_RETURN),
                                      Other(Kind::Key, 7000, "", 'A'),
                                      Other(Kind::Key, 7000, "", VK_F13),
                                      Other(Kind::Key, 7000, "", 0xBA),  // no name: its number
                                      Other(Kind::Action, 7100, "power off"),
                                      Other(Kind::Action, 7100, "flip"),
                                      Other(Kind::Shot, 8000, "vela-shot-001.png"),
                                  },
                                  9990);
  EXPECT_EQ(text,
            "# Recorded by a test.\n"
            "# Second line.\n"
            "clock 2026-12-07T21:40:03\n"
            "wait 1230\n"
            "tap 10 20\n"
            "wait 270\n"
            "down 30 40\n"
            "wait 10\n"
            "move 32 41\n"
            "wait 10\n"
            "move 33 42\n"
            "up 33 42\n"
            "wait 480\n"
            "key ENTER\n"
            "key A\n"
            "key F13\n"
            "key 0xBA\n"
            "wait 100\n"
            "power off\n"
            "flip\n"
            "wait 900\n"
            "shot vela-shot-001.png\n"
            "wait 1990\n"
            "quit\n");
}

TEST(RecorderTest, HeldBackEventsComeOutWhenTheyAreFinal) {
  Recorder recorder("", At(0, 0, 0, 0), 0);
  EXPECT_EQ(recorder.Add(Pointer(Kind::Down, 10, 1, 1)), "");
  // An up somewhere else is no tap.
  EXPECT_EQ(recorder.Add(Pointer(Kind::Up, 10, 2, 1)), "wait 10\ndown 1 1\nup 2 1\n");
  EXPECT_EQ(recorder.Add(Pointer(Kind::Down, 20, 5, 5)), "");
  // A down still held at the end is written before the quit.
  EXPECT_EQ(recorder.Finish(20), "wait 10\ndown 5 5\nquit\n");
}

TEST(RecorderTest, ARecordingStartedWithinASecondWaitsTheRestOfItFirst) {
  Recorder recorder("", At(21, 40, 3, 250), 1000);
  EXPECT_NE(recorder.Begin().find("clock 2026-12-07T21:40:03\n"), std::string::npos);
  EXPECT_EQ(recorder.Add(Other(Kind::Key, 1000, "", VK_ESCAPE)), "wait 250\nkey ESC\n");
}

TEST(RecorderTest, ThePlayerParsesEverythingTheRecorderWrites) {
  Recorder recorder("header", At(12, 0, 0, 0), 0);
  const std::string text = Record(recorder,
                                  {Pointer(Kind::Down, 10, 0, 0), Pointer(Kind::Move, 20, 239, 319),
                                   Pointer(Kind::Up, 30, 239, 319), Pointer(Kind::Down, 40, 7, 7),
                                   Pointer(Kind::Up, 40, 7, 7), Other(Kind::Key, 50, "", VK_PRIOR),
                                   Other(Kind::Key, 50, "", VK_BACK), Other(Kind::Key, 50, "", VK_DELETE),
                                   Other(Kind::Action, 60, "volume in Storage Card"),
                                   Other(Kind::Action, 60, "ime halfkana"), Other(Kind::Action, 60, "suspend"),
                                   Other(Kind::Action, 70, "wake"), Other(Kind::Shot, 80, "vela-shot-002.png")},
                                  100);
  const vela::script::Script script = vela::script::Parse(text);
  for (const auto& error : script.errors) ADD_FAILURE() << vela::script::FormatError(error) << "\n" << text;
  ASSERT_FALSE(script.commands.empty());
  EXPECT_EQ(script.commands.front().op, vela::script::Op::Clock);
  EXPECT_EQ(script.commands.back().op, vela::script::Op::Quit);
  int keys = 0;
  for (const auto& command : script.commands) {
    if (command.op == vela::script::Op::Key) {
      EXPECT_TRUE(command.number == VK_PRIOR || command.number == VK_BACK || command.number == VK_DELETE)
          << command.number;
      ++keys;
    }
  }
  EXPECT_EQ(keys, 3);
}

}  // namespace
