// The simulated terminal's actions in words: parsed into one change, then applied.
#include <vela/DeviceAction.h>

#include <imm.h>
#include <vela/Input.h>
#include <vela/Terminal.h>

#include <atomic>
#include <charconv>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vela::device {
namespace {

using terminal::State;

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < text.size()) {
    const size_t start = text.find_first_not_of(" \t\r\n", at);
    if (start == std::string_view::npos) break;
    const size_t end = text.find_first_of(" \t\r\n", start);
    words.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    at = end == std::string_view::npos ? text.size() : end;
  }
  return words;
}

std::optional<int> Number(std::string_view word) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// The rest of the words as one text (a volume's name may hold spaces).
std::string Rest(const std::vector<std::string_view>& words, size_t from) {
  std::string text;
  for (size_t i = from; i < words.size(); ++i) {
    if (!text.empty()) text += ' ';
    text += words[i];
  }
  return text;
}

std::uint8_t BatteryFlagFor(int percent) {
  if (percent >= 40) return terminal::battery::kHigh;
  if (percent >= 10) return terminal::battery::kLow;
  if (percent > 0) return terminal::battery::kCritical;
  return 0;  // empty: the level alone tells
}

// The address an adapter gets back when the network comes up: its own default, or a fixed one.
std::string DefaultAddressOf(const std::string& adapterName) {
  for (const terminal::Adapter& adapter : terminal::DefaultAdapters()) {
    if (adapter.name == adapterName) return adapter.ipAddress;
  }
  return "192.168.10.20";
}

struct ImeMode {
  std::string_view word;
  bool open;
  std::uint32_t conversion;
};
constexpr ImeMode kImeModes[] = {
    {"off", false, 0},
    {"hiragana", true, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE},
    {"katakana", true, IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE},
    {"alpha", true, IME_CMODE_FULLSHAPE},
    {"halfkana", true, IME_CMODE_NATIVE | IME_CMODE_KATAKANA},
    {"halfalpha", true, IME_CMODE_ALPHANUMERIC},
};

// What an action does, worked out before anything changes.
struct Plan {
  std::string error;
  std::function<void(State&)> edit;  // a change of the settings
  enum class Special { None, Suspend, Wake, Flip } special = Special::None;
};

Plan Fail(std::string message) { return Plan{std::move(message), {}, Plan::Special::None}; }

Plan PlanOf(std::string_view text) {
  const std::vector<std::string_view> words = Words(text);
  if (words.empty()) return Fail("no action given");
  const std::string_view verb = words[0];
  const auto argument = [&](size_t i) { return i < words.size() ? words[i] : std::string_view(); };
  const auto exactly = [&](size_t count) { return words.size() == count; };

  if (verb == "power") {
    if (exactly(2) && (argument(1) == "on" || argument(1) == "off")) {
      const bool on = argument(1) == "on";
      return Plan{{}, [on](State& s) {
                    s.power.externalPower = on;
                    // Flags of no battery or of an unknown one are no set of bits to change.
                    if (s.power.batteryFlag != terminal::battery::kNoBattery &&
                        s.power.batteryFlag != terminal::battery::kUnknown) {
                      s.power.batteryFlag = static_cast<std::uint8_t>(
                          on ? (s.power.batteryFlag | terminal::battery::kCharging)
                             : (s.power.batteryFlag & ~terminal::battery::kCharging));
                    }
                  }};
    }
    return Fail("power: say 'power on' or 'power off'");
  }
  if (verb == "battery") {
    if (exactly(2) && argument(1) == "none") {
      return Plan{{}, [](State& s) {
                    s.power.batteryFlag = terminal::battery::kNoBattery;
                    s.power.batteryPercent = 255;
                  }};
    }
    const std::optional<int> percent = exactly(2) ? Number(argument(1)) : std::nullopt;
    if (!percent || *percent < 0 || *percent > 100) {
      return Fail("battery: '" + Rest(words, 1) + "' is not 0 to 100 or none");
    }
    return Plan{{}, [level = *percent](State& s) {
                  const bool charging = s.power.externalPower;
                  s.power.batteryPercent = static_cast<std::uint8_t>(level);
                  s.power.batteryFlag = static_cast<std::uint8_t>(BatteryFlagFor(level) |
                                                                  (charging ? terminal::battery::kCharging : 0));
                }};
  }
  if (verb == "signal") {
    if (exactly(2) && argument(1) == "none") {
      return Plan{{}, [](State& s) {
                    for (terminal::Adapter& a : s.network.adapters) a.signalDbm.reset();
                  }};
    }
    const std::optional<int> dbm = exactly(2) ? Number(argument(1)) : std::nullopt;
    if (!dbm || *dbm > 0 || *dbm < -120) {
      return Fail("signal: '" + Rest(words, 1) + "' is not a strength in dBm (-120 to 0) or none");
    }
    return Plan{{}, [value = *dbm](State& s) {
                  for (terminal::Adapter& a : s.network.adapters) a.signalDbm = value;
                }};
  }
  if (verb == "network") {
    if (exactly(2) && (argument(1) == "up" || argument(1) == "down")) {
      const bool up = argument(1) == "up";
      return Plan{{}, [up](State& s) {
                    if (up && s.network.adapters.empty()) s.network.adapters = terminal::DefaultAdapters();
                    for (terminal::Adapter& a : s.network.adapters) {
                      if (!up) {
                        // Kept, so that a configured or mirrored adapter gets its own back.
                        if (a.ipAddress != "0.0.0.0") a.addressBeforeDown = a.ipAddress;
                        a.ipAddress = "0.0.0.0";
                      } else if (a.ipAddress == "0.0.0.0") {
                        a.ipAddress =
                            a.addressBeforeDown.empty() ? DefaultAddressOf(a.name) : a.addressBeforeDown;
                        a.addressBeforeDown.clear();
                      }
                    }
                  }};
    }
    return Fail("network: say 'network up' or 'network down'");
  }
  if (verb == "ime") {
    for (const ImeMode& mode : kImeModes) {
      if (exactly(2) && argument(1) == mode.word) {
        return Plan{{}, [mode](State& s) {
                      s.input.imeOpen = mode.open;
                      if (mode.open) s.input.conversion = mode.conversion;
                    }};
      }
    }
    return Fail("ime: '" + Rest(words, 1) + "' is not off, hiragana, katakana, alpha, halfkana or halfalpha");
  }
  if (verb == "keymode") {
    const std::optional<int> mode = exactly(2) ? Number(argument(1)) : std::nullopt;
    if (!mode || *mode < 0 || *mode > 255) return Fail("keymode: '" + Rest(words, 1) + "' is not a mode number");
    return Plan{{}, [value = *mode](State& s) { s.input.keyInputMode = value; }};
  }
  if (verb == "volume") {
    const std::string name = Rest(words, 2);
    if (words.size() >= 3 && (argument(1) == "in" || argument(1) == "out")) {
      // A list of volumes is written with commas between the names.
      if (name.find_first_of("\\/,") != std::string::npos) return Fail("volume: a name holds no '\\', '/' or ','");
      const bool in = argument(1) == "in";
      return Plan{{}, [in, name](State& s) {
                    auto& volumes = s.identity.volumes;
                    std::erase(volumes, name);
                    if (in) volumes.push_back(name);
                  }};
    }
    return Fail("volume: say 'volume in NAME' or 'volume out NAME'");
  }
  if (verb == "suspend" || verb == "wake" || verb == "flip") {
    if (!exactly(1)) return Fail(std::string(verb) + ": takes nothing more");
    return Plan{{}, {},
                verb == "suspend" ? Plan::Special::Suspend
                : verb == "wake"  ? Plan::Special::Wake
                                  : Plan::Special::Flip};
  }
  return Fail("'" + std::string(verb) + "' is not a terminal action");
}

