// The graphics interface's fills and icon blits on a 240 x 320 screen-sized bitmap, side by side
// with the plain memory operation (memset) and with pixman doing the same work.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#ifdef VELA_HAVE_PIXMAN
#include <pixman.h>
#endif

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

// A memory DC with a 32-bit top-down DIB section of the screen's size.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    std::uint32_t* bits = nullptr;
    Canvas() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<std::uint32_t*>(p);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

HBRUSH MakePatternBrush() {
    HBITMAP pattern = CreateBitmap(8, 8, 1, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, pattern);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) SetPixel(dc, x, y, ((x + y) & 1) ? RGB(192, 192, 192) : RGB(x * 30, y * 30, 99));
    SelectObject(dc, old);
    DeleteDC(dc);
    HBRUSH brush = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    return brush;
}

// A size x size icon: a ring of transparent pixels around an opaque picture.
HICON MakeIcon(int size) {
    HBITMAP color = CreateBitmap(size, size, 1, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, color);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) SetPixel(dc, x, y, RGB(x * 8, y * 8, 128));
    SelectObject(dc, old);
    DeleteDC(dc);
    std::vector<WORD> mask(static_cast<size_t>((size + 15) / 16) * size, 0);
    HBITMAP maskBitmap = CreateBitmap(size, size, 1, 1, mask.data());
    HDC mdc = CreateCompatibleDC(nullptr);
    old = SelectObject(mdc, maskBitmap);
    RECT all{0, 0, size, size};
    FillRect(mdc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT inner{2, 2, size - 2, size - 2};
    FillRect(mdc, &inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(mdc, old);
    DeleteDC(mdc);
    ICONINFO info{TRUE, 0, 0, maskBitmap, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(maskBitmap);
    DeleteObject(color);
    return icon;
}

void BM_FillRectFullScreen(benchmark::State& state) {
    Canvas canvas;
    HBRUSH brush = CreateSolidBrush(RGB(192, 192, 192));
    RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        FillRect(canvas.dc, &all, brush);
        benchmark::ClobberMemory();
    }
    DeleteObject(brush);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 4);
}
BENCHMARK(BM_FillRectFullScreen);

void BM_MemsetFullScreen(benchmark::State& state) {
    Canvas canvas;
    for (auto _ : state) {
        std::memset(canvas.bits, 0xC0, static_cast<size_t>(kWidth) * kHeight * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 4);
}
BENCHMARK(BM_MemsetFullScreen);

void BM_PatternFill(benchmark::State& state) {
    Canvas canvas;
    HBRUSH brush = MakePatternBrush();
    SetBrushOrgEx(canvas.dc, 3, 5, nullptr);
    const RECT r = state.range(0) ? RECT{37, 51, 37 + 40, 51 + 24} : RECT{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        FillRect(canvas.dc, &r, brush);
        benchmark::ClobberMemory();
    }
    DeleteObject(brush);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (r.right - r.left) * (r.bottom - r.top) * 4);
}
BENCHMARK(BM_PatternFill)->Arg(0)->Arg(1)->ArgName("small");

void BM_DrawIconEx(benchmark::State& state) {
    Canvas canvas;
    const int size = static_cast<int>(state.range(0));
    HICON icon = MakeIcon(size);
    for (auto _ : state) {
        DrawIconEx(canvas.dc, 100, 100, icon, size, size, 0, nullptr, DI_NORMAL);
        benchmark::ClobberMemory();
    }
    DestroyIcon(icon);
}
BENCHMARK(BM_DrawIconEx)->Arg(16)->Arg(32);

#ifdef VELA_HAVE_PIXMAN

void BM_PixmanPatternFill(benchmark::State& state) {
    std::vector<std::uint32_t> screen(static_cast<size_t>(kWidth) * kHeight);
    std::uint32_t tile[64];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            tile[y * 8 + x] = ((x + y) & 1) ? 0xFFC0C0C0u : (0xFF000000u | static_cast<std::uint32_t>(x * 30) << 16 |
                                                               static_cast<std::uint32_t>(y * 30) << 8 | 99);
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, screen.data(), kWidth * 4);
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_x8r8g8b8, 8, 8, tile, 8 * 4);
    pixman_image_set_repeat(src, PIXMAN_REPEAT_NORMAL);
    const bool small = state.range(0) != 0;
    const int x = small ? 37 : 0, y = small ? 51 : 0, w = small ? 40 : kWidth, h = small ? 24 : kHeight;
    for (auto _ : state) {
        // The pattern is anchored at (3,5), as the brush origin above.
        pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, x - 3, y - 5, 0, 0, x, y, w, h);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * w * h * 4);
}
BENCHMARK(BM_PixmanPatternFill)->Arg(0)->Arg(1)->ArgName("small");

void BM_PixmanIconOver(benchmark::State& state) {
    std::vector<std::uint32_t> screen(static_cast<size_t>(kWidth) * kHeight, 0xFFC0C0C0u);
    const int size = static_cast<int>(state.range(0));
    // The icon as premultiplied ARGB: transparent ring, opaque inside.
    std::vector<std::uint32_t> icon(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool inside = x >= 2 && y >= 2 && x < size - 2 && y < size - 2;
            icon[static_cast<size_t>(y * size + x)] =
                inside ? (0xFF000000u | static_cast<std::uint32_t>(x * 8) << 16 | static_cast<std::uint32_t>(y * 8) << 8 | 128)
                       : 0;
        }
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, screen.data(), kWidth * 4);
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, size, size, icon.data(), size * 4);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 100, 100, size, size);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
}
BENCHMARK(BM_PixmanIconOver)->Arg(16)->Arg(32);

#endif

}  // namespace

BENCHMARK_MAIN();
