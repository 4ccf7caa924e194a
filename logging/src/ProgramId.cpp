#include <new>

#include "BaseInfo.h"
#include "FixedText.h"
#include "Gather.h"

namespace tarn {

void GatherProgramId() {
    WCHAR path[kFieldCapacity + 1] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, kFieldCapacity);
    if (length >= kFieldCapacity) length = 0;
    path[length] = 0;
    LPCWSTR name = path;
    for (DWORD i = 0; i < length; ++i) {
        if (path[i] == u'\\') name = path + i + 1;
    }
    CopyField(g_base.exeName, name);
    CopyField(g_base.programId, g_base.exeName);

    DWORD handle = 0;
    DWORD size = length != 0 ? GetFileVersionInfoSizeW(path, &handle) : 0;
    if (size == 0) return;
    // Zero-filled with room to spare, so a string value at the very end stays terminated.
    BYTE* info = new (std::nothrow) BYTE[(static_cast<size_t>(size) + 2) * 2]();
    if (info == nullptr) return;
    LPWSTR version = nullptr;
    UINT versionLength = 0;
    if (GetFileVersionInfoW(path, 0, size, info) &&
        VerQueryValueW(info, u"\\StringFileInfo\\041104b0\\ProductVersion", reinterpret_cast<LPVOID*>(&version),
                       &versionLength) &&
        version != nullptr && version[0] != 0) {
        FixedText out(g_base.programId, kFieldCapacity);
        out.Append(g_base.exeName);
        out.AppendChar(u' ');
        out.Append(version);
    }
    delete[] info;
}

}  // namespace tarn
