// Run-time classes, dynamic creation, strings from the resource handle and the module handles.
#include <afxwin.h>

#include <gtest/gtest.h>

#include "boundary_probe.h"
#include "qeltest/message_box_hook.h"

namespace {

class CAnimal : public CObject {
    DECLARE_DYNAMIC(CAnimal)
};
IMPLEMENT_DYNAMIC(CAnimal, CObject)

class CCat : public CAnimal {
    DECLARE_DYNCREATE(CCat)
public:
    int lives = 9;
};
IMPLEMENT_DYNCREATE(CCat, CAnimal)

TEST(RuntimeClassTest, NamesSizesAndAncestry) {
    CCat cat;
    const CRuntimeClass* cls = cat.GetRuntimeClass();
    EXPECT_STREQ("CCat", cls->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CCat)), cls->m_nObjectSize);
    EXPECT_EQ(RUNTIME_CLASS(CCat), cls);
    EXPECT_TRUE(cat.IsKindOf(RUNTIME_CLASS(CAnimal)));
    EXPECT_TRUE(cat.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(cat.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_EQ(RUNTIME_CLASS(CAnimal), cls->GetBaseClass());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->GetBaseClass());
    EXPECT_STREQ("CObject", RUNTIME_CLASS(CObject)->m_lpszClassName);

    // The layer's own classes answer with their names too.
    CStringList list;
    EXPECT_STREQ("CStringList", list.GetRuntimeClass()->m_lpszClassName);
    CWnd wnd;
    EXPECT_TRUE(wnd.IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    CPaintDC* none = nullptr;
    (void)none;
    EXPECT_TRUE(RUNTIME_CLASS(CPaintDC)->IsDerivedFrom(RUNTIME_CLASS(CDC)));
}

TEST(RuntimeClassTest, CreatesDynCreateClassesOnly) {
    CObject* object = RUNTIME_CLASS(CCat)->CreateObject();
    ASSERT_NE(nullptr, object);
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CCat)));
    EXPECT_EQ(9, static_cast<CCat*>(object)->lives);
    delete object;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CAnimal)->CreateObject());

    CObject* wnd = RUNTIME_CLASS(CWnd)->CreateObject();
    ASSERT_NE(nullptr, wnd);
    EXPECT_STREQ("CWnd", wnd->GetRuntimeClass()->m_lpszClassName);
    delete wnd;
}

// Restores the resource handle a test changed.
class ResourceHandleTest : public ::testing::Test {
protected:
    void TearDown() override { AfxSetResourceHandle(nullptr); }
};

TEST_F(ResourceHandleTest, InstanceAndResourceHandlesDefaultToTheProgram) {
    EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetInstanceHandle());
    EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetResourceHandle());
    AfxSetResourceHandle(ProbeModule());
    EXPECT_EQ(ProbeModule(), AfxGetResourceHandle());
    EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetInstanceHandle());
}

TEST_F(ResourceHandleTest, LoadStringReadsFromTheResourceHandle) {
    CString text;
    ASSERT_TRUE(text.LoadString(101));
    EXPECT_STREQ("program text", text);
    AfxSetResourceHandle(ProbeModule());
    ASSERT_TRUE(text.LoadString(101));
    EXPECT_STREQ("probe text", text);
    EXPECT_FALSE(text.LoadString(102)); // absent there: the string stays
    EXPECT_STREQ("probe text", text);
    EXPECT_STREQ("probe text", CString(MAKEINTRESOURCEA(101)));
}

TEST_F(ResourceHandleTest, LoadStringTakesLongTexts) {
    CString text;
    ASSERT_TRUE(text.LoadString(103));
    EXPECT_EQ(300, text.GetLength());
    EXPECT_STREQ("0123456789", text.Right(10));
}

TEST_F(ResourceHandleTest, MessageBoxByStringId) {
    qeltest::ScopedMessageBoxHook hook(IDRETRY);
    EXPECT_EQ(IDRETRY, AfxMessageBox(102, MB_RETRYCANCEL | MB_ICONSTOP));
    const auto shown = hook.Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Cannot open the camera", shown[0].text);
    EXPECT_EQ("qelmfc_test", shown[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_RETRYCANCEL | MB_ICONSTOP), shown[0].type);
}

TEST(AppStateTest, MainWindowAndAppAreNullWithoutAnApplication) {
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(nullptr, AfxGetThread());
    EXPECT_EQ(nullptr, AfxGetMainWnd());
}

TEST(AppStateTest, WaitCursorWorksWithoutAnApplicationAndNests) {
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
    SetCursor(arrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(wait, GetCursor());
        {
            CWaitCursor inner;
            SetCursor(arrow); // a dialog changed it: Restore shows the wait cursor again
            inner.Restore();
            EXPECT_EQ(wait, GetCursor());
        }
        EXPECT_EQ(wait, GetCursor());
        CCmdTarget target;
        target.BeginWaitCursor();
        target.EndWaitCursor();
        EXPECT_EQ(wait, GetCursor());
    }
    EXPECT_EQ(arrow, GetCursor());
}

} // namespace
