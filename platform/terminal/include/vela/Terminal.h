// The simulated terminal's device state: one object per process that the platform functions
// read and change (backlight, power, volumes, input method, network, suspend ...), and through
// which tests and the simulator set any value and watch what the kit did.
//
// Plain C++ below the platform API: the platform installs the hooks it needs (the reader of
// the starting-state file, the clock a suspend waits on, the debug channel) when it loads.
// Every member is thread-safe. Texts of the settings are UTF-8; the records keep the UTF-16
// the platform was given.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vela::terminal {

// Battery flags as the platform's power status reports them.
namespace battery {
constexpr std::uint8_t kHigh = 0x01;
constexpr std::uint8_t kLow = 0x02;
constexpr std::uint8_t kCritical = 0x04;
constexpr std::uint8_t kCharging = 0x08;
constexpr std::uint8_t kNoBattery = 0x80;
constexpr std::uint8_t kUnknown = 0xFF;
}  // namespace battery

// The key input mode of a terminal without one.
constexpr std::int32_t kNoKeyInputMode = -6;

struct Backlight {
  std::uint32_t battery = 3;
  std::uint32_t externalPower = 5;
  std::uint32_t batteryMaximum = 5;
  std::uint32_t externalPowerMaximum = 5;
  // What the backlight reads (SysGetBL*) return: 1 is success; anything else makes them fail
  // with that value and write nothing.
  std::uint32_t readResult = 1;
  bool operator==(const Backlight&) const = default;
};

struct Power {
  bool externalPower = false;
  std::uint8_t batteryPercent = 100;  // 0 to 100, 255 = unknown
  std::uint8_t batteryFlag = battery::kHigh;
  // What the battery driver measures; 0xFFFFFFFF is unknown, as the power status reports it.
  std::uint32_t batteryLifeTime = 0xFFFFFFFFu;      // seconds left
  std::uint32_t batteryFullLifeTime = 0xFFFFFFFFu;  // seconds a full charge lasts
  std::uint32_t batteryVoltage = 3900;              // millivolts
  std::int32_t batteryCurrent = -250;               // milliamperes, negative while discharging
  std::uint32_t batteryTemperature = 250;           // tenths of a degree Celsius
  std::uint8_t batteryChemistry = 0x04;             // lithium ion
  bool powerOffForbidden = false;
  bool autoPowerOffForbidden = false;
  bool operator==(const Power&) const = default;
};

struct Sound {
  // Volume per buzzer kind; a kind never set reads as defaultBuzzerVolume.
  std::map<std::uint32_t, std::uint32_t> buzzerVolumes;
  std::uint32_t defaultBuzzerVolume = 2;
  // Wave-output volume per device number (low word left, high word right); the size is the
  // number of wave-output devices.
  std::vector<std::uint32_t> waveVolumes{0xFFFFFFFFu};
  bool operator==(const Sound&) const = default;
};

struct Input {
  std::int32_t keyInputMode = 0;  // kNoKeyInputMode: the terminal has none
  bool imeOpen = false;
  std::uint32_t conversion = 0;  // IME_CMODE_* flags
  std::uint32_t sentence = 0;    // IME_SMODE_* flags
  bool operator==(const Input&) const = default;
};

struct Adapter {
  std::string name;         // as GetAdaptersInfo reports it (ANSI there)
  std::string description;
  std::uint32_t type = 6;  // the platform's interface type (6 = Ethernet, as the WLAN driver reports; 71 = 802.11)
  std::string ipAddress = "0.0.0.0";
  std::string subnetMask = "0.0.0.0";
  std::string gateway = "0.0.0.0";
  bool dhcp = true;
  std::vector<std::uint8_t> address;   // hardware address, at most 8 bytes
  std::optional<std::int32_t> signalDbm;  // none: not a radio, the signal query is refused
  // The address the simulator's "network down" took away, given back by "network up".
  std::string addressBeforeDown;
  bool operator==(const Adapter&) const = default;
};

// One wireless adapter with an address and a fair signal: a terminal on its network.
std::vector<Adapter> DefaultAdapters();

struct Network {
  std::vector<Adapter> adapters = DefaultAdapters();
  bool ndisDriverPresent = true;
  bool wlanOn = true;
  bool operator==(const Network&) const = default;
};

struct Identity {
  std::string hostName;                 // empty: the host machine's name
  std::string systemName = "Storage Card";  // what SysGetSystemName(4) reports
  std::vector<std::string> volumes;     // storage volumes present ("Storage Card")
  bool operator==(const Identity&) const = default;
};

struct Screen {
  int width = 240;
  int height = 320;
  bool operator==(const Screen&) const = default;
};

// Every setting of the terminal. Suspend and the records are kept apart: they change through
// their own operations.
struct State {
  Backlight backlight;
  Power power;
  Sound sound;
  Input input;
  Network network;
  Identity identity;
  Screen screen;
  // A suspend wakes by itself after this long on the platform clock (scripted and headless
  // runs); none: it lasts until WakeUp.
  std::optional<std::chrono::milliseconds> suspendWakesAfter;
  bool operator==(const State&) const = default;
};

