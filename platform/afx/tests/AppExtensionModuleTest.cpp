// Resource look-up along the chain of extension libraries: the application first, then a
// loaded extension library, and nothing of the library once it is unloaded.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <vela/Modules.h>

#include "WndTestSupport.h"
#include "data/AfxTestsResource.h"

namespace {

LPCWSTR StringBlock(UINT nID) { return MAKEINTRESOURCEW((nID >> 4) + 1); }

CString LoadFrom(HINSTANCE hInst, UINT nID) {
    WCHAR buffer[64] = {};
    int nLen = ::LoadStringW(hInst, nID, buffer, 64);
    return CString(buffer, nLen > 0 ? nLen : 0);
}

}  // namespace

TEST(AppExtensionModuleTest, ChainResolvesWhatOnlyTheLibraryHasAndTheApplicationComesFirst) {
    HINSTANCE hApp = AfxGetResourceHandle();
    // Before the library is loaded, a look-up that finds nothing falls back to the application.
    EXPECT_EQ(AfxFindResourceHandle(StringBlock(IDS_EXTENSION_ONLY), RT_STRING), hApp);

    HMODULE hLibrary = ::LoadLibraryW(u"VelaAfxExtensionProbe");
    ASSERT_NE(hLibrary, nullptr);
    auto moduleOf = vela::ExportAs<HMODULE()>(::GetProcAddressW(hLibrary, u"ExtensionProbeModule"));
    ASSERT_NE(moduleOf, nullptr);
    HMODULE hExtension = moduleOf();
    ASSERT_NE(hExtension, nullptr);
    EXPECT_NE(hExtension, hApp);

    ::SetLastError(0xBEEF);
    HINSTANCE hFound = AfxFindResourceHandle(StringBlock(IDS_EXTENSION_ONLY), RT_STRING);
    EXPECT_EQ(hFound, hExtension);
    EXPECT_EQ(::GetLastError(), 0xBEEFu);  // the misses on the way are not the caller's errors
    EXPECT_EQ(std::u16string(LoadFrom(hFound, IDS_EXTENSION_ONLY)), u"only in the extension");

    hFound = AfxFindResourceHandle(StringBlock(IDS_SHARED), RT_STRING);
    EXPECT_EQ(std::u16string(LoadFrom(hFound, IDS_SHARED)), u"application");

    // A dialog template only the library has is found by name, as CDialog does it.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_EXTENSION_ONLY), RT_DIALOG), hExtension);
    CDialog dlg(IDD_EXTENSION_ONLY);
    ASSERT_TRUE(dlg.Create(IDD_EXTENSION_ONLY));
    CString note;
    dlg.GetDlgItemText(IDC_NOTE, note);
    EXPECT_EQ(std::u16string(note), u"from the library");
    dlg.DestroyWindow();

    ASSERT_TRUE(::FreeLibrary(hLibrary));
    EXPECT_EQ(AfxFindResourceHandle(StringBlock(IDS_EXTENSION_ONLY), RT_STRING), hApp);
}

TEST(AppExtensionModuleTest, TermRemovesEveryLinkOfTheModuleAndOnlyThose) {
    HMODULE hSelf = ::GetModuleHandleW(nullptr);
    AFX_EXTENSION_MODULE first = {FALSE, nullptr, nullptr, nullptr, nullptr};
    AFX_EXTENSION_MODULE second = {FALSE, nullptr, nullptr, nullptr, nullptr};
    EXPECT_FALSE(AfxInitExtensionModule(first, nullptr));
    ASSERT_TRUE(AfxInitExtensionModule(first, hSelf));
    // A made-up handle stands for a second library; the chain only compares handles.
    ASSERT_TRUE(AfxInitExtensionModule(second, reinterpret_cast<HMODULE>(static_cast<UINT_PTR>(0x1000))));
    new CDynLinkLibrary(first);
    new CDynLinkLibrary(second);
    new CDynLinkLibrary(first);

    auto countLinks = [](HMODULE hModule) {
        int n = 0;
        for (CDynLinkLibrary* p = AfxGetModuleState()->m_pFirstLibrary; p != nullptr; p = p->m_pNextDLL) {
            if (p->m_hModule == hModule) ++n;
        }
        return n;
    };
    EXPECT_EQ(countLinks(hSelf), 2);
    AfxTermExtensionModule(first);
    EXPECT_EQ(countLinks(hSelf), 0);
    EXPECT_EQ(countLinks(second.hModule), 1);
    EXPECT_FALSE(first.bInitialized);
    AfxTermExtensionModule(second);
    EXPECT_EQ(countLinks(second.hModule), 0);
}
