// Corvel buzzer volumes and key input mode. Values are stored as given, out of range too.
#include <Corvel.h>
#include <vela/Terminal.h>

extern "C" {

DWORD SysSetBuzzerVolume(DWORD kind, DWORD volume) {
  vela::terminal::Get().Update([&](vela::terminal::State& s) { s.sound.buzzerVolumes[kind] = volume; });
  return 1;
}

DWORD SysGetBuzzerVolume(DWORD kind) {
  const vela::terminal::Sound sound = vela::terminal::Get().Get().sound;
  const auto it = sound.buzzerVolumes.find(kind);
  return it != sound.buzzerVolumes.end() ? it->second : sound.defaultBuzzerVolume;
}

int SysGetInputMode(void) { return vela::terminal::Get().Get().input.keyInputMode; }

DWORD SysSetInputMode(DWORD mode) {
  vela::terminal::Get().Update(
      [&](vela::terminal::State& s) { s.input.keyInputMode = static_cast<std::int32_t>(mode); });
  return 1;
}

}  // extern "C"
