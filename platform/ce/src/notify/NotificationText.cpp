// The text form of the notification database.
//
//   ; comment
//   NextHandle=13
//
//   [Notification 5]
//   Type=1
//   Event=11
//   Application=\\.\Notifications\NamedEvents\MenuApp
//   Arguments=-wake                  (absent: no arguments)
//   Start=2026-12-07 18:00:00.000 1  (the day of the week last)
//   End=0000-00-00 00:00:00.000 0
//   Actions=4                        (Actions, DialogTitle, DialogText, Sound, MaxSound: only
//   DialogTitle=...                   with a user part)
//
// Texts are UTF-8; '%', control characters, a final space and lone surrogates are written
// %XX or %uXXXX.
#include <vela/Utf.h>

#include <charconv>
#include <cstdio>
#include <map>

#include "notify/NotificationStore.h"

namespace vela::notify {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::string Escape(std::u16string_view text) {
  std::string out;
  char buffer[8];
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    // A space at the end is escaped too: line ends are trimmed when read.
    if (c == u'%' || c < 0x20 || c == 0x7F || (c == u' ' && i + 1 == text.size())) {
      std::snprintf(buffer, sizeof buffer, "%%%02X", static_cast<unsigned>(c));
      out += buffer;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      out += Utf16ToUtf8(text.substr(i, 2));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      std::snprintf(buffer, sizeof buffer, "%%u%04X", static_cast<unsigned>(c));
      out += buffer;
    } else {
      out += Utf16ToUtf8(text.substr(i, 1));
    }
  }
  return out;
}

bool Hex(std::u16string_view digits, unsigned& value) {
  value = 0;
  for (char16_t d : digits) {
    value <<= 4;
    if (d >= u'0' && d <= u'9') {
      value |= d - u'0';
    } else if (d >= u'A' && d <= u'F') {
      value |= d - u'A' + 10;
    } else if (d >= u'a' && d <= u'f') {
      value |= d - u'a' + 10;
    } else {
      return false;
    }
  }
  return true;
}

std::u16string Unescape(std::string_view stored) {
  const std::u16string text = Utf8ToUtf16(stored);
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned value = 0;
    if (text[i] == u'%' && i + 5 < text.size() && text[i + 1] == u'u' && Hex(text.substr(i + 2, 4), value)) {
      out += static_cast<char16_t>(value);
      i += 5;
    } else if (text[i] == u'%' && i + 2 < text.size() && Hex(text.substr(i + 1, 2), value)) {
      out += static_cast<char16_t>(value);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string FormatTime(const SYSTEMTIME& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u %02u:%02u:%02u.%03u %u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond, t.wMilliseconds, t.wDayOfWeek);
  return buffer;
}

bool ParseTime(std::string_view text, SYSTEMTIME& t) {
  unsigned v[8];
  char tail = 0;
  if (std::sscanf(std::string(text).c_str(), "%u-%u-%u %u:%u:%u.%u %u%c", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
                  &v[6], &v[7], &tail) != 8) {
    return false;
  }
  for (unsigned x : v) {
    if (x > 0xFFFF) {
      return false;
    }
  }
  t = SYSTEMTIME{static_cast<WORD>(v[0]), static_cast<WORD>(v[1]), static_cast<WORD>(v[7]), static_cast<WORD>(v[2]),
                 static_cast<WORD>(v[3]), static_cast<WORD>(v[4]), static_cast<WORD>(v[5]), static_cast<WORD>(v[6])};
  return true;
}

bool ParseNumber(std::string_view text, std::uint32_t& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

void Line(std::string& out, const char* key, const std::string& value) {
  out += key;
  out += '=';
  out += value;
  out += '\n';
}

// One section's keys into an entry; false when the section cannot stand as a registration.
bool Build(std::uint32_t handle, const std::map<std::string, std::string>& keys, StoredNotification& n) {
  n.handle = handle;
  const auto text = [&](const char* key) -> std::optional<std::u16string> {
    const auto it = keys.find(key);
    return it == keys.end() ? std::nullopt : std::optional(Unescape(it->second));
  };
  const auto number = [&](const char* key, DWORD& out) {
    const auto it = keys.find(key);
    std::uint32_t v = 0;
    if (it == keys.end() || !ParseNumber(it->second, v)) {
      return false;
    }
    out = v;
    return true;
  };
  const auto time = [&](const char* key, SYSTEMTIME& out) {
    const auto it = keys.find(key);
    return it == keys.end() || ParseTime(it->second, out);
  };
  std::optional<std::u16string> application = text("Application");
  if (!number("Type", n.type) || !number("Event", n.event) || !application || application->empty() ||
      !time("Start", n.start) || !time("End", n.end)) {
    return false;
  }
  n.application = std::move(*application);
  n.arguments = text("Arguments");
  StoredUserPart user;
  if (number("Actions", user.actionFlags)) {
    user.dialogTitle = text("DialogTitle");
    user.dialogText = text("DialogText");
    user.sound = text("Sound");
    number("MaxSound", user.maxSound);
    n.user = std::move(user);
  }
  return true;
}

}  // namespace

std::string FormatNotifications(const NotificationTable& table) {
  std::string out =
      "; The terminal's notification database, one section per registration. Written by the platform\n"
      "; whenever a registration changes; edit only while no program of the terminal runs.\n";
  Line(out, "NextHandle", std::to_string(table.nextHandle));
  for (const StoredNotification& n : table.entries) {
    out += "\n[Notification " + std::to_string(n.handle) + "]\n";
    Line(out, "Type", std::to_string(n.type));
    Line(out, "Event", std::to_string(n.event));
    Line(out, "Application", Escape(n.application));
    if (n.arguments) {
      Line(out, "Arguments", Escape(*n.arguments));
    }
    Line(out, "Start", FormatTime(n.start));
    Line(out, "End", FormatTime(n.end));
    if (n.user) {
      Line(out, "Actions", std::to_string(n.user->actionFlags));
      if (n.user->dialogTitle) Line(out, "DialogTitle", Escape(*n.user->dialogTitle));
      if (n.user->dialogText) Line(out, "DialogText", Escape(*n.user->dialogText));
      if (n.user->sound) Line(out, "Sound", Escape(*n.user->sound));
      Line(out, "MaxSound", std::to_string(n.user->maxSound));
    }
  }
  return out;
}

NotificationTable ParseNotifications(std::string_view text) {
  NotificationTable table;
  std::optional<std::uint32_t> section;  // handle of the section being read
  std::map<std::string, std::string> keys;
  const auto finish = [&] {
    StoredNotification n;
    if (section && Build(*section, keys, n)) {
      table.entries.push_back(std::move(n));
    }
    keys.clear();
  };
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == ';') {
      continue;
    }
    if (line.front() == '[') {
      finish();
      section.reset();
      constexpr std::string_view kPrefix = "[Notification ";
      std::uint32_t handle = 0;
      if (line.size() > kPrefix.size() + 1 && line.substr(0, kPrefix.size()) == kPrefix && line.back() == ']' &&
          ParseNumber(line.substr(kPrefix.size(), line.size() - kPrefix.size() - 1), handle) && handle != 0) {
        section = handle;
        for (const StoredNotification& n : table.entries) {
          if (n.handle == handle) {
            section.reset();  // a second section of one handle: the first stands
          }
        }
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      continue;
    }
    const std::string key(Trim(line.substr(0, equals)));
    const std::string value(line.substr(equals + 1));
    if (section) {
      keys.emplace(key, value);
    } else if (key == "NextHandle") {
      ParseNumber(Trim(value), table.nextHandle);
    }
  }
  finish();
  return table;
}

}  // namespace vela::notify
