#include "Recorder.h"

#include <windows.h>
#include <vela/Clock.h>

#include <cstdio>

namespace vela::window {
namespace {

std::string Point(const char* verb, const RecordedEvent& event) {
  return std::string(verb) + " " + std::to_string(event.x) + " " + std::to_string(event.y) + "\n";
}

}  // namespace

std::string ScriptKeyName(int vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
  if (vk >= VK_F1 && vk <= VK_F24) return "F" + std::to_string(vk - VK_F1 + 1);
  switch (vk) {
    case VK_RETURN: return "ENTER";
    case VK_ESCAPE: return "ESC";
    case VK_TAB: return "TAB";
    case VK_SPACE: return "SPACE";
    case VK_BACK: return "BACK";
    case VK_DELETE: return "DELETE";
    case VK_INSERT: return "INSERT";
    case VK_HOME: return "HOME";
    case VK_END: return "END";
    case VK_PRIOR: return "PAGEUP";
    case VK_NEXT: return "PAGEDOWN";
    case VK_LEFT: return "LEFT";
    case VK_RIGHT: return "RIGHT";
    case VK_UP: return "UP";
    case VK_DOWN: return "DOWN";
    default: break;
  }
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", vk & 0xFF);
  return hex;
}

Recorder::Recorder(const std::string& header, std::int64_t startUtc, std::uint64_t startTick)
    : header_(header), startUtc_(startUtc - startUtc % 1000), lastTick_(startTick) {
  // The clock line names a whole second; the first wait makes up the part of a second before.
  const auto part = static_cast<std::uint64_t>(startUtc % 1000);
  if (lastTick_ >= part) lastTick_ -= part;
}

std::string Recorder::Begin() const {
  std::string text;
  size_t at = 0;
  while (at < header_.size()) {
    const size_t end = std::min(header_.find('\n', at), header_.size());
    text += "# " + header_.substr(at, end - at) + "\n";
    at = end + 1;
  }
  const SYSTEMTIME t = vela::clock::ToSystemTime(startUtc_);
  char line[48];
  std::snprintf(line, sizeof line, "clock %04u-%02u-%02uT%02u:%02u:%02u\n", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond);
  return text + line;
}

std::string Recorder::WaitUntil(std::uint64_t tick) {
  if (tick <= lastTick_) return {};
  const std::uint64_t ms = tick - lastTick_;
  lastTick_ = tick;
  return "wait " + std::to_string(ms) + "\n";
}

std::string Recorder::Write(const RecordedEvent& event) {
  std::string text = WaitUntil(event.tick);
  switch (event.kind) {
    case RecordedEvent::Kind::Down: return text + Point("down", event);
    case RecordedEvent::Kind::Move: return text + Point("move", event);
    case RecordedEvent::Kind::Up: return text + Point("up", event);
    case RecordedEvent::Kind::Key: return text + "key " + ScriptKeyName(event.virtualKey) + "\n";
    case RecordedEvent::Kind::Action: return text + event.text + "\n";
    case RecordedEvent::Kind::Shot: return text + "shot " + event.text + "\n";
  }
  return text;
}

std::string Recorder::Add(const RecordedEvent& event) {
  using Kind = RecordedEvent::Kind;
  std::string text;
  if (held_) {
    const bool sameStep = held_->tick == event.tick;
    if (held_->kind == Kind::Move && event.kind == Kind::Move && sameStep) {
      held_ = event;
      return {};
    }
    if (held_->kind == Kind::Down && event.kind == Kind::Up && sameStep && held_->x == event.x &&
        held_->y == event.y) {
      text = WaitUntil(event.tick) + Point("tap", event);
      held_.reset();
      return text;
    }
    text = Write(*held_);
    held_.reset();
  }
  if (event.kind == Kind::Down || event.kind == Kind::Move) {
    held_ = event;
    return text;
  }
  return text + Write(event);
}

std::string Recorder::Finish(std::uint64_t endTick) {
  std::string text;
  if (held_) text = Write(*held_);
  held_.reset();
  return text + WaitUntil(endTick) + "quit\n";
}

}  // namespace vela::window
