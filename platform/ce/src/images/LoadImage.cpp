// LoadImage, LoadIcon and LoadBitmap: icons, cursors and bitmaps from a module's resources,
// found through its handle. Shared images (LR_SHARED, and every LoadIcon) are made once per
// module, name and size and handed out again.
#include <windows.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

#include "debug/DebugChannel.h"
#include "gdi/IconRecords.h"
#include "images/IconDirectory.h"
#include "images/IconImage.h"
#include "images/ResourceBitmap.h"
#include "images/SystemIcons.h"
#include "resources/ModuleResources.h"
#include "resources/ResourceDirectory.h"

namespace vela::images {
namespace {

// Flags that would change the pixels in ways not offered here.
constexpr UINT kUnsupportedFlags = LR_LOADFROMFILE | LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS | LR_COPYRETURNORG |
                                   LR_COPYDELETEORG | LR_COPYFROMRESOURCE;

using SharedKey = std::tuple<HINSTANCE, UINT, bool, WORD, std::u16string, int, int, UINT>;

struct SharedImage {
  HANDLE handle;
  SIZE size;
};

struct SharedImages {
  std::mutex mutex;
  std::map<SharedKey, SharedImage> images;
};

SharedImages& Shared() {
  static SharedImages* shared = new SharedImages;  // outlives every module's static destructors
  return *shared;
}

SharedKey KeyOf(HINSTANCE module, UINT type, LPCWSTR name, int cx, int cy, UINT flags) {
  const vela::resources::ResourceId id = vela::resources::IdFromPointer(name);
  return SharedKey{module, type, id.isNumber, id.number, id.name, cx, cy, flags & ~LR_SHARED};
}

// The size of an image, or nothing when the handle is no (longer an) image of the kind.
std::optional<SIZE> SizeOfImage(HANDLE image, UINT type) {
  if (type == IMAGE_BITMAP) {
    BITMAP bitmap{};
    if (GetObjectType(image) != OBJ_BITMAP || GetObjectW(image, sizeof bitmap, &bitmap) == 0) {
      return std::nullopt;
    }
    return SIZE{bitmap.bmWidth, bitmap.bmHeight};
  }
  SIZE size{};
  if (!GetIconSize(static_cast<HICON>(image), &size)) {
    return std::nullopt;
  }
  return size;
}

const BYTE* BytesOf(HINSTANCE module, HRSRC found, DWORD* size) {
  *size = SizeofResource(module, found);
  return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

const BYTE* ResourceBytes(HINSTANCE module, LPCWSTR name, LPCWSTR type, DWORD* size, HRSRC* found) {
  *found = FindResourceW(module, name, type);
  return *found ? BytesOf(module, *found, size) : nullptr;  // else FindResource said why
}

HANDLE LoadIconOrCursor(HINSTANCE module, LPCWSTR name, bool icon, int cx, int cy, UINT flags) {
  DWORD size = 0;
  HRSRC group = nullptr;
  const BYTE* directory = ResourceBytes(module, name, icon ? RT_GROUP_ICON : RT_GROUP_CURSOR, &size, &group);
  if (!directory) {
    return nullptr;
  }
  const int id = BestIconId(directory, size, icon, cx, cy, flags);
  if (id == 0) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  // The image compiled with the group: image numbers are unique per script, not per module.
  using vela::resources::ResourceEntry;
  const ResourceEntry* image = vela::resources::FindCompanionResource(
      module, static_cast<const ResourceEntry*>(group), vela::resources::IdFromPointer(icon ? RT_ICON : RT_CURSOR),
      vela::resources::NumberId(static_cast<uint16_t>(id)));
  if (!image) {
    return nullptr;
  }
  const BYTE* bits = BytesOf(module, static_cast<HRSRC>(const_cast<ResourceEntry*>(image)), &size);
  HANDLE made = IconFromImageBits(bits, size, icon, cx, cy, flags);
  if (made && IS_INTRESOURCE(name)) {
    vela::gdi::SetIconResourceId(static_cast<HICON>(made), static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
  }
  return made;
}

HANDLE Load(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
  if (!module) {
    if (type == IMAGE_ICON) {
      return LoadSystemIcon(name, cx, cy, flags);
    }
    // The platform's own bitmaps and cursors are not offered.
    vela::debug::WriteDebugChannel("LoadImage: system bitmaps and cursors are not available\n");
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  if (type == IMAGE_BITMAP) {
    DWORD size = 0;
    HRSRC found = nullptr;
    const BYTE* bits = ResourceBytes(module, name, RT_BITMAP, &size, &found);
    return bits ? BitmapFromPackedDib(bits, size, cx, cy, flags) : nullptr;
  }
  return LoadIconOrCursor(module, name, type == IMAGE_ICON, cx, cy, flags);
}

}  // namespace
}  // namespace vela::images

HANDLE LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad) {
  using namespace vela::images;
  if (type == IMAGE_ENHMETAFILE || (fuLoad & kUnsupportedFlags)) {
    vela::debug::WriteDebugChannel("LoadImage: metafiles and LR_LOADFROMFILE, LR_LOADTRANSPARENT, "
                                   "LR_LOADMAP3DCOLORS and the LR_COPY flags are not supported\n");
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return nullptr;
  }
  if (!name || cx < 0 || cy < 0 || (type != IMAGE_BITMAP && type != IMAGE_ICON && type != IMAGE_CURSOR)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (type != IMAGE_BITMAP) {
    // The terminal's icons and cursors come at the system size unless a size is asked for.
    ResolveIconSize(&cx, &cy);
  }
  if (!(fuLoad & LR_SHARED)) {
    return Load(hInst, name, type, cx, cy, fuLoad);
  }
  SharedImages& shared = Shared();
  const SharedKey key = KeyOf(hInst, type, name, cx, cy, fuLoad);
  std::lock_guard lock(shared.mutex);
  auto it = shared.images.find(key);
  if (it != shared.images.end()) {
    // One the application destroyed after all (its handle gone, or reused for another image)
    // is made again.
    const std::optional<SIZE> size = SizeOfImage(it->second.handle, type);
    if (size && size->cx == it->second.size.cx && size->cy == it->second.size.cy) {
      return it->second.handle;
    }
    shared.images.erase(it);
  }
  HANDLE image = Load(hInst, name, type, cx, cy, fuLoad);
  if (const std::optional<SIZE> size = image ? SizeOfImage(image, type) : std::nullopt) {
    shared.images.emplace(key, SharedImage{image, *size});
  }
  return image;
}

HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
  return static_cast<HICON>(LoadImageW(hInstance, lpIconName, IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
}

HBITMAP LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName) {
  return static_cast<HBITMAP>(LoadImageW(hInstance, lpBitmapName, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}
