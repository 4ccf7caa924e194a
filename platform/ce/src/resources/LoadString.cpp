// LoadString: string tables are RT_STRING blocks of 16 counted strings; string uID lies in
// block uID / 16 + 1 at place uID % 16.
#include <winuser.h>

#include <cstring>

#include "resources/ModuleResources.h"

using namespace vela::resources;

namespace {

// The string's units inside the block, or false when the block holds no such string.
bool FindInBlock(const ResourceEntry& block, UINT index, const WCHAR** text, size_t* length) {
  size_t offset = 0;
  for (UINT i = 0; i <= index; ++i) {
    if (offset + 2 > block.size) {
      return false;
    }
    uint16_t count;
    std::memcpy(&count, block.data + offset, 2);
    offset += 2;
    if (count > (block.size - offset) / 2) {
      return false;
    }
    if (i == index) {
      *text = reinterpret_cast<const WCHAR*>(block.data + offset);
      *length = count;
      return count > 0;
    }
    offset += size_t{count} * 2;
  }
  return false;
}

}  // namespace

int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // A caller's buffer holds an empty string whenever nothing is found.
  if (cchBufferMax > 0) {
    lpBuffer[0] = u'\0';
  }
  if (uID > 0xFFFF) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  const ResourceEntry* block = FindModuleResource(
      hInstance, NumberId(6), NumberId(static_cast<uint16_t>(uID / 16 + 1)), std::nullopt);
  const WCHAR* text = nullptr;
  size_t length = 0;
  if (!block) {
    return 0;
  }
  if (!FindInBlock(*block, uID % 16, &text, &length)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  if (cchBufferMax == 0) {
    // The caller gets the string in place, read-only and not terminated.
    const WCHAR* inPlace = text;
    std::memcpy(lpBuffer, &inPlace, sizeof inPlace);
    return static_cast<int>(length);
  }
  const size_t copied = length < static_cast<size_t>(cchBufferMax) ? length : static_cast<size_t>(cchBufferMax) - 1;
  std::memcpy(lpBuffer, text, copied * sizeof(WCHAR));
  lpBuffer[copied] = u'\0';
  return static_cast<int>(copied);
}
