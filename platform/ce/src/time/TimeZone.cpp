// The terminal's time zone: a fixed bias set for tests, or the host's zone. The host's zone
// is read once (tzset); later conversions use glibc's loaded rules without touching the disk.
#include <vela/Clock.h>

#include <time.h>

#include <atomic>
#include <mutex>

namespace vela::clock {
namespace {

constexpr Milliseconds kUnixEpoch = 11644473600000;
constexpr int kHostZone = INT32_MIN;

std::atomic<int> g_biasMinutes{kHostZone};

// Seconds east of UTC of the host's zone at a UTC point.
Milliseconds HostOffset(Milliseconds utc) {
  static std::once_flag once;
  std::call_once(once, [] { tzset(); });
  Milliseconds unixMs = utc - kUnixEpoch;
  time_t seconds = static_cast<time_t>(unixMs / 1000 - (unixMs % 1000 < 0 ? 1 : 0));
  tm fields;
  if (!localtime_r(&seconds, &fields)) {
    return 0;
  }
  return Milliseconds{fields.tm_gmtoff} * 1000;
}

}  // namespace

void SetZoneBias(std::optional<int> minutes) { g_biasMinutes = minutes.value_or(kHostZone); }

Milliseconds LocalFromUtc(Milliseconds utc) {
  const int bias = g_biasMinutes;
  return bias == kHostZone ? utc + HostOffset(utc) : utc - Milliseconds{bias} * 60000;
}

Milliseconds UtcFromLocal(Milliseconds local) {
  const int bias = g_biasMinutes;
  if (bias != kHostZone) {
    return local + Milliseconds{bias} * 60000;
  }
  // The offset at the local reading taken as UTC is close; a second step settles it except
  // within a changeover, where either side is an answer.
  const Milliseconds guess = local - HostOffset(local);
  return local - HostOffset(guess);
}

}  // namespace vela::clock
