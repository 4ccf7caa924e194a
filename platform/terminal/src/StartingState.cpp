#include "StartingState.h"

#include "HostAdapters.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <limits>
#include <map>

namespace vela::terminal {
namespace {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && blank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

// Decimal, or hexadecimal with 0x; the whole text must be the number.
template <typename T>
bool ParseNumber(std::string_view text, T& out) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.front() == '-' || text.front() == '+') {
    return false;
  }
  std::uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) {
    return false;
  }
  if (negative) {
    if constexpr (std::numeric_limits<T>::is_signed) {
      if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<T>::max()) + 1) {
        return false;
      }
      out = static_cast<T>(-static_cast<std::int64_t>(magnitude));
      return true;
    } else {
      return magnitude == 0 ? (out = 0, true) : false;
    }
  }
  if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<T>::max())) {
    return false;
  }
  out = static_cast<T>(magnitude);
  return true;
}

bool ParseBool(std::string_view text, bool& out) {
  const std::string v = Lower(text);
  if (v == "1" || v == "true" || v == "yes" || v == "on") {
    out = true;
  } else if (v == "0" || v == "false" || v == "no" || v == "off") {
    out = false;
  } else {
    return false;
  }
  return true;
}

bool ParseBatteryFlag(std::string_view text, std::uint8_t& out) {
  static const std::map<std::string, std::uint8_t> names = {
      {"high", battery::kHigh},         {"low", battery::kLow},
      {"critical", battery::kCritical}, {"charging", battery::kCharging},
      {"none", battery::kNoBattery},    {"unknown", battery::kUnknown}};
  const auto it = names.find(Lower(text));
  if (it != names.end()) {
    out = it->second;
    return true;
  }
  return ParseNumber(text, out);
}

// "00:80:45:01:02:03", at most 8 bytes.
bool ParseHardwareAddress(std::string_view text, std::vector<std::uint8_t>& out) {
  std::vector<std::uint8_t> bytes;
  while (!text.empty()) {
    const size_t colon = text.find_first_of(":-");
    const std::string_view part = text.substr(0, colon);
    std::uint8_t byte = 0;
    if (part.size() != 2 || std::from_chars(part.data(), part.data() + 2, byte, 16).ptr != part.data() + 2) {
      return false;
    }
    bytes.push_back(byte);
    if (colon == std::string_view::npos) {
      break;
    }
    text.remove_prefix(colon + 1);
    if (text.empty()) {
      return false;
    }
  }
  if (bytes.size() > 8) {
    return false;
  }
  out = std::move(bytes);
  return true;
}

std::vector<std::string> SplitList(std::string_view text) {
  std::vector<std::string> items;
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const std::string_view item = Trim(text.substr(0, comma));
    if (!item.empty()) {
      items.emplace_back(item);
    }
    if (comma == std::string_view::npos) {
      break;
    }
    text.remove_prefix(comma + 1);
  }
  return items;
}

using Setter = std::function<bool(State&, std::string_view)>;

template <typename T>
Setter Number(T State::*area, auto member) {
  return [=](State& s, std::string_view v) { return ParseNumber(v, s.*area.*member); };
}

template <typename T>
Setter Flag(T State::*area, bool T::*member) {
  return [=](State& s, std::string_view v) { return ParseBool(v, s.*area.*member); };
}

template <typename T>
Setter Text(T State::*area, std::string T::*member) {
  return [=](State& s, std::string_view v) { return (s.*area.*member = std::string(v), true); };
}