// The thread that sleeps in the terminal's suspend until the wake-up.
struct Sleeper {
  std::mutex mutex;
  std::thread thread;
};

Sleeper& TheSleeper() {
  static auto* sleeper = new Sleeper;  // never destroyed: a thread may still sleep at exit
  return *sleeper;
}

std::string Suspend() {
  terminal::Terminal& t = terminal::Get();
  Sleeper& sleeper = TheSleeper();
  std::lock_guard lock(sleeper.mutex);
  if (t.IsSuspended()) return "suspend: the terminal is suspended already";
  if (sleeper.thread.joinable()) sleeper.thread.join();  // woken by itself since
  // A suspend that wakes by itself may be over before this thread looks: then it is done too.
  auto over = std::make_shared<std::atomic<bool>>(false);
  sleeper.thread = std::thread([&t, over] {
    t.Suspend();
    over->store(true);
  });
  while (!t.IsSuspended() && !over->load()) std::this_thread::yield();
  return {};
}

std::string Wake() {
  terminal::Terminal& t = terminal::Get();
  Sleeper& sleeper = TheSleeper();
  std::lock_guard lock(sleeper.mutex);
  if (!t.IsSuspended()) return "wake: the terminal is not suspended";
  t.WakeUp();
  if (sleeper.thread.joinable()) sleeper.thread.join();
  return {};
}

}  // namespace

std::string CheckAction(std::string_view words) { return PlanOf(words).error; }

std::string ApplyAction(std::string_view words) {
  Plan plan = PlanOf(words);
  if (!plan.error.empty()) return plan.error;
  switch (plan.special) {
    case Plan::Special::Suspend:
      return Suspend();
    case Plan::Special::Wake:
      return Wake();
    case Plan::Special::Flip:
      input::PressFlipKey();
      return {};
    case Plan::Special::None:
      break;
  }
  terminal::Get().Update(plan.edit);
  return {};
}

bool IsActionWord(std::string_view firstWord) {
  static constexpr std::string_view kWords[] = {"power", "battery", "signal", "network", "ime", "keymode",
                                                "suspend", "wake", "volume", "flip"};
  for (std::string_view word : kWords) {
    if (word == firstWord) return true;
  }
  return false;
}

std::string_view ActionHelp() {
  return "power on|off              external power plugged in or pulled out\n"
         "battery PERCENT|none      battery level 0-100, or no battery\n"
         "signal DBM|none           radio signal in dBm (-30 strong ... -90 weak), or none\n"
         "network up|down           the adapters get their addresses back, or lose them\n"
         "ime off|hiragana|katakana|alpha|halfkana|halfalpha\n"
         "                          the input method closed, or open in that mode\n"
         "keymode N                 key input mode (0 digits, 2 hiragana, 3 katakana, 4 capitals, 5 small, 10 P)\n"
         "suspend | wake            suspend the terminal, or wake it up\n"
         "volume in NAME | volume out NAME\n"
         "                          a storage volume inserted or taken out\n"
         "flip                      the flip key\n";
}

}  // namespace vela::device
