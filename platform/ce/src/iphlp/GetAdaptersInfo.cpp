// GetAdaptersInfo from the simulated terminal's adapters. One snapshot per call, so the list
// written always matches the size computed for it, also while the terminal changes.
#include <iphlpapi.h>
#include <winnls.h>
#include <vela/Terminal.h>
#include <vela/Utf.h>

#include <algorithm>
#include <cstring>

namespace {

// text in the ANSI code page, cut to at most capacity - 1 bytes on a character boundary and
// NUL-terminated, so a long or odd name never spills into the next field.
void CopyAnsi(const std::string& utf8, char* field, size_t capacity) {
  const std::u16string wide = vela::Utf8ToUtf16(utf8);
  size_t used = 0;
  for (size_t i = 0; i < wide.size();) {
    const size_t units = (i + 1 < wide.size() && wide[i] >= 0xD800 && wide[i] < 0xDC00) ? 2 : 1;
    char bytes[8];
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data() + i, static_cast<int>(units), bytes,
                                      sizeof bytes, nullptr, nullptr);
    if (n <= 0 || used + static_cast<size_t>(n) > capacity - 1) {
      break;
    }
    std::memcpy(field + used, bytes, static_cast<size_t>(n));
    used += static_cast<size_t>(n);
    i += units;
  }
  field[used] = '\0';
}

void FillAddress(IP_ADDR_STRING& entry, const std::string& address, const std::string& mask) {
  entry = IP_ADDR_STRING{};
  CopyAnsi(address, entry.IpAddress.String, sizeof entry.IpAddress.String);
  CopyAnsi(mask, entry.IpMask.String, sizeof entry.IpMask.String);
}

}  // namespace

DWORD GetAdaptersInfo(PIP_ADAPTER_INFO pAdapterInfo, PULONG pOutBufLen) {
  if (!pOutBufLen) {
    return ERROR_INVALID_PARAMETER;
  }
  const std::vector<vela::terminal::Adapter> adapters = vela::terminal::Get().Get().network.adapters;
  if (adapters.empty()) {
    return ERROR_NO_DATA;
  }
  const ULONG needed = static_cast<ULONG>(adapters.size() * sizeof(IP_ADAPTER_INFO));
  if (!pAdapterInfo || *pOutBufLen < needed) {
    *pOutBufLen = needed;
    return ERROR_BUFFER_OVERFLOW;
  }
  for (size_t i = 0; i < adapters.size(); ++i) {
    const vela::terminal::Adapter& adapter = adapters[i];
    IP_ADAPTER_INFO& info = pAdapterInfo[i];
    info = IP_ADAPTER_INFO{};
    info.Next = i + 1 < adapters.size() ? &pAdapterInfo[i + 1] : nullptr;
    info.ComboIndex = static_cast<DWORD>(i + 1);
    info.Index = static_cast<DWORD>(i + 1);
    CopyAnsi(adapter.name, info.AdapterName, sizeof info.AdapterName);
    CopyAnsi(adapter.description, info.Description, sizeof info.Description);
    info.AddressLength = static_cast<UINT>(std::min<size_t>(adapter.address.size(), MAX_ADAPTER_ADDRESS_LENGTH));
    std::copy_n(adapter.address.begin(), info.AddressLength, info.Address);
    info.Type = adapter.type;
    info.DhcpEnabled = adapter.dhcp ? 1 : 0;
    FillAddress(info.IpAddressList, adapter.ipAddress, adapter.subnetMask);
    info.CurrentIpAddress = &info.IpAddressList;
    FillAddress(info.GatewayList, adapter.gateway, "0.0.0.0");
    FillAddress(info.DhcpServer, adapter.dhcp ? adapter.gateway : std::string(), "");
  }
  return ERROR_SUCCESS;
}
