// The code pages this platform converts, and what a code page number resolves to.
#pragma once

#include <wintypes.h>

namespace vela::nls {

enum class CodePage { Cp932, Utf8, Unsupported };

// CP_ACP, CP_OEMCP and CP_THREAD_ACP all name 932 on the terminal.
CodePage ResolveCodePage(UINT codePage);

}  // namespace vela::nls