// What a listener is told has changed. One call per area that changed.
enum class Change {
  Backlight,
  Power,
  Sound,
  Input,
  Network,
  Identity,
  Screen,
  SuspendSetting,
  Suspended,
  Resumed,
  SoftReset,
  Reset,  // ResetForTests: everything may have changed
};

struct ShellExecuteRequest {
  std::u16string file;
  std::u16string parameters;
  std::u16string verb;
  std::u16string directory;
  int show = 0;
  std::uintptr_t window = 0;
  std::uint32_t mask = 0;
};

struct ProcessStart {
  std::string hostPath;       // the host file started
  std::u16string imageName;   // the terminal path the caller gave
  std::u16string commandLine;
  int processId = 0;
};

struct Records {
  std::vector<ShellExecuteRequest> shellExecutes;
  std::vector<ProcessStart> processStarts;
  unsigned softResets = 0;
  unsigned suspends = 0;
  unsigned wakeUps = 0;
};

// How a suspend with an automatic wake-up waits; the platform installs one that follows its
// clock (manual in tests). Start is called when the suspend begins, Wait after, from the
// suspending thread; Cancel from any thread ends a Wait early.
class WakeTimer {
 public:
  virtual ~WakeTimer() = default;
  virtual void Start(std::chrono::milliseconds after) = 0;
  virtual void Wait() = 0;
  virtual void Cancel() = 0;
};

using ListenerId = std::uint64_t;
using Listener = std::function<void(Change)>;

class Terminal {
 public:
  // The settings now.
  State Get();
  // Changes settings: edit runs on a copy under the lock, then listeners hear of each area
  // that differs. A read-modify-write is one Update, so no other change slips between.
  void Update(const std::function<void(State&)>& edit);

  // Suspends the terminal: blocks the calling thread until WakeUp (or the automatic wake-up).
  // A second suspend while suspended waits for the same wake-up.
  void Suspend();
  void WakeUp();
  bool IsSuspended();
  // Counted and observable; the host is never rebooted.
  void SoftReset();

  void RecordShellExecute(ShellExecuteRequest request);
  void RecordProcessStart(ProcessStart start);
  Records GetRecords();

  // Raised after the NDIS user-mode I/O driver went away: handles opened before then are dead.
  std::uint64_t NdisDriverGeneration();

  // Listeners run on the thread that made the change, after it, outside the state lock; they
  // may read and change the terminal. After Unsubscribe returns, the listener is not called
  // again (unless Unsubscribe runs inside that listener's own call).
  ListenerId Subscribe(Listener listener);
  void Unsubscribe(ListenerId id);

  // Applies starting-state text (format in README, "The simulated terminal") over the current
  // settings, without telling listeners. Returns one line per ignored key or bad value.
  std::vector<std::string> ApplyStartingState(std::string_view text);

  // Defaults everywhere, records cleared, not suspended; the starting-state file is read again
  // at the next access. Listeners stay and hear Change::Reset.
  void ResetForTests();

  struct Impl;
  explicit Terminal(std::unique_ptr<Impl> impl);
  ~Terminal();

 private:
  void EnsureLoaded();
  std::unique_ptr<Impl> impl_;
};

// The process's terminal.
Terminal& Get();

// The settings as starting-state text (the format ApplyStartingState reads): every setting,
// so that applying the text over a default State gives back an equal State. Texts keep no
// line breaks (each becomes a space) and no blanks at their ends.
std::string StateText(const State& state);

// The environment variable that hands a terminal's state to a program it starts: when set, it
// is the starting state instead of the starting-state file.
inline constexpr const char* kStateVariable = "VELA_TERMINAL_STATE";

// Hooks of the platform, set once when it loads.
struct PlatformHooks {
  // The starting-state file's text, or none when there is no such file.
  std::function<std::optional<std::string>()> readStartingState;
  // A line on the platform's debug channel.
  std::function<void(std::string_view)> debug;
  std::function<std::unique_ptr<WakeTimer>()> makeWakeTimer;
  // Told the settings the terminal starts with, once the starting-state file is applied (again
  // after ResetForTests), before any listener hears of a change; it runs on the thread that
  // first touched the terminal and must not call it.
  std::function<void(const State&)> started;
};
void SetPlatformHooks(PlatformHooks hooks);

// Subscribes for the lifetime of the object.
class ScopedListener {
 public:
  explicit ScopedListener(Listener listener) : id_(Get().Subscribe(std::move(listener))) {}
  ~ScopedListener() { Get().Unsubscribe(id_); }
  ScopedListener(const ScopedListener&) = delete;
  ScopedListener& operator=(const ScopedListener&) = delete;

 private:
  ListenerId id_;
};

}  // namespace vela::terminal
