// The stock objects: created once, never freed, selectable into any number of DCs.
#include "gdi/Dc.h"

namespace vela::gdi {
namespace {

template <class T>
T* MakeStock(T* object) {
  object->stock = true;
  Register(object);
  return object;
}

BrushObject* SolidStock(COLORREF color, UINT style = BS_SOLID) {
  auto* b = new BrushObject();
  b->style = style;
  b->color = color;
  return MakeStock(b);
}

PenObject* PenStock(UINT style, COLORREF color) {
  auto* p = new PenObject();
  p->log.lopnStyle = style;
  p->log.lopnWidth = POINT{1, 0};
  p->log.lopnColor = color;
  return MakeStock(p);
}

FontObject* FontStock(LONG height, LONG weight, BYTE pitch, const char16_t* face) {
  auto* f = new FontObject();
  f->log.lfHeight = height;
  f->log.lfWeight = weight;
  f->log.lfCharSet = SHIFTJIS_CHARSET;
  f->log.lfPitchAndFamily = pitch;
  for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) f->log.lfFaceName[i] = face[i];
  return MakeStock(f);
}

struct Stock {
  BrushObject* brushes[6];
  PenObject* pens[3];
  FontObject* fonts[8];  // OEM_FIXED_FONT .. DEFAULT_GUI_FONT, by index - OEM_FIXED_FONT
  BitmapObject* monoBitmap;
  Stock() {
    brushes[WHITE_BRUSH] = SolidStock(RGB(255, 255, 255));
    brushes[LTGRAY_BRUSH] = SolidStock(RGB(192, 192, 192));
    brushes[GRAY_BRUSH] = SolidStock(RGB(128, 128, 128));
    brushes[DKGRAY_BRUSH] = SolidStock(RGB(64, 64, 64));
    brushes[BLACK_BRUSH] = SolidStock(RGB(0, 0, 0));
    brushes[NULL_BRUSH] = SolidStock(0, BS_NULL);
    pens[0] = PenStock(PS_SOLID, RGB(255, 255, 255));
    pens[1] = PenStock(PS_SOLID, RGB(0, 0, 0));
    pens[2] = PenStock(PS_NULL, 0);
    // Every face maps to the terminal's bitmap fonts; these names are what GetObject reports.
    FontObject* gothic = FontStock(-12, FW_NORMAL, FIXED_PITCH | FF_MODERN, u"System");
    for (auto& f : fonts) f = gothic;
    fonts[DEFAULT_GUI_FONT - OEM_FIXED_FONT] = FontStock(-12, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, u"Tahoma");
    monoBitmap = new BitmapObject();
    monoBitmap->surface.width = 1;
    monoBitmap->surface.height = 1;
    monoBitmap->surface.bpp = 1;
    monoBitmap->surface.monoDdb = true;
    monoBitmap->surface.palette = {0x000000, 0xFFFFFF};
    monoBitmap->surface.Allocate();
    MakeStock(monoBitmap);
  }
};

Stock& Stocks() {
  static auto* stock = new Stock();
  return *stock;
}

}  // namespace

BitmapObject* DefaultMemoryBitmap() { return Stocks().monoBitmap; }
BrushObject* StockBrush(int index) { return Stocks().brushes[index]; }
PenObject* StockPen(int index) { return Stocks().pens[index - WHITE_PEN]; }
FontObject* StockFont(int index) { return Stocks().fonts[index - OEM_FIXED_FONT]; }

}  // namespace vela::gdi

HGDIOBJ GetStockObject(int fnObject) {
  using namespace vela::gdi;
  GdiLock lock(GdiMutex());
  if (fnObject >= WHITE_BRUSH && fnObject <= NULL_BRUSH) return StockBrush(fnObject);
  if (fnObject >= WHITE_PEN && fnObject <= NULL_PEN) return static_cast<GdiObject*>(StockPen(fnObject));
  if (fnObject >= OEM_FIXED_FONT && fnObject <= DEFAULT_GUI_FONT && fnObject != DEFAULT_PALETTE) {
    return static_cast<GdiObject*>(StockFont(fnObject));
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}
