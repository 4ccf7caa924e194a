// Code page identity of the terminal: ANSI and OEM code page are both 932.
#include "nls/CodePage.h"

#include <winerror.h>
#include <winnls.h>

#include "nls/Cp932Codec.h"

namespace vela::nls {

CodePage ResolveCodePage(UINT codePage) {
    switch (codePage) {
        case CP_ACP:
        case CP_OEMCP:
        case CP_THREAD_ACP:
        case 932:
            return CodePage::Cp932;
        case CP_UTF8:
            return CodePage::Utf8;
        default:
            return CodePage::Unsupported;
    }
}

}  // namespace vela::nls

UINT GetACP() { return 932; }

UINT GetOEMCP() { return 932; }

BOOL IsDBCSLeadByte(BYTE TestChar) { return vela::cp932::IsLeadByte(TestChar) ? TRUE : FALSE; }

BOOL IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar) {
    switch (vela::nls::ResolveCodePage(CodePage)) {
        case vela::nls::CodePage::Cp932:
            return vela::cp932::IsLeadByte(TestChar) ? TRUE : FALSE;
        case vela::nls::CodePage::Utf8:
            return FALSE;  // UTF-8 has no lead bytes in the DBCS sense
        case vela::nls::CodePage::Unsupported:
            break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}
