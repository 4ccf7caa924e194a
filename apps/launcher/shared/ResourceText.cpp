#include "ResourceText.h"

CString ResourceText(UINT id) {
    // LoadString with no buffer size hands out the resource's own text, not terminated.
    const WCHAR* text = nullptr;
    const int length = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? CString(text, length) : CString();
}
