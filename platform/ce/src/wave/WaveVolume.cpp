// Wave-output volume of the simulated terminal's devices. The handle is a device number (the
// terminal's code passes the device id cast to HWAVEOUT); this platform opens no wave
// handles, so every other value is an invalid handle.
#include <mmsystem.h>
#include <vela/Terminal.h>

namespace {

bool DeviceNumber(HWAVEOUT hwo, size_t deviceCount, size_t& number) {
  number = reinterpret_cast<UINT_PTR>(hwo);
  return number < deviceCount;
}

}  // namespace

MMRESULT waveOutSetVolume(HWAVEOUT hwo, DWORD dwVolume) {
  MMRESULT result = MMSYSERR_NOERROR;
  vela::terminal::Get().Update([&](vela::terminal::State& s) {
    size_t number;
    if (!DeviceNumber(hwo, s.sound.waveVolumes.size(), number)) {
      result = MMSYSERR_INVALHANDLE;
      return;
    }
    s.sound.waveVolumes[number] = dwVolume;
  });
  return result;
}

MMRESULT waveOutGetVolume(HWAVEOUT hwo, LPDWORD pdwVolume) {
  const std::vector<std::uint32_t> volumes = vela::terminal::Get().Get().sound.waveVolumes;
  size_t number;
  if (!DeviceNumber(hwo, volumes.size(), number)) {
    return MMSYSERR_INVALHANDLE;
  }
  if (!pdwVolume) {
    return MMSYSERR_INVALPARAM;
  }
  *pdwVolume = volumes[number];
  return MMSYSERR_NOERROR;
}
