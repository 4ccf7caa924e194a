// Every icon at both sizes, as the windows draw them.
#include <afxdialog.h>

#include <VelaNotify.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "GoldenImage.h"
#include "NotifyTestSupport.h"

namespace notifytest {
namespace {

const std::filesystem::path kGolden = std::filesystem::path(VELA_TEST_DATA) / "golden";

using Pictures = NotifyTest;

// Seven icons a row, 4 pixels apart, on white.
vela::screen::Image IconSheet(CWnd& host, IconSize size) {
    const int side = size == IconSize16 ? 16 : 32, cell = side + 4, columns = size == IconSize16 ? 7 : 6;
    std::vector<std::unique_ptr<CPlainIconWnd>> icons;
    for (UINT id = 3000; id <= 3020; ++id) {
        const int i = static_cast<int>(id - 3000);
        auto icon = std::make_unique<CPlainIconWnd>(id);
        icon->SetIconSize(size);
        icon->SetBkColor(RGB(0xFF, 0xFF, 0xFF));
        const int x = 2 + (i % columns) * cell, y = 2 + (i / columns) * cell;
        EXPECT_TRUE(icon->Create(u"", WS_CHILD | WS_VISIBLE, CRect(x, y, x + side, y + side), &host, 2000 + id));
        icons.push_back(std::move(icon));
    }
    vela::input::PumpUntilIdle();
    const int rows = (21 + columns - 1) / columns;
    return vela::screen::Capture(CRect(0, 0, columns * cell + 2, rows * cell + 2));
}

TEST_F(Pictures, IconSheets) {
    m_host.MoveWindow(0, 0, 240, 200);
    Pump();
    EXPECT_TRUE(golden::MatchesGolden(IconSheet(m_host, IconSize16), kGolden, "icons16"));
    m_host.DestroyWindow();
    ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)), u"host",
                                WS_POPUP | WS_VISIBLE, 0, 0, 240, 200, nullptr, nullptr));
    Pump();
    EXPECT_TRUE(golden::MatchesGolden(IconSheet(m_host, IconSize32), kGolden, "icons32"));
}

}  // namespace
}  // namespace notifytest