// Fixed keys by lower-case section, then lower-case key.
const std::map<std::string, std::map<std::string, Setter>>& FixedKeys() {
  static const auto* keys = new std::map<std::string, std::map<std::string, Setter>>{
      {"backlight",
       {{"battery", Number(&State::backlight, &Backlight::battery)},
        {"externalpower", Number(&State::backlight, &Backlight::externalPower)},
        {"batterymaximum", Number(&State::backlight, &Backlight::batteryMaximum)},
        {"externalpowermaximum", Number(&State::backlight, &Backlight::externalPowerMaximum)},
        {"readresult", Number(&State::backlight, &Backlight::readResult)}}},
      {"power",
       {{"externalpower", Flag(&State::power, &Power::externalPower)},
        {"batterypercent",
         [](State& s, std::string_view v) {
           std::uint8_t percent = 0;
           if (!ParseNumber(v, percent) || (percent > 100 && percent != 255)) {
             return false;
           }
           s.power.batteryPercent = percent;
           return true;
         }},
        {"batteryflag", [](State& s, std::string_view v) { return ParseBatteryFlag(v, s.power.batteryFlag); }},
        {"batterylifetime", Number(&State::power, &Power::batteryLifeTime)},
        {"batteryfulllifetime", Number(&State::power, &Power::batteryFullLifeTime)},
        {"batteryvoltage", Number(&State::power, &Power::batteryVoltage)},
        {"batterycurrent", Number(&State::power, &Power::batteryCurrent)},
        {"batterytemperature", Number(&State::power, &Power::batteryTemperature)},
        {"batterychemistry", Number(&State::power, &Power::batteryChemistry)},
        {"poweroffforbidden", Flag(&State::power, &Power::powerOffForbidden)},
        {"autopoweroffforbidden", Flag(&State::power, &Power::autoPowerOffForbidden)},
        {"suspendwakesafter",
         [](State& s, std::string_view v) {
           std::uint32_t ms = 0;
           if (!ParseNumber(v, ms)) {
             return false;
           }
           s.suspendWakesAfter = ms == 0 ? std::nullopt : std::optional(std::chrono::milliseconds(ms));
           return true;
         }}}},
      {"sound",
       {{"defaultbuzzer", Number(&State::sound, &Sound::defaultBuzzerVolume)},
        {"wavedevices",
         [](State& s, std::string_view v) {
           std::uint32_t count = 0;
           if (!ParseNumber(v, count) || count > 16) {
             return false;
           }
           s.sound.waveVolumes.resize(count, 0xFFFFFFFFu);
           return true;
         }}}},
      {"input",
       {{"keyinputmode", Number(&State::input, &Input::keyInputMode)},
        {"imeopen", Flag(&State::input, &Input::imeOpen)},
        {"conversion", Number(&State::input, &Input::conversion)},
        {"sentence", Number(&State::input, &Input::sentence)}}},
      {"network",
       {{"ndisdriver", Flag(&State::network, &Network::ndisDriverPresent)},
        {"mirrorhost",
         [](State& s, std::string_view v) {
           bool mirror = false;
           if (!ParseBool(v, mirror)) {
             return false;
           }
           if (mirror) {
             s.network.adapters = HostAdapters();
           }
           return true;
         }},
        {"wlan", Flag(&State::network, &Network::wlanOn)},
        // A terminal without adapters: there is no adapter section to say so.
        {"noadapters",
         [](State& s, std::string_view v) {
           bool none = false;
           if (!ParseBool(v, none)) {
             return false;
           }
           if (none) {
             s.network.adapters.clear();
           }
           return true;
         }}}},
      {"identity",
       {{"hostname", Text(&State::identity, &Identity::hostName)},
        {"systemname", Text(&State::identity, &Identity::systemName)},
        {"volumes", [](State& s, std::string_view v) { return (s.identity.volumes = SplitList(v), true); }}}},
      {"screen",
       {{"width",
         [](State& s, std::string_view v) { return ParseNumber(v, s.screen.width) && s.screen.width > 0; }},
        {"height",
         [](State& s, std::string_view v) { return ParseNumber(v, s.screen.height) && s.screen.height > 0; }}}},
  };
  return *keys;
}

