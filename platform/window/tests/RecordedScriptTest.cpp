// Everything the recorder writes is a script the player's parser takes.
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

TEST(RecordedScriptTest, ThePlayerParsesEverythingTheRecorderWrites) {
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
