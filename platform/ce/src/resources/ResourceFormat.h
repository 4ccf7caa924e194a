// The compiled form of a module's resources, written by vela-rc and read by the platform.
// Little-endian throughout.
//
//   header   magic "VRSC", u32 format version, u32 total size, u32 entry count
//   entries  entry count x { u32 type, u32 name, u16 language, u16 reserved,
//                            u32 data offset, u32 data size }, sorted by type, name, language
//   names    u16 length, then that many UTF-16 units, upper case
//   data     each resource's bytes at an offset aligned to 8, in the platform's own layout
//            (RT_STRING blocks of 16 counted strings, VS_VERSIONINFO ...)
//
// A type or name below 0x10000 is a number; kNameFlag marks the offset of a name instead.
// Offsets count from the start of the header. The total size is a multiple of kAlignment, so
// several compiled scripts laid end to end in the ".vela_rsrc" section of one module stay
// readable one after the other.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vela::rsrc {

inline constexpr char kMagic[4] = {'V', 'R', 'S', 'C'};
inline constexpr uint32_t kFormatVersion = 1;
inline constexpr uint32_t kNameFlag = 0x80000000u;
inline constexpr size_t kAlignment = 16;
inline constexpr size_t kDataAlignment = 8;
inline constexpr size_t kHeaderSize = 16;
inline constexpr size_t kEntrySize = 20;
inline constexpr char kSectionName[] = ".vela_rsrc";

// Resource types of the platform.
inline constexpr uint32_t kTypeCursor = 1;
inline constexpr uint32_t kTypeBitmap = 2;
inline constexpr uint32_t kTypeIcon = 3;
inline constexpr uint32_t kTypeMenu = 4;
inline constexpr uint32_t kTypeDialog = 5;
inline constexpr uint32_t kTypeString = 6;
inline constexpr uint32_t kTypeRcData = 10;
inline constexpr uint32_t kTypeGroupCursor = 12;
inline constexpr uint32_t kTypeGroupIcon = 14;
inline constexpr uint32_t kTypeVersion = 16;

}  // namespace vela::rsrc
