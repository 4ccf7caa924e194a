#include "UsableAdapter.h"

#include <iphlpapi.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

#include "VLSysNetwork.h"

namespace velasys {

namespace {

constexpr UINT kUsableTypes[] = {1, 2, 3, 5, 6, 10, 11, 12, 13, 14, 15, 20, 30, 31, 32, 40, 41, 42, 50, 60};

// ANSI text of a fixed-size field, which need not hold a terminator.
template <size_t N>
CString FieldText(const char (&field)[N]) {
    const int length = static_cast<int>(strnlen(field, N));
    if (length == 0) return CString();
    const int wide = MultiByteToWideChar(CP_ACP, 0, field, length, nullptr, 0);
    if (wide <= 0) return CString();
    CString text;
    MultiByteToWideChar(CP_ACP, 0, field, length, text.GetBuffer(wide), wide);
    text.ReleaseBuffer(wide);
    return text;
}

template <size_t N>
bool FieldEquals(const char (&field)[N], const char* text) {
    return strnlen(field, N) == std::strlen(text) && std::strncmp(field, text, N) == 0;
}

}  // namespace

bool IsUsableAdapterType(UINT type) {
    return std::find(std::begin(kUsableTypes), std::end(kUsableTypes), type) != std::end(kUsableTypes);
}

CString UsableAdapter(AdapterField field) {
    // The driver handle only proves that the network driver is there.
    const CVLNdisHandle driver;
    if (static_cast<HANDLE>(driver) == INVALID_HANDLE_VALUE) return CString();

    ULONG size = 0;
    if (GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW || size == 0) return CString();
    // The size comes from the platform; on the heap a large answer fails cleanly instead of
    // overrunning the stack.
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[size]);
    if (!buffer) return CString();
    auto* list = reinterpret_cast<PIP_ADAPTER_INFO>(buffer.get());
    // A list that grew since the first query fails here with ERROR_BUFFER_OVERFLOW.
    if (GetAdaptersInfo(list, &size) != ERROR_SUCCESS) return CString();

    for (const IP_ADAPTER_INFO* adapter = list; adapter != nullptr; adapter = adapter->Next) {
        if (!IsUsableAdapterType(adapter->Type)) continue;
        if (FieldEquals(adapter->IpAddressList.IpAddress.String, "0.0.0.0")) continue;
        return field == AdapterField::Address ? FieldText(adapter->IpAddressList.IpAddress.String)
                                              : FieldText(adapter->AdapterName);
    }
    return CString();
}

}  // namespace velasys
