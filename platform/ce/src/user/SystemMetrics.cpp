// System metrics of the terminal's screen and its window frames.
#include <windows.h>

#include <vela/Screen.h>

int GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN: return vela::screen::Width();
    case SM_CYSCREEN: return vela::screen::Height();
    case SM_CYFULLSCREEN: return vela::screen::Height() - GetSystemMetrics(SM_CYCAPTION);
    case SM_CYCAPTION: return 20;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 13;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 20;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 8;  // a stylus lands less precisely than a mouse
    case SM_CMONITORS: return 1;
    case SM_DEBUG: return 0;
    default: return 0;
  }
}

UINT GetDoubleClickTime() { return 500; }
