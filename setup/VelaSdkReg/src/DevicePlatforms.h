// The registry keys of the development tools whose directory lists the kit joins: the device
// platforms of the Platform Manager and the desktop platform of Developer Studio 6.0. These
// names belong to the tools and are used exactly as they spell them.
#pragma once

#include <string>

namespace velasdkreg {

struct DevicePlatform {
  const char* pszModel;
  const char* pszPlatformGuid;
  const char* pszInstructionSetGuid;
  const char* pszLibDir;
};

inline constexpr const char* kArmV4I = "{D6518FFC-710F-11D3-99F2-00105A0DF099}";
inline constexpr const char* kArmV4T = "{D6518FFD-710F-11D3-99F2-00105A0DF099}";

// In processing order.
inline constexpr DevicePlatform kDevicePlatforms[] = {
    {"RQ-47", "{3A6F0C21-5B7E-4D92-8E14-0C7B2A9D4E51}", kArmV4I, "Lib\\ARMV4I"},
    {"RQ-46", "{7C2E9B40-1F3A-4E8D-9A65-2B8C0D7E1F62}", kArmV4I, "Lib\\ARMV4I"},
    {"RQ-45", "{B14D7E93-6A2C-4F05-8D31-9E6F2A0C5B73}", kArmV4I, "Lib\\ARMV4I"},
    {"RQ-44", "{0E95A3C7-2D48-4B6F-A1E2-7C3D9F8B0A84}", kArmV4T, "Lib\\ARMV4T"},
    {"RQ-43", "{5D2B8F16-9C04-4A7E-B3D5-1E8A6C2F7D95}", kArmV4I, "Lib\\ARMV4I"},
    {"RQ-42", "{C8A1E4F2-7B3D-4C69-9F02-3A5E1D7B6CA6}", kArmV4I, "Lib\\ARMV4I"},
    {"RQ-41", "{41F6D2A8-0E5C-4B93-8C7A-6D2F9E3B1AB7}", kArmV4I, "Lib\\ARMV4I"},
    {"RQ-40", "{9B3C5E07-4A1F-4D28-AE96-8F0B3C6D2EC8}", kArmV4I, "Lib\\ARMV4I"},
};

// Under HKEY_CURRENT_USER.
inline constexpr const char* kDesktopDirectories =
    "Software\\Microsoft\\DevStudio\\6.0\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories";

// Under HKEY_LOCAL_MACHINE: the Platform Manager's platforms component, the platform, its
// properties component, the platform again and the instruction set.
inline std::string DeviceKeyPath(const DevicePlatform& row) {
  const std::string manager = "SOFTWARE\\Microsoft\\Windows CE Tools\\Platform Manager";
  const std::string platforms = "{F384D888-F9AA-11D1-BB9E-00A0C9C9CCEE}";
  const std::string properties = "{F384D894-F9AA-11D1-BB9E-00A0C9C9CCEE}";
  return manager + "\\" + platforms + "\\" + row.pszPlatformGuid + "\\" + properties + "\\" + row.pszPlatformGuid +
         "\\" + row.pszInstructionSetGuid;
}

}  // namespace velasdkreg
