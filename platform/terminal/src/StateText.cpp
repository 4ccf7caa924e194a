// The settings written as starting-state text, for a program that continues this terminal.
#include <vela/Terminal.h>

#include <charconv>
#include <string>

namespace vela::terminal {
namespace {

class Writer {
 public:
  void Section(std::string_view name) {
    text_ += '[';
    text_ += name;
    text_ += "]\n";
  }
  void Key(std::string_view key, std::string_view value) {
    text_ += key;
    text_ += " = ";
    text_ += value;
    text_ += '\n';
  }
  void Decimal(std::string_view key, std::int64_t value) { Key(key, std::to_string(value)); }
  void Hex(std::string_view key, std::uint64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
    Key(key, "0x" + std::string(digits, end));
  }
  void Flag(std::string_view key, bool value) { Key(key, value ? "yes" : "no"); }
  // The reader takes a value up to the line's end and trims its blanks.
  void Text(std::string_view key, std::string_view value) { Key(key, OneLine(value)); }

  static std::string OneLine(std::string_view value) {
    std::string line(value);
    for (char& c : line) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
  }

  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

std::string HardwareAddress(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t byte : bytes) {
    if (!text.empty()) text += ':';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

void WriteAdapter(Writer& w, size_t number, const Adapter& a) {
  w.Section("Adapter" + std::to_string(number));
  w.Text("Name", a.name);
  w.Text("Description", a.description);
  w.Decimal("Type", a.type);
  w.Text("IpAddress", a.ipAddress);
  w.Text("SubnetMask", a.subnetMask);
  w.Text("Gateway", a.gateway);
  w.Flag("Dhcp", a.dhcp);
  w.Key("Address", HardwareAddress(a.address.size() > 8 ? std::vector<std::uint8_t>(a.address.begin(),
                                                                                     a.address.begin() + 8)
                                                         : a.address));
  if (!a.addressBeforeDown.empty()) w.Text("AddressBeforeDown", a.addressBeforeDown);
  if (a.signalDbm) {
    w.Decimal("SignalDbm", *a.signalDbm);
  } else {
    w.Key("SignalDbm", "none");
  }
}

}  // namespace

std::string StateText(const State& s) {
  Writer w;
  w.Section("Backlight");
  w.Decimal("Battery", s.backlight.battery);
  w.Decimal("ExternalPower", s.backlight.externalPower);
  w.Decimal("BatteryMaximum", s.backlight.batteryMaximum);
  w.Decimal("ExternalPowerMaximum", s.backlight.externalPowerMaximum);
  w.Decimal("ReadResult", s.backlight.readResult);

  w.Section("Power");
  w.Flag("ExternalPower", s.power.externalPower);
  w.Decimal("BatteryPercent", s.power.batteryPercent);
  w.Hex("BatteryFlag", s.power.batteryFlag);
  w.Hex("BatteryLifeTime", s.power.batteryLifeTime);
  w.Hex("BatteryFullLifeTime", s.power.batteryFullLifeTime);
  w.Decimal("BatteryVoltage", s.power.batteryVoltage);
  w.Decimal("BatteryCurrent", s.power.batteryCurrent);
  w.Decimal("BatteryTemperature", s.power.batteryTemperature);
  w.Hex("BatteryChemistry", s.power.batteryChemistry);
  w.Flag("PowerOffForbidden", s.power.powerOffForbidden);
  w.Flag("AutoPowerOffForbidden", s.power.autoPowerOffForbidden);
  // 0 is "until woken"; an automatic wake-up after 0 ms is not a state anyone sets.
  w.Decimal("SuspendWakesAfter", s.suspendWakesAfter ? s.suspendWakesAfter->count() : 0);

  w.Section("Sound");
  w.Decimal("DefaultBuzzer", s.sound.defaultBuzzerVolume);
  for (const auto& [kind, volume] : s.sound.buzzerVolumes) {
    w.Decimal("Buzzer" + std::to_string(kind), volume);
  }
  w.Decimal("WaveDevices", s.sound.waveVolumes.size());
  for (size_t device = 0; device < s.sound.waveVolumes.size(); ++device) {
    w.Hex("Wave" + std::to_string(device), s.sound.waveVolumes[device]);
  }

  w.Section("Input");
  w.Decimal("KeyInputMode", s.input.keyInputMode);
  w.Flag("ImeOpen", s.input.imeOpen);
  w.Hex("Conversion", s.input.conversion);
  w.Hex("Sentence", s.input.sentence);

  w.Section("Network");
  w.Flag("NdisDriver", s.network.ndisDriverPresent);
  w.Flag("Wlan", s.network.wlanOn);
  if (s.network.adapters.empty()) w.Flag("NoAdapters", true);

  w.Section("Identity");
  w.Text("HostName", s.identity.hostName);
  w.Text("SystemName", s.identity.systemName);
  std::string volumes;
  for (const std::string& volume : s.identity.volumes) {
    if (!volumes.empty()) volumes += ", ";
    volumes += Writer::OneLine(volume);
  }
  w.Key("Volumes", volumes);

  w.Section("Screen");
  w.Decimal("Width", s.screen.width);
  w.Decimal("Height", s.screen.height);

  for (size_t i = 0; i < s.network.adapters.size(); ++i) {
    WriteAdapter(w, i + 1, s.network.adapters[i]);
  }
  return w.Take();
}

}  // namespace vela::terminal
