// LookupIconIdFromDirectory(Ex): the closest size first (sum of the width and height
// differences), then among the entries of that size the closest colour depth.
#include "images/IconDirectory.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace vela::images {
namespace {

constexpr size_t kHeaderSize = 6;  // NEWHEADER: reserved, type, count
constexpr size_t kEntrySize = 14;  // RESDIR
constexpr int kScreenDepth = 32;

uint16_t Read16(const BYTE* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct Entry {
  int width;
  int height;
  int bits;
  int id;
};

Entry EntryAt(const BYTE* p, bool icon) {
  Entry e{};
  if (icon) {
    e.width = p[0] ? p[0] : 256;
    e.height = p[1] ? p[1] : 256;
    e.bits = Read16(p + 6);
    if (e.bits == 0) {
      // Old directories give only the colour count.
      const int colors = p[2];
      e.bits = colors == 2 ? 1 : colors == 16 ? 4 : colors == 0 ? 8 : 8;
    }
  } else {
    e.width = Read16(p);
    e.height = Read16(p + 2) / 2;  // cursors count their mask rows too
    e.bits = Read16(p + 6);
  }
  e.id = Read16(p + 12);
  return e;
}

}  // namespace

void ResolveIconSize(int* cx, int* cy) {
  if (*cx == 0) {
    *cx = GetSystemMetrics(SM_CXICON);
  }
  if (*cy == 0) {
    *cy = GetSystemMetrics(SM_CYICON);
  }
  // Before the window layer answers, the terminal's icon size.
  if (*cx <= 0) *cx = 32;
  if (*cy <= 0) *cy = 32;
}

int BestIconId(const BYTE* directory, size_t size, bool icon, int cx, int cy, UINT flags) {
  if (!directory || size < kHeaderSize || Read16(directory) != 0 || Read16(directory + 2) != (icon ? 1 : 2)) {
    return 0;
  }
  const size_t count = Read16(directory + 4);
  if (count == 0 || size < kHeaderSize + count * kEntrySize) {
    return 0;
  }
  ResolveIconSize(&cx, &cy);
  const int depth = (flags & LR_MONOCHROME) ? 1 : kScreenDepth;
  int bestSize = std::numeric_limits<int>::max();
  for (size_t i = 0; i < count; ++i) {
    const Entry e = EntryAt(directory + kHeaderSize + i * kEntrySize, icon);
    bestSize = std::min(bestSize, std::abs(cx - e.width) + std::abs(cy - e.height));
  }
  int bestDepth = std::numeric_limits<int>::max();
  int id = 0;
  for (size_t i = 0; i < count; ++i) {
    const Entry e = EntryAt(directory + kHeaderSize + i * kEntrySize, icon);
    if (std::abs(cx - e.width) + std::abs(cy - e.height) == bestSize && std::abs(depth - e.bits) < bestDepth) {
      bestDepth = std::abs(depth - e.bits);
      id = e.id;
    }
  }
  return id;
}

}  // namespace vela::images

int LookupIconIdFromDirectoryEx(BYTE* presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT Flags) {
  if (!presbits) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // The directory's own count bounds it; the caller vouches for the bytes behind the pointer.
  const size_t size = 6 + 14 * static_cast<size_t>(presbits[4] | (presbits[5] << 8));
  return vela::images::BestIconId(presbits, size, fIcon != FALSE, cxDesired, cyDesired, Flags);
}

int LookupIconIdFromDirectory(BYTE* presbits, BOOL fIcon) {
  return LookupIconIdFromDirectoryEx(presbits, fIcon, 0, 0, LR_DEFAULTCOLOR);
}
