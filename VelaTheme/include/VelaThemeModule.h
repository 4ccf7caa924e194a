// The library's table of GDI objects: the pattern brushes of the button tiles and the arrow
// icons, made once when the library is loaded and shared by every themed button of the process.
#pragma once

#include <afxwin.h>

// Sizes of the table.
#define VELATHEME_COLORS 10       // colour themes
#define VELATHEME_BRUSHSTATES 3   // 0 normal, 1 focused, 2 pressed
#define VELATHEME_PIECES 9        // tiles of a 3 x 3 grid, row by row
#define VELATHEME_DIRECTIONS 4    // 0 up, 1 down, 2 left, 3 right
#define VELATHEME_ICONSTATES 3    // 0 normal, 1 pressed, 2 disabled

// Resource ids of the tiles and icons.
#define IDB_VELATHEME_DISABLED 6000  // + piece
#define IDB_VELATHEME_TILE 6010      // + 100 theme + 10 state + piece
#define IDI_VELATHEME_ARROW 7000     // + 10 direction + state; 12 x 12
#define IDI_VELATHEME_PAGEARROW 7100 // + 10 direction + state; 10 x 18 (up, down), 18 x 10 (left, right)

class CVelaThemeModule : public AFX_EXTENSION_MODULE {
public:
    CVelaThemeModule();
    virtual ~CVelaThemeModule();
    CVelaThemeModule(const CVelaThemeModule&) = delete;
    CVelaThemeModule& operator=(const CVelaThemeModule&) = delete;

    // Makes every brush and icon from the resources of hInstResource. The tile bitmaps are deleted
    // as soon as their brushes exist; a slot whose resource cannot be loaded stays null.
    void LoadTable(HINSTANCE hInstResource);
    // Deletes every brush and destroys every icon made, leaving all slots null.
    void ReleaseTable();

    HBRUSH m_hThemeBrush[VELATHEME_COLORS][VELATHEME_BRUSHSTATES][VELATHEME_PIECES];
    HBRUSH m_hDisabledBrush[VELATHEME_PIECES];
    HICON m_hArrowIcon[VELATHEME_DIRECTIONS][VELATHEME_ICONSTATES];
    HICON m_hPageArrowIcon[VELATHEME_DIRECTIONS][VELATHEME_ICONSTATES];
};

// The library's own table: its module and resource handles, and the GDI objects, from the
// library's load to its unload.
extern CVelaThemeModule VelaThemeDLL;
