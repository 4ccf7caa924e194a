// AfxRegisterWndClass: window classes made on demand from a style, cursor, brush and icon.
#include <afxwin.h>

#include <mutex>
#include <set>
#include <vela/WideFormat.h>

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    static std::mutex lock;
    static std::set<std::u16string>* names = new std::set<std::u16string>;  // handed-out names stay valid

    HINSTANCE hInst = AfxGetInstanceHandle();
    std::u16string name =
        vela::FormatWideArgs(u"Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInst), nClassStyle, static_cast<void*>(hCursor),
                             static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    std::lock_guard<std::mutex> guard(lock);
    auto [it, inserted] = names->insert(name);
    LPCTSTR pszName = it->c_str();
    WNDCLASSW wc{};
    if (::GetClassInfoW(hInst, pszName, &wc)) {
        return pszName;  // registered before (by us, or it survived an earlier registration)
    }
    wc.style = nClassStyle;
    wc.lpfnWndProc = &::DefWindowProcW;  // the object's procedure replaces it when a window is made
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = pszName;
    if (!::RegisterClassW(&wc)) {
        names->erase(it);
        return nullptr;
    }
    return pszName;
}
