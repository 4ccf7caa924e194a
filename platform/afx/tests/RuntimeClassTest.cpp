// Run-time classes: derivation tests, creation by name as the framework creates its
// application classes, and what a class that cannot be created answers.
#include <afxwin.h>
#include <gtest/gtest.h>

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
public:
    int m_nRadius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CNamedApp : public CWinApp {
    DECLARE_DYNCREATE(CNamedApp)
public:
    CNamedApp() : CWinApp(u"named") {}
};
IMPLEMENT_DYNCREATE(CNamedApp, CWinApp)

}  // namespace

TEST(RuntimeClassTest, KindOfFollowsTheBaseChainAndNothingElse) {
    CCircle circle;
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CWnd)));

    CShape& shape = circle;
    EXPECT_EQ(shape.GetRuntimeClass(), RUNTIME_CLASS(CCircle));  // the dynamic type, through a base
    EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)));
    EXPECT_TRUE(RUNTIME_CLASS(CDialog)->IsDerivedFrom(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_STREQ(RUNTIME_CLASS(CCircle)->m_lpszClassName, "CCircle");
    EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
    EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_wSchema, 0xFFFFu);

    CObject* pShape = &shape;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CCircle, pShape), &circle);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CWnd, pShape), nullptr);
}

TEST(RuntimeClassTest, CreatesByNameInNarrowAndWideText) {
    CObject* pObject = CRuntimeClass::CreateObject(u"CCircle");
    ASSERT_NE(pObject, nullptr);
    ASSERT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_EQ(static_cast<CCircle*>(pObject)->m_nRadius, 7);  // constructed, not just allocated
    delete pObject;

    EXPECT_EQ(CRuntimeClass::FromName("CCircle"), RUNTIME_CLASS(CCircle));
    EXPECT_EQ(CRuntimeClass::FromName(u"CWnd"), RUNTIME_CLASS(CWnd));  // the library's own classes too

    // An application class found by name is constructed as an application: it becomes the
    // current one until it goes.
    CObject* pApp = CRuntimeClass::FromName(u"CNamedApp")->CreateObject();
    ASSERT_NE(pApp, nullptr);
    EXPECT_EQ(AfxGetApp(), pApp);
    EXPECT_STREQ(reinterpret_cast<const char*>(AfxGetApp()->m_pszAppName),
                 reinterpret_cast<const char*>(u"named"));
    delete pApp;
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(RuntimeClassTest, UnknownNamesAndNonCreatableClassesGiveNull) {
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(static_cast<LPCSTR>(nullptr)), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("ccircle"), nullptr);  // names are C++ identifiers: case counts
    EXPECT_EQ(CRuntimeClass::CreateObject(u"CShape"), nullptr);  // DYNAMIC only
    EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);
}
