#include "BaseInfo.h"

#include "FixedText.h"

namespace tarn {

BaseInfo g_base{};
std::atomic<DWORD> g_errno{0};

bool CopyField(WCHAR (&field)[kFieldCapacity], LPCWSTR text) {
    FixedText out(field, kFieldCapacity);
    out.Append(text);
    return out.Ok();
}

}  // namespace tarn