// "Buzzer<kind>" and "Wave<device>" of [Sound].
bool SetIndexedSoundKey(State& state, const std::string& key, std::string_view value, bool& known) {
  std::uint32_t index = 0;
  for (const char* prefix : {"buzzer", "wave"}) {
    const std::string_view p(prefix);
    if (key.size() > p.size() && key.compare(0, p.size(), p) == 0 &&
        ParseNumber(std::string_view(key).substr(p.size()), index)) {
      known = true;
      std::uint32_t volume = 0;
      if (!ParseNumber(value, volume)) {
        return false;
      }
      if (p == "buzzer") {
        state.sound.buzzerVolumes[index] = volume;
        return true;
      }
      if (index >= 16) {
        return false;
      }
      if (state.sound.waveVolumes.size() <= index) {
        state.sound.waveVolumes.resize(index + 1, 0xFFFFFFFFu);
      }
      state.sound.waveVolumes[index] = volume;
      return true;
    }
  }
  known = false;
  return false;
}

bool SetAdapterKey(Adapter& adapter, const std::string& key, std::string_view value, bool& known) {
  known = true;
  if (key == "name") {
    adapter.name = std::string(value);
  } else if (key == "description") {
    adapter.description = std::string(value);
  } else if (key == "type") {
    return ParseNumber(value, adapter.type);
  } else if (key == "ipaddress") {
    adapter.ipAddress = std::string(value);
  } else if (key == "subnetmask") {
    adapter.subnetMask = std::string(value);
  } else if (key == "gateway") {
    adapter.gateway = std::string(value);
  } else if (key == "dhcp") {
    return ParseBool(value, adapter.dhcp);
  } else if (key == "address") {
    return ParseHardwareAddress(value, adapter.address);
  } else if (key == "addressbeforedown") {
    adapter.addressBeforeDown = std::string(value);
  } else if (key == "signaldbm") {
    if (Lower(value) == "none") {
      adapter.signalDbm.reset();
      return true;
    }
    std::int32_t dbm = 0;
    if (!ParseNumber(value, dbm)) {
      return false;
    }
    adapter.signalDbm = dbm;
  } else {
    known = false;
    return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> ApplyStartingStateText(std::string_view text, State& state, std::string_view source) {
  std::vector<std::string> problems;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  }
  // Adapter sections by number; they replace the default adapters when there is any.
  std::map<std::uint32_t, Adapter> adapters;
  std::string section;
  Adapter* adapter = nullptr;
  bool skipSection = false;
  int lineNumber = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    const auto report = [&](const std::string& what) {
      problems.push_back(std::string(source) + " line " + std::to_string(lineNumber) + ": " + what);
    };
    if (line.empty() || line.front() == ';' || line.front() == '#') {
      continue;
    }
    if (line.front() == '[') {
      adapter = nullptr;
      skipSection = false;
      if (line.back() != ']') {
        report("bad section header, section ignored");
        skipSection = true;
        continue;
      }
      section = Lower(Trim(line.substr(1, line.size() - 2)));
      std::uint32_t number = 0;
      if (section.rfind("adapter", 0) == 0 && ParseNumber(std::string_view(section).substr(7), number)) {
        adapter = &adapters[number];
      } else if (!FixedKeys().contains(section)) {
        report("unknown section [" + section + "] ignored");
        skipSection = true;
      }
      continue;
    }
    if (skipSection) {
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || section.empty()) {
      report("not a key = value line in a section, ignored");
      continue;
    }
    const std::string key = Lower(Trim(line.substr(0, equals)));
    const std::string_view value = Trim(line.substr(equals + 1));
    bool known = true;
    bool ok = false;
    if (adapter) {
      ok = SetAdapterKey(*adapter, key, value, known);
    } else {
      const auto& keys = FixedKeys().at(section);
      const auto it = keys.find(key);
      if (it != keys.end()) {
        State trial = state;  // a setter that fails half-way leaves nothing behind
        ok = it->second(trial, value);
        if (ok) {
          state = std::move(trial);
        }
      } else if (section == "sound") {
        ok = SetIndexedSoundKey(state, key, value, known);
      } else {
        known = false;
      }
    }
    if (!known) {
      report("unknown key " + key + " ignored");
    } else if (!ok) {
      report("bad value for " + key + ", default kept");
    }
  }
  if (!adapters.empty()) {  // also over the host's adapters of MirrorHost
    state.network.adapters.clear();
    for (auto& [number, a] : adapters) {
      state.network.adapters.push_back(std::move(a));
    }
  }
  return problems;
}

}  // namespace vela::terminal
