// The GDI's objects behind the handles, and the one lock that guards all of them. A handle is
// the object's address; it is only used after the live-object table says it is one of ours.
#pragma once

#include <wingdi.h>

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "gdi/Region.h"
#include "gdi/Surface.h"

namespace vela::gdi {

class FontFaceSet;

// Kinds beyond the platform's OBJ_ values, for objects that are not GDI objects to callers.
constexpr DWORD kObjIcon = 0x1000;

struct GdiObject {
  explicit GdiObject(DWORD kind) : type(kind) {}
  virtual ~GdiObject() = default;
  DWORD type;
  bool stock = false;
  int selections = 0;  // DCs (and saved DC states) holding it
};

struct BrushObject : GdiObject {
  BrushObject() : GdiObject(OBJ_BRUSH) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
  ULONG_PTR hatch = 0;
  // Pattern brushes: 8 x 8 pixels; a monochrome pattern keeps 0/1 and takes the DC's colours.
  bool monoPattern = false;
  std::array<std::uint32_t, 64> pattern{};
  int sysColorIndex = -1;  // a system colour brush follows SetSysColors
};

struct PenObject : GdiObject {
  PenObject() : GdiObject(OBJ_PEN) {}
  LOGPEN log{};
};

struct FontObject : GdiObject {
  FontObject() : GdiObject(OBJ_FONT) {}
  LOGFONTW log{};
  const FontFaceSet* faces = nullptr;
};

struct DcObject;

struct BitmapObject : GdiObject {
  BitmapObject() : GdiObject(OBJ_BITMAP) {}
  Surface surface;
  bool dibSection = false;
  BITMAPINFOHEADER dibHeader{};
  DcObject* selectedInto = nullptr;
};

struct RegionObject : GdiObject {
  RegionObject() : GdiObject(OBJ_REGION) {}
  Region region;
};

struct IconObject : GdiObject {
  IconObject() : GdiObject(kObjIcon) {}
  int width = 0;
  int height = 0;
  BOOL isIcon = TRUE;
  DWORD hotX = 0, hotY = 0;
  bool hasColor = true;  // false: monochrome icon (AND over XOR in one mask bitmap)
  int resourceId = 0;    // the numbered icon resource it was loaded from, for vela/Inspect.h
  // Per pixel: the AND mask (0 or 0xFFFFFF) and the XOR image, so that drawing is (d & and) ^ xor.
  std::vector<std::uint32_t> andMask;
  std::vector<std::uint32_t> xorImage;
};

// Attributes that SaveDC keeps.
struct DcState {
  BrushObject* brush = nullptr;
  PenObject* pen = nullptr;
  FontObject* font = nullptr;
  BitmapObject* bitmap = nullptr;  // memory DCs
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  POINT brushOrg{0, 0};
  POINT viewportOrg{0, 0};
  POINT position{0, 0};
  UINT textAlign = TA_LEFT | TA_TOP;
  std::optional<Region> clip;  // device coordinates of the DC
};

struct DcObject : GdiObject {
  DcObject(bool isMemory) : GdiObject(isMemory ? OBJ_MEMDC : OBJ_DC), memory(isMemory) {}
  bool memory;
  HWND window = nullptr;
  POINT origin{0, 0};  // surface position of device (0,0)
  Region visible;      // surface coordinates; window DCs only
  DcState state;
  std::vector<DcState> saved;
  // Everything that may be drawn, in surface coordinates; rebuilt when stale.
  Region clip;
  bool clipDirty = true;
  std::uint64_t clipEpoch = 0;  // the screen's epoch the clip was built for
};

std::recursive_mutex& GdiMutex();
using GdiLock = std::lock_guard<std::recursive_mutex>;

void Register(GdiObject* object);
// Removes the object from the table and frees it.
void Destroy(GdiObject* object);
// The object of handle h when it is live and of the kind (0: any kind), else nullptr. The
// caller holds GdiMutex() (every API function takes it first) and keeps it while using the object.
GdiObject* Lookup(const void* h, DWORD kind = 0);

template <class T>
T* LookupAs(const void* h, DWORD kind) {
  return static_cast<T*>(Lookup(h, kind));
}
inline DcObject* LookupDc(HDC h) {
  GdiObject* o = Lookup(h);
  return o && (o->type == OBJ_DC || o->type == OBJ_MEMDC) ? static_cast<DcObject*>(o) : nullptr;
}

// The handle of an object, of the handle type the API hands out.
template <class H>
H HandleOf(GdiObject* object) {
  return reinterpret_cast<H>(object);
}

// Selection bookkeeping: counts the holders of an object.
void Hold(GdiObject* object);
void Release(GdiObject* object);

// Failure with a last error, for the API functions.
template <class R>
R Fail(DWORD error, R result) {
  SetLastError(error);
  return result;
}

// A loud stub's debug line.
void ReportUnsupported(const char* what);

}  // namespace vela::gdi
