// CString: construction, assignment, access, buffers, formatting and passing between modules.
#include <afx.h>

#include <gtest/gtest.h>

#include <string>

#include "boundary_probe.h"

namespace {

TEST(CStringTest, ConstructsFromNarrowWideRepeatedAndPartialText) {
    EXPECT_STREQ("", static_cast<LPCSTR>(CString()));
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_STREQ("", static_cast<LPCSTR>(CString(static_cast<LPCSTR>(nullptr))));
    EXPECT_STREQ("camera", static_cast<LPCSTR>(CString("camera")));
    EXPECT_STREQ("USB Camera", static_cast<LPCSTR>(CString(L"USB Camera")));
    EXPECT_STREQ("", static_cast<LPCSTR>(CString(static_cast<LPCWSTR>(nullptr))));
    EXPECT_STREQ("xxx", static_cast<LPCSTR>(CString('x', 3)));
    EXPECT_STREQ("", static_cast<LPCSTR>(CString('x', 0)));
    EXPECT_STREQ("cam", static_cast<LPCSTR>(CString("camera", 3)));
    // A length beyond the text stops at its end.
    EXPECT_STREQ("ab", static_cast<LPCSTR>(CString("ab", 10)));
    EXPECT_EQ(6, CString("camera").GetLength());
}

TEST(CStringTest, CopiesAreIndependent) {
    CString a("first");
    CString b(a);
    b.SetAt(0, 'F');
    EXPECT_STREQ("first", static_cast<LPCSTR>(a));
    EXPECT_STREQ("First", static_cast<LPCSTR>(b));
    a = b;
    a += "!";
    EXPECT_STREQ("First", static_cast<LPCSTR>(b));
    EXPECT_STREQ("First!", static_cast<LPCSTR>(a));
    a = a; // self-assignment keeps the text
    EXPECT_STREQ("First!", static_cast<LPCSTR>(a));
    a = 'z';
    EXPECT_STREQ("z", static_cast<LPCSTR>(a));
    a = L"wide";
    EXPECT_STREQ("wide", static_cast<LPCSTR>(a));
}

TEST(CStringTest, AssigningOrAppendingAPartOfItselfIsSafe) {
    CString s("0123456789");
    s = static_cast<LPCSTR>(s) + 4;
    EXPECT_STREQ("456789", static_cast<LPCSTR>(s));
    s += static_cast<LPCSTR>(s);
    EXPECT_STREQ("456789456789", static_cast<LPCSTR>(s));
    s += s;
    EXPECT_EQ(24, s.GetLength());
}

TEST(CStringTest, ConcatenatesAndCompares) {
    const CString name("Cam");
    EXPECT_STREQ("Cam 1", static_cast<LPCSTR>(name + " 1"));
    EXPECT_STREQ("My Cam", static_cast<LPCSTR>("My " + name));
    EXPECT_STREQ("Cam!", static_cast<LPCSTR>(name + '!'));
    EXPECT_STREQ("[Cam", static_cast<LPCSTR>('[' + name));
    EXPECT_STREQ("CamCam", static_cast<LPCSTR>(name + name));
    CString wide("a");
    wide += L"bc";
    EXPECT_STREQ("abc", static_cast<LPCSTR>(wide));

    EXPECT_TRUE(name == "Cam");
    EXPECT_TRUE("Cam" == name);
    EXPECT_FALSE(name == "cam");
    EXPECT_TRUE(name != "cam");
    EXPECT_TRUE(CString("a") < CString("b"));
    EXPECT_TRUE(CString("b") > CString("a"));
    EXPECT_TRUE(CString("a") <= CString("a"));
    EXPECT_TRUE(CString("a") >= CString("a"));
    EXPECT_LT(name.Compare("Dam"), 0);
    EXPECT_EQ(0, name.Compare("Cam"));
    EXPECT_EQ(0, name.CompareNoCase("cAM"));
    EXPECT_NE(0, name.CompareNoCase("cAMx"));
    EXPECT_GT(name.Compare(nullptr), 0);
}

TEST(CStringTest, CharacterAccessOutsideTheTextIsHarmless) {
    CString s("abc");
    EXPECT_EQ('b', s[1]);
    EXPECT_EQ('c', s.GetAt(2));
    EXPECT_EQ(0, s.GetAt(3));
    EXPECT_EQ(0, s.GetAt(-1));
    s.SetAt(5, 'x');
    s.SetAt(-1, 'x');
    EXPECT_STREQ("abc", static_cast<LPCSTR>(s));
}

TEST(CStringTest, GetBufferAndReleaseBufferSetTheLength) {
    CString s;
    char* buffer = s.GetBuffer(32);
    ASSERT_NE(nullptr, buffer);
    lstrcpyA(buffer, "written by an API");
    s.ReleaseBuffer();
    EXPECT_EQ(17, s.GetLength());
    EXPECT_STREQ("written by an API", static_cast<LPCSTR>(s));

    buffer = s.GetBuffer(4); // keeps the text, never shrinks
    EXPECT_STREQ("written by an API", buffer);
    s.ReleaseBuffer(7);
    EXPECT_STREQ("written", static_cast<LPCSTR>(s));

    buffer = s.GetBufferSetLength(3);
    EXPECT_EQ(3, s.GetLength());
    buffer[0] = 'W';
    s.ReleaseBuffer(3);
    EXPECT_STREQ("Wri", static_cast<LPCSTR>(s));

    // A new length beyond the buffer is clamped to it.
    CString t;
    t.GetBuffer(5);
    t.ReleaseBuffer(500);
    EXPECT_LE(t.GetLength(), 10);

    // An empty string still hands out a writable buffer.
    CString e;
    char* one = e.GetBuffer();
    ASSERT_NE(nullptr, one);
    one[0] = 0;
    e.ReleaseBuffer();
    EXPECT_TRUE(e.IsEmpty());
}

TEST(CStringTest, FormatsLikePrintfAtAnyLength) {
    CString s;
    s.Format("CLiveCapture,Err code: %d,Hex: 0x%.8x", -2147467259, 0x80004005u);
    EXPECT_STREQ("CLiveCapture,Err code: -2147467259,Hex: 0x80004005", static_cast<LPCSTR>(s));
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
    const std::string big(5000, 'q');
    s.Format("<%s>", big.c_str());
    EXPECT_EQ(5002, s.GetLength());
    s.AppendFormat(" %d%%", 50);
    EXPECT_EQ(std::string("<") + big + "> 50%", static_cast<LPCSTR>(s));
    // Formatting from its own text is allowed.
    CString self("abc");
    self.Format("%s-%s", static_cast<LPCSTR>(self), static_cast<LPCSTR>(self));
    EXPECT_STREQ("abc-abc", static_cast<LPCSTR>(self));
}

TEST(CStringTest, PassesByValueAndReferenceThroughAnotherModule) {
    const CString greeting = ProbeGreeting(CString("camera"));
    EXPECT_STREQ("Hello, camera", static_cast<LPCSTR>(greeting));

    CString grown("x");
    ProbeAppendInPlace(grown, 1000); // the other module grows (reallocates) our string
    EXPECT_EQ(1001, grown.GetLength());
    EXPECT_EQ('#', grown[1000]);

    {
        CString temporary("kept across the boundary");
        ProbeKeep(temporary);
    }
    EXPECT_STREQ("kept across the boundary", static_cast<LPCSTR>(ProbeKept()));
    ProbeForget();
    EXPECT_TRUE(ProbeKept().IsEmpty());
}

} // namespace
