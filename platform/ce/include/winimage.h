// Icons and bitmaps loaded from module resources (LoadImage, LoadIcon, LoadBitmap).
#pragma once

#include "windef.h"
#include "winerror.h"

// Kinds of image LoadImage loads.
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define IMAGE_ENHMETAFILE 3

// Load flags of LoadImage and CreateIconFromResourceEx.
#define LR_DEFAULTCOLOR 0x00000000
#define LR_MONOCHROME 0x00000001
#define LR_COLOR 0x00000002
#define LR_COPYRETURNORG 0x00000004
#define LR_COPYDELETEORG 0x00000008
#define LR_LOADFROMFILE 0x00000010
#define LR_LOADTRANSPARENT 0x00000020
#define LR_DEFAULTSIZE 0x00000040
#define LR_VGACOLOR 0x00000080
#define LR_LOADMAP3DCOLORS 0x00001000
#define LR_CREATEDIBSECTION 0x00002000
#define LR_COPYFROMRESOURCE 0x00004000
#define LR_SHARED 0x00008000

// Loads an icon or bitmap resource of hInst. An icon is made from the group's image that best fits
// cx x cy (0: the system's icon size SM_CXICON x SM_CYICON) and stretched to that size when no
// image has it; a bitmap keeps its own size when cx/cy are 0. An LR_SHARED image belongs to the
// module and is not destroyed by the caller.
HANDLE LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad);
#define LoadImage LoadImageW

// The icon at the system's icon size (SM_CXICON x SM_CYICON), shared with the module.
HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);
#define LoadIcon LoadIconW

HBITMAP LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName);
#define LoadBitmap LoadBitmapW

// Builds an icon from one RT_ICON resource (BITMAPINFOHEADER + XOR + AND bits, or a PNG image).
// dwVer must be 0x00030000.
HICON CreateIconFromResourceEx(BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer, int cxDesired,
                               int cyDesired, UINT Flags);
HICON CreateIconFromResource(BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer);

// Chooses, in an RT_GROUP_ICON directory, the image that best fits the size asked for (0: the
// system's icon size with LR_DEFAULTSIZE) and returns its RT_ICON id, or 0.
int LookupIconIdFromDirectoryEx(BYTE* presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT Flags);
int LookupIconIdFromDirectory(BYTE* presbits, BOOL fIcon);

// The system's icons for LoadIcon(NULL, ...).
#define IDI_APPLICATION MAKEINTRESOURCEW(32512)
#define IDI_HAND MAKEINTRESOURCEW(32513)
#define IDI_QUESTION MAKEINTRESOURCEW(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEW(32515)
#define IDI_ASTERISK MAKEINTRESOURCEW(32516)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK
