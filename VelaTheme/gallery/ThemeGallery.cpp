// vela-theme-gallery <picture.png>: paints the ten themes in their four looks and the arrow
// buttons on the headless screen and saves the picture (docs/images/themes.png).
#include <VelaTheme.h>
#include <vela/Screen.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr UINT kLooks[] = {0, ODS_FOCUS, ODS_SELECTED | ODS_FOCUS, ODS_DISABLED};

// Paints a button in a chosen look straight away, as its parent's WM_DRAWITEM would.
void PaintLook(CVelaThemeButton& button, UINT nState) {
    HDC hDC = ::GetDC(button.m_hWnd);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = nState;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = hDC;
    button.GetClientRect(&dis.rcItem);
    button.DrawItem(&dis);
    ::ReleaseDC(button.m_hWnd, hDC);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vela-theme-gallery <picture.png>\n");
        return 2;
    }
    vela::screen::Resize(240, 320);
    CWnd parent;
    if (!parent.CreateEx(0, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)), u"themes",
                         WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr)) {
        return 1;
    }
    std::vector<std::unique_ptr<CVelaThemeButton>> buttons;
    std::vector<UINT> looks;
    auto add = [&](std::unique_ptr<CVelaThemeButton> button, LPCTSTR caption, int x, int y, int cx, int cy, UINT look) {
        button->Create(caption, WS_CHILD | WS_VISIBLE, CRect(x, y, x + cx, y + cy), &parent, 100 + UINT(buttons.size()));
        buttons.push_back(std::move(button));
        looks.push_back(look);
        return buttons.back().get();
    };
    // Ten rows of themes, each normal, focused, pressed and disabled.
    for (int theme = 0; theme < 10; ++theme) {
        for (int look = 0; look < 4; ++look) {
            add(std::make_unique<CVelaThemeButton>(), u"決定", 4 + 58 * look, 4 + 20 * theme, 56, 18, kLooks[look])
                ->SetColor(theme);
        }
    }
    // One row per look: the four arrows, the left and right page arrows, and a page arrow with
    // a caption.
    for (int look = 0; look < 4; ++look) {
        const int y = 208 + 27 * look;
        for (int d = 0; d < 4; ++d) {
            auto arrow = std::make_unique<CVelaArrowButton>();
            arrow->SetDirection(d);
            arrow->SetColor(6);
            add(std::move(arrow), u"", 4 + 24 * d, y, 22, 25, kLooks[look]);
        }
        for (int d = 2; d < 4; ++d) {
            auto page = std::make_unique<CVelaPageArrowButton>();
            page->SetDirection(d);
            page->SetColor(3);
            add(std::move(page), u"", 100 + 27 * (d - 2), y, 25, 25, kLooks[look]);
        }
        auto captioned = std::make_unique<CVelaPageArrowButton>();
        captioned->SetDirection(1);
        captioned->SetColor(8);
        add(std::move(captioned), u"次頁", 156, y, 80, 25, kLooks[look]);
    }
    parent.UpdateWindow();
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->UpdateWindow();
        PaintLook(*buttons[i], looks[i]);
    }
    const bool saved = vela::screen::SaveRectPng(RECT{0, 0, 240, 316}, argv[1]);
    for (auto& button : buttons) button->DestroyWindow();
    parent.DestroyWindow();
    return saved ? 0 : 1;
}
