#include "BaseInfo.h"
#include "FixedText.h"
#include "Gather.h"

namespace tarn {

void GatherUserName() {
    // The value holds the owner's name first, NUL-terminated, then further owner details.
    constexpr DWORD kOwnerValueBytes = 556;
    HKEY key = nullptr;
    bool found = false;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, u"ControlPanel\\Owner", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        BYTE data[kOwnerValueBytes];
        DWORD type = 0;
        DWORD size = sizeof data;
        if (RegQueryValueExW(key, u"Owner", nullptr, &type, data, &size) == ERROR_SUCCESS) {
            // Read as far as the value goes, never past it, even without a terminator.
            FixedText out(g_base.user, kFieldCapacity);
            for (DWORD i = 0; i + 1 < size; i += 2) {
                WCHAR c = static_cast<WCHAR>(data[i] | (data[i + 1] << 8));
                if (c == 0) break;
                out.AppendChar(c);
            }
            found = true;
        }
        RegCloseKey(key);
    }
    if (!found) CopyField(g_base.user, u"operator");
}

}  // namespace tarn
