// Turns what a person did in the window into a script that the headless player repeats:
// `wait MS` for the virtual time between events, then the event in the script's own words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vela::window {

struct RecordedEvent {
  enum class Kind { Down, Move, Up, Key, Action, Shot };
  Kind kind = Kind::Down;
  std::uint64_t tick = 0;  // platform tick count when the event went in
  int x = 0, y = 0;        // Down/Move/Up: screen coordinates
  int virtualKey = 0;      // Key
  std::string text;        // Action: its words ("power off", "flip"); Shot: the file name
};

// The script's name of a virtual key ("ENTER", "A", "F13"), or its number in hex.
std::string ScriptKeyName(int virtualKey);

// Text comes out as soon as it is final: a down waits for a possible up at the same point
// (written `tap X Y`), a move for later moves within the same step (only the last is kept).
class Recorder {
 public:
  // header: comment lines without '#'; startUtc: the platform's UTC time when recording began,
  // in milliseconds since 1601 (written cut to the second); startTick the tick count then.
  Recorder(const std::string& header, std::int64_t startUtc, std::uint64_t startTick);

  // The header comments and the clock line.
  std::string Begin() const;
  // The text that became final with this event (may be empty).
  std::string Add(const RecordedEvent& event);
  // The rest: what was held back, a wait up to endTick, and quit.
  std::string Finish(std::uint64_t endTick);

 private:
  std::string Write(const RecordedEvent& event);
  std::string WaitUntil(std::uint64_t tick);

  std::string header_;
  std::int64_t startUtc_;
  std::uint64_t lastTick_;
  std::optional<RecordedEvent> held_;
};

}  // namespace vela::window
