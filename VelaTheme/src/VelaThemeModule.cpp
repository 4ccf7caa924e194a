#include "VelaThemeModule.h"

namespace {

HBRUSH BrushFromTile(HINSTANCE hResource, int nId) {
    HBITMAP hBitmap = ::LoadBitmap(hResource, MAKEINTRESOURCE(nId));
    if (hBitmap == nullptr) {
        return nullptr;
    }
    HBRUSH hBrush = ::CreatePatternBrush(hBitmap);  // the brush keeps its own copy
    ::DeleteObject(hBitmap);
    return hBrush;
}

HICON IconOfSize(HINSTANCE hResource, int nId, int cx, int cy) {
    // Asked for at its own size: at 0 x 0 the terminal hands out the system icon size.
    return static_cast<HICON>(::LoadImage(hResource, MAKEINTRESOURCE(nId), IMAGE_ICON, cx, cy, 0));
}

template <typename Handle, size_t N>
void Each(Handle (&slots)[N], auto&& action) {
    for (Handle& h : slots) action(h);
}

}  // namespace

CVelaThemeModule::CVelaThemeModule()
    : AFX_EXTENSION_MODULE{FALSE, nullptr, nullptr, nullptr, nullptr},
      m_hThemeBrush{},
      m_hDisabledBrush{},
      m_hArrowIcon{},
      m_hPageArrowIcon{} {}

CVelaThemeModule::~CVelaThemeModule() { ReleaseTable(); }

void CVelaThemeModule::LoadTable(HINSTANCE hInstResource) {
    ReleaseTable();  // a second load replaces the table instead of leaking it
    for (int t = 0; t < VELATHEME_COLORS; ++t) {
        for (int s = 0; s < VELATHEME_BRUSHSTATES; ++s) {
            for (int k = 0; k < VELATHEME_PIECES; ++k) {
                m_hThemeBrush[t][s][k] = BrushFromTile(hInstResource, IDB_VELATHEME_TILE + 100 * t + 10 * s + k);
            }
        }
    }
    for (int k = 0; k < VELATHEME_PIECES; ++k) {
        m_hDisabledBrush[k] = BrushFromTile(hInstResource, IDB_VELATHEME_DISABLED + k);
    }
    for (int d = 0; d < VELATHEME_DIRECTIONS; ++d) {
        const bool bVertical = d < 2;
        for (int s = 0; s < VELATHEME_ICONSTATES; ++s) {
            m_hArrowIcon[d][s] = IconOfSize(hInstResource, IDI_VELATHEME_ARROW + 10 * d + s, 12, 12);
            m_hPageArrowIcon[d][s] =
                IconOfSize(hInstResource, IDI_VELATHEME_PAGEARROW + 10 * d + s, bVertical ? 10 : 18, bVertical ? 18 : 10);
        }
    }
}

void CVelaThemeModule::ReleaseTable() {
    auto deleteBrush = [](HBRUSH& h) {
        if (h != nullptr) ::DeleteObject(h);
        h = nullptr;
    };
    auto destroyIcon = [](HICON& h) {
        if (h != nullptr) ::DestroyIcon(h);
        h = nullptr;
    };
    for (auto& theme : m_hThemeBrush) {
        for (auto& set : theme) Each(set, deleteBrush);
    }
    Each(m_hDisabledBrush, deleteBrush);
    for (auto& states : m_hArrowIcon) Each(states, destroyIcon);
    for (auto& states : m_hPageArrowIcon) Each(states, destroyIcon);
}
