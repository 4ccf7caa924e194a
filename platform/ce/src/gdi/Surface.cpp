#include "gdi/Surface.h"

#include <bit>
#include <cstring>

namespace vela::gdi {
namespace {

// One channel of a 16/32-bit masked pixel, widened to 8 bits.
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int width = std::popcount(mask);
  std::uint32_t v = (value & mask) >> shift;
  if (width >= 8) return v >> (width - 8);
  // Repeat the high bits into the low ones, so full intensity stays 0xFF.
  std::uint32_t wide = v << (8 - width);
  return wide | (wide >> width);
}

std::uint32_t FromChannel(std::uint32_t c8, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int width = std::popcount(mask);
  const std::uint32_t v = width >= 8 ? c8 << (width - 8) : c8 >> (8 - width);
  return (v << shift) & mask;
}

}  // namespace

void Surface::Allocate() {
  strideBytes = DibStride(width, bpp);
  storage.assign(static_cast<std::size_t>(strideBytes) * height, 0);
  bits = storage.data();
  if (bpp == 16 && masks[0] == 0) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  }
}

int Surface::NearestIndex(std::uint32_t rgb) const {
  int best = 0;
  long bestDistance = -1;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const long dr = static_cast<long>((palette[i] >> 16) & 0xFF) - static_cast<long>((rgb >> 16) & 0xFF);
    const long dg = static_cast<long>((palette[i] >> 8) & 0xFF) - static_cast<long>((rgb >> 8) & 0xFF);
    const long db = static_cast<long>(palette[i] & 0xFF) - static_cast<long>(rgb & 0xFF);
    const long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
      if (d == 0) break;
    }
  }
  return best;
}

void Surface::ReadSpan(int y, int x, int n, std::uint32_t* out) const {
  const std::uint8_t* row = Row(y);
  switch (bpp) {
    case 32:
      if (masks[0] == 0) {
        std::memcpy(out, row + x * 4, static_cast<std::size_t>(n) * 4);
      } else {
        for (int i = 0; i < n; ++i) {
          std::uint32_t v;
          std::memcpy(&v, row + (x + i) * 4, 4);
          out[i] = (Channel(v, masks[0]) << 16) | (Channel(v, masks[1]) << 8) | Channel(v, masks[2]);
        }
      }
      return;
    case 24:
      for (int i = 0; i < n; ++i) {
        const std::uint8_t* p = row + (x + i) * 3;
        out[i] = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
      }
      return;
    case 16:
      for (int i = 0; i < n; ++i) {
        const std::uint32_t v = row[(x + i) * 2] | (std::uint32_t{row[(x + i) * 2 + 1]} << 8);
        out[i] = (Channel(v, masks[0]) << 16) | (Channel(v, masks[1]) << 8) | Channel(v, masks[2]);
      }
      return;
    default: {
      const int perByte = 8 / bpp;
      const std::uint32_t valueMask = (1u << bpp) - 1;
      for (int i = 0; i < n; ++i) {
        const int px = x + i;
        const int shift = 8 - bpp * (px % perByte + 1);
        const std::uint32_t index = (row[px / perByte] >> shift) & valueMask;
        out[i] = index < palette.size() ? palette[index] : 0;
      }
      return;
    }
  }
}

void Surface::WriteSpan(int y, int x, int n, const std::uint32_t* in) {
  std::uint8_t* row = Row(y);
  switch (bpp) {
    case 32:
      if (masks[0] == 0) {
        std::memcpy(row + x * 4, in, static_cast<std::size_t>(n) * 4);
      } else {
        for (int i = 0; i < n; ++i) {
          const std::uint32_t c = in[i];
          const std::uint32_t v = FromChannel((c >> 16) & 0xFF, masks[0]) | FromChannel((c >> 8) & 0xFF, masks[1]) |
                                  FromChannel(c & 0xFF, masks[2]);
          std::memcpy(row + (x + i) * 4, &v, 4);
        }
      }
      return;
    case 24:
      for (int i = 0; i < n; ++i) {
        std::uint8_t* p = row + (x + i) * 3;
        p[0] = static_cast<std::uint8_t>(in[i]);
        p[1] = static_cast<std::uint8_t>(in[i] >> 8);
        p[2] = static_cast<std::uint8_t>(in[i] >> 16);
      }
      return;
    case 16:
      for (int i = 0; i < n; ++i) {
        const std::uint32_t c = in[i];
        const std::uint32_t v = FromChannel((c >> 16) & 0xFF, masks[0]) | FromChannel((c >> 8) & 0xFF, masks[1]) |
                                FromChannel(c & 0xFF, masks[2]);
        row[(x + i) * 2] = static_cast<std::uint8_t>(v);
        row[(x + i) * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
      }
      return;
    default: {
      const int perByte = 8 / bpp;
      const std::uint32_t valueMask = (1u << bpp) - 1;
      std::uint32_t lastColour = 0xFFFFFFFF;
      int lastIndex = 0;
      for (int i = 0; i < n; ++i) {
        if (in[i] != lastColour) {
          lastColour = in[i];
          lastIndex = NearestIndex(lastColour);
        }
        const int px = x + i;
        const int shift = 8 - bpp * (px % perByte + 1);
        std::uint8_t& b = row[px / perByte];
        b = static_cast<std::uint8_t>((b & ~(valueMask << shift)) | ((static_cast<std::uint32_t>(lastIndex) & valueMask) << shift));
      }
      return;
    }
  }
}

std::uint32_t Surface::Get(int x, int y) const {
  std::uint32_t v;
  ReadSpan(y, x, 1, &v);
  return v;
}

void Surface::Set(int x, int y, std::uint32_t rgb) { WriteSpan(y, x, 1, &rgb); }

SpanAccess::SpanAccess(Surface& surface, int y, int x, int n) : surface_(surface), y_(y), x_(x), n_(n) {
  if (surface.IsDirect32()) {
    data_ = surface.Row32(y) + x;
  } else {
    temp_.resize(static_cast<std::size_t>(n));
    surface.ReadSpan(y, x, n, temp_.data());
    data_ = temp_.data();
  }
}

SpanAccess::~SpanAccess() {
  if (!temp_.empty()) surface_.WriteSpan(y_, x_, n_, temp_.data());
}

}  // namespace vela::gdi
