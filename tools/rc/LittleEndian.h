// Little-endian fields of the platform's binary layouts, read from and appended to byte buffers.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vela::rc {

inline uint16_t Get16(std::string_view bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

inline uint32_t Get32(std::string_view bytes, size_t at) {
  return static_cast<uint32_t>(Get16(bytes, at)) | (static_cast<uint32_t>(Get16(bytes, at + 2)) << 16);
}

inline void Append16(std::vector<uint8_t>* out, uint32_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

inline void Append32(std::vector<uint8_t>* out, uint32_t v) {
  Append16(out, v);
  Append16(out, v >> 16);
}

}  // namespace vela::rc
