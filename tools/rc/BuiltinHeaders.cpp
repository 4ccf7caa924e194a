#include "BuiltinHeaders.h"

#include <strings.h>

#include <string>

namespace vela::rc {

bool IsBuiltinHeader(std::string_view name) {
  const size_t slash = name.find_last_of("\\/");
  const std::string base(slash == std::string_view::npos ? name : name.substr(slash + 1));
  static const char* const kHeaders[] = {
      "windows.h", "winver.h", "winres.h",  "winresrc.h", "afxres.h", "winuser.h", "winnt.h",
      "winbase.h", "wingdi.h", "winnls.h",  "commctrl.h", "newres.h", "aygshell.h", "dlgs.h",
      "winuser.rh", "commctrl.rh", "dde.rh", "winnt.rh", "afxres.rc", "wceres.rc"};
  for (const char* header : kHeaders) {
    if (strcasecmp(base.c_str(), header) == 0) {
      return true;
    }
  }
  return false;
}

std::string_view BuiltinDefinitions() {
  return R"(#define VS_FILE_INFO 16
#define VS_VERSION_INFO 1
#define VS_USER_DEFINED 100
#define VS_FFI_SIGNATURE 0xFEEF04BDL
#define VS_FFI_STRUCVERSION 0x00010000L
#define VS_FFI_FILEFLAGSMASK 0x0000003FL
#define VS_FF_DEBUG 0x00000001L
#define VS_FF_PRERELEASE 0x00000002L
#define VS_FF_PATCHED 0x00000004L
#define VS_FF_PRIVATEBUILD 0x00000008L
#define VS_FF_INFOINFERRED 0x00000010L
#define VS_FF_SPECIALBUILD 0x00000020L
#define VOS_UNKNOWN 0x00000000L
#define VOS_DOS 0x00010000L
#define VOS_OS216 0x00020000L
#define VOS_OS232 0x00030000L
#define VOS_NT 0x00040000L
#define VOS_WINCE 0x00050000L
#define VOS__BASE 0x00000000L
#define VOS__WINDOWS16 0x00000001L
#define VOS__PM16 0x00000002L
#define VOS__PM32 0x00000003L
#define VOS__WINDOWS32 0x00000004L
#define VOS_DOS_WINDOWS16 0x00010001L
#define VOS_DOS_WINDOWS32 0x00010004L
#define VOS_NT_WINDOWS32 0x00040004L
#define VFT_UNKNOWN 0x00000000L
#define VFT_APP 0x00000001L
#define VFT_DLL 0x00000002L
#define VFT_DRV 0x00000003L
#define VFT_FONT 0x00000004L
#define VFT_VXD 0x00000005L
#define VFT_STATIC_LIB 0x00000007L
#define VFT2_UNKNOWN 0x00000000L
#define LANG_NEUTRAL 0x00
#define LANG_INVARIANT 0x7f
#define LANG_CHINESE 0x04
#define LANG_ENGLISH 0x09
#define LANG_FRENCH 0x0c
#define LANG_GERMAN 0x07
#define LANG_JAPANESE 0x11
#define LANG_KOREAN 0x12
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_SYS_DEFAULT 0x02
#define SUBLANG_ENGLISH_US 0x01
#define SUBLANG_ENGLISH_UK 0x02
#define SUBLANG_JAPANESE_JAPAN 0x01
#define IDC_STATIC (-1)
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
)";
}

std::string_view PredefinedMacros() {
  // Scripts of the platform's editors put their LANGUAGE and code page under #ifdef _WIN32.
  return R"(#define RC_INVOKED 1
#define _WIN32 1
#define VELA_RC 1
#define VS_VERSION_INFO 1
)";
}

}  // namespace vela::rc
