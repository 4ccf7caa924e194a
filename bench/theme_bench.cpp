// The themed buttons' paint on the terminal's 240 x 320 screen, side by side with solid fills
// of the same rectangles (the floor): one 80 x 30 button, and a whole dialog of a dozen themed
// and arrow buttons with captions repainted.
#include <VelaTheme.h>

#include <benchmark/benchmark.h>
#include <vela/Screen.h>

#include <memory>
#include <vector>

namespace {

// The nine rectangles a w x h button's frame is painted with.
std::vector<RECT> Pieces(int x, int y, int w, int h) {
    const int r = x + w, b = y + h;
    return {{x + 8, y + 8, r - 8, b - 8}, {x, y + 8, x + 8, b - 8}, {r - 8, y + 8, r, b - 8},
            {x + 8, y, r - 8, y + 8},     {x + 8, b - 8, r - 8, b}, {x, y, x + 8, y + 8},
            {r - 8, y, r, y + 8},         {x, b - 8, x + 8, b},     {r - 8, b - 8, r, b}};
}

// A dialog-sized window holding the buttons, on a fresh screen.
struct Dialog {
    CWnd parent;
    std::vector<std::unique_ptr<CVelaThemeButton>> buttons;

    Dialog() {
        vela::screen::Resize(240, 320);
        parent.CreateEx(0, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_BTNFACE)), u"dialog",
                        WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr);
    }
    ~Dialog() {
        for (auto& button : buttons) button->DestroyWindow();
        parent.DestroyWindow();
    }
    template <typename Button>
    Button& Add(LPCTSTR caption, CRect rect) {
        auto button = std::make_unique<Button>();
        button->Create(caption, WS_CHILD | WS_VISIBLE, rect, &parent, 100 + UINT(buttons.size()));
        Button& made = *button;
        buttons.push_back(std::move(button));
        return made;
    }
    // Eight themed buttons, two arrows, two page arrows with captions.
    void AddDozen() {
        static const LPCTSTR kCaptions[] = {u"入荷", u"出荷", u"棚卸", u"移動", u"照会", u"設定", u"送信", u"終了"};
        for (int i = 0; i < 8; ++i) {
            Add<CVelaThemeButton>(kCaptions[i], CRect(CPoint(8 + 116 * (i % 2), 8 + 44 * (i / 2)), CSize(108, 36))).SetColor(i);
        }
        for (int d = 0; d < 2; ++d) {
            Add<CVelaArrowButton>(u"", CRect(CPoint(8 + 116 * d, 190), CSize(108, 30))).SetDirection(d);
            Add<CVelaPageArrowButton>(u"前頁", CRect(CPoint(8 + 116 * d, 230), CSize(108, 30))).SetDirection(2 + d);
        }
    }
};

void PaintItem(CVelaThemeButton& button, HDC hDC) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = hDC;
    button.DrawItem(&dis);
}

void BM_ButtonFrame80x30(benchmark::State& state) {
    Dialog dialog;
    auto& button = dialog.Add<CVelaThemeButton>(u"", CRect(20, 20, 100, 50));
    HDC hDC = ::GetDC(button.m_hWnd);
    for (auto _ : state) PaintItem(button, hDC);
    ::ReleaseDC(button.m_hWnd, hDC);
}
BENCHMARK(BM_ButtonFrame80x30);

void BM_ButtonWithCaption80x30(benchmark::State& state) {
    Dialog dialog;
    auto& button = dialog.Add<CVelaThemeButton>(u"決定", CRect(20, 20, 100, 50));
    HDC hDC = ::GetDC(button.m_hWnd);
    for (auto _ : state) PaintItem(button, hDC);
    ::ReleaseDC(button.m_hWnd, hDC);
}
BENCHMARK(BM_ButtonWithCaption80x30);

// The floor: the same nine rectangles with a solid brush each.
void BM_SolidFills80x30(benchmark::State& state) {
    Dialog dialog;
    auto& button = dialog.Add<CVelaThemeButton>(u"", CRect(20, 20, 100, 50));
    HDC hDC = ::GetDC(button.m_hWnd);
    HBRUSH hBrush = ::CreateSolidBrush(RGB(0xFF, 0x7B, 0x7B));
    const std::vector<RECT> pieces = Pieces(0, 0, 80, 30);
    for (auto _ : state) {
        for (const RECT& rc : pieces) ::FillRect(hDC, &rc, hBrush);
    }
    ::DeleteObject(hBrush);
    ::ReleaseDC(button.m_hWnd, hDC);
}
BENCHMARK(BM_SolidFills80x30);

// The whole dialog repainted: background erase, every button's frame, caption or arrows.
void BM_DialogRepaint240x320(benchmark::State& state) {
    Dialog dialog;
    dialog.AddDozen();
    for (auto _ : state) {
        ::RedrawWindow(dialog.parent.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}
BENCHMARK(BM_DialogRepaint240x320)->Unit(benchmark::kMicrosecond);

// The floor of the dialog: the background and every button's nine rectangles, solid.
void BM_DialogSolidFills240x320(benchmark::State& state) {
    Dialog dialog;
    dialog.AddDozen();
    std::vector<RECT> rects{{0, 0, 240, 320}};
    for (auto& button : dialog.buttons) {
        CRect rc;
        button->GetWindowRect(&rc);
        for (const RECT& piece : Pieces(rc.left, rc.top, rc.Width(), rc.Height())) rects.push_back(piece);
    }
    HDC hDC = ::GetDC(dialog.parent.m_hWnd);
    HBRUSH hBrush = ::CreateSolidBrush(RGB(0x42, 0xAD, 0xFF));
    for (auto _ : state) {
        for (const RECT& rc : rects) ::FillRect(hDC, &rc, hBrush);
    }
    ::DeleteObject(hBrush);
    ::ReleaseDC(dialog.parent.m_hWnd, hDC);
}
BENCHMARK(BM_DialogSolidFills240x320)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
