#include "SwitchWords.h"

#include <imm.h>

#include <algorithm>
#include <iterator>

namespace vela::window {
namespace {

// Levels that cross every battery flag (critical below 10, low below 40) within a few presses.
constexpr int kBatterySteps[] = {0, 5, 10, 20, 40, 60, 80, 100};
constexpr int kStrongSignal = -30;
constexpr int kWeakSignal = -85;
constexpr int kKeyModes[] = {0, 2, 3, 4, 5, 10};

struct ImeStep {
  const char* word;
  std::uint32_t conversion;
};
// The order a person cycles through; halfalpha is left to explicit actions.
constexpr ImeStep kImeSteps[] = {
    {"hiragana", IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE},
    {"katakana", IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE},
    {"alpha", IME_CMODE_FULLSHAPE},
    {"halfkana", IME_CMODE_NATIVE | IME_CMODE_KATAKANA},
};

std::string BatteryWords(const terminal::State& state, bool raise) {
  const bool noBattery = state.power.batteryFlag == terminal::battery::kNoBattery;
  // A terminal without a battery (or with an unknown level) gets a full one either way.
  if (noBattery || state.power.batteryPercent > 100) return raise ? "battery 100" : "battery 80";
  const int level = state.power.batteryPercent;
  if (raise) {
    const auto* next = std::upper_bound(std::begin(kBatterySteps), std::end(kBatterySteps), level);
    return "battery " + std::to_string(next == std::end(kBatterySteps) ? 100 : *next);
  }
  const auto* below = std::lower_bound(std::begin(kBatterySteps), std::end(kBatterySteps), level);
  return "battery " + std::to_string(below == std::begin(kBatterySteps) ? 0 : *(below - 1));
}

std::string SignalWords(const terminal::State& state) {
  const auto& adapters = state.network.adapters;
  const auto radio = std::find_if(adapters.begin(), adapters.end(), [](const terminal::Adapter& a) { return a.signalDbm.has_value(); });
  if (radio == adapters.end()) return "signal " + std::to_string(kStrongSignal);
  // Halfway between the two steps divides strong from weak.
  if (*radio->signalDbm > (kStrongSignal + kWeakSignal) / 2) return "signal " + std::to_string(kWeakSignal);
  return "signal none";
}

std::string ImeWords(const terminal::State& state) {
  if (!state.input.imeOpen) return std::string("ime ") + kImeSteps[0].word;
  for (size_t i = 0; i < std::size(kImeSteps); ++i) {
    if (state.input.conversion == kImeSteps[i].conversion) {
      return i + 1 < std::size(kImeSteps) ? std::string("ime ") + kImeSteps[i + 1].word : "ime off";
    }
  }
  return "ime off";  // any other open mode closes
}

std::string KeyModeWords(const terminal::State& state) {
  const int mode = state.input.keyInputMode;
  const auto* next = std::upper_bound(std::begin(kKeyModes), std::end(kKeyModes), mode);
  return "keymode " + std::to_string(next == std::end(kKeyModes) ? kKeyModes[0] : *next);
}

}  // namespace

std::string SwitchWords(Switch what, const terminal::State& state, bool suspended) {
  switch (what) {
    case Switch::Power:
      return state.power.externalPower ? "power off" : "power on";
    case Switch::Network: {
      const bool up = std::any_of(state.network.adapters.begin(), state.network.adapters.end(),
                                  [](const terminal::Adapter& a) { return a.ipAddress != "0.0.0.0"; });
      return up ? "network down" : "network up";
    }
    case Switch::Suspend:
      return suspended ? "wake" : "suspend";
    case Switch::Volume: {
      const auto& volumes = state.identity.volumes;
      const bool in = std::find(volumes.begin(), volumes.end(), kSwitchedVolume) != volumes.end();
      return std::string(in ? "volume out " : "volume in ") + kSwitchedVolume;
    }
    case Switch::Signal:
      return SignalWords(state);
    case Switch::Ime:
      return ImeWords(state);
    case Switch::KeyMode:
      return KeyModeWords(state);
    case Switch::LowerBattery:
      return BatteryWords(state, false);
    case Switch::RaiseBattery:
      return BatteryWords(state, true);
  }
  return {};
}

}  // namespace vela::window
