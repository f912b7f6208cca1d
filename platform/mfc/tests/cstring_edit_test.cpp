// CString: extracting, searching and editing.
#include <afx.h>

#include <gtest/gtest.h>

namespace {

TEST(CStringEditTest, LeftMidRightClampTheirArguments) {
    const CString s("C:\\video\\clip.avi");
    EXPECT_STREQ("C:", static_cast<LPCSTR>(s.Left(2)));
    EXPECT_STREQ("", static_cast<LPCSTR>(s.Left(-1)));
    EXPECT_STREQ(static_cast<LPCSTR>(s), static_cast<LPCSTR>(s.Left(100)));
    EXPECT_STREQ("avi", static_cast<LPCSTR>(s.Right(3)));
    EXPECT_STREQ(static_cast<LPCSTR>(s), static_cast<LPCSTR>(s.Right(100)));
    EXPECT_STREQ("", static_cast<LPCSTR>(s.Right(-5)));
    EXPECT_STREQ("video", static_cast<LPCSTR>(s.Mid(3, 5)));
    EXPECT_STREQ("clip.avi", static_cast<LPCSTR>(s.Mid(9)));
    EXPECT_STREQ("", static_cast<LPCSTR>(s.Mid(100)));
    EXPECT_STREQ("C:\\", static_cast<LPCSTR>(s.Mid(-4, 3)));
    EXPECT_STREQ("avi", static_cast<LPCSTR>(s.Mid(14, 100)));
    EXPECT_STREQ("C:", static_cast<LPCSTR>(s.SpanExcluding("\\")));
    EXPECT_STREQ("C", static_cast<LPCSTR>(s.SpanIncluding("ABC")));
}

TEST(CStringEditTest, FindsCharactersAndSubstrings) {
    const CString s("a.b.c");
    EXPECT_EQ(1, s.Find('.'));
    EXPECT_EQ(3, s.Find('.', 2));
    EXPECT_EQ(-1, s.Find('.', 4));
    EXPECT_EQ(-1, s.Find('.', 99));
    EXPECT_EQ(-1, s.Find('.', -1));
    EXPECT_EQ(2, s.Find("b.c"));
    EXPECT_EQ(-1, s.Find("b.c", 3));
    EXPECT_EQ(-1, s.Find(static_cast<LPCSTR>(nullptr)));
    EXPECT_EQ(3, s.ReverseFind('.'));
    EXPECT_EQ(-1, s.ReverseFind('x'));
    EXPECT_EQ(1, s.FindOneOf(".,"));
    EXPECT_EQ(-1, s.FindOneOf("xyz"));
}

TEST(CStringEditTest, ChangesCaseAndOrder) {
    CString s("Mixed Case 123");
    EXPECT_STREQ("MIXED CASE 123", static_cast<LPCSTR>(s.MakeUpper()));
    EXPECT_STREQ("mixed case 123", static_cast<LPCSTR>(s.MakeLower()));
    EXPECT_STREQ("321 esac dexim", static_cast<LPCSTR>(s.MakeReverse()));
    CString e;
    EXPECT_TRUE(e.MakeUpper().IsEmpty());
}

TEST(CStringEditTest, ReplacesRemovesInsertsAndDeletes) {
    CString s("a-b-c");
    EXPECT_EQ(2, s.Replace('-', '+'));
    EXPECT_STREQ("a+b+c", static_cast<LPCSTR>(s));
    EXPECT_EQ(2, s.Replace("+", "<->"));
    EXPECT_STREQ("a<->b<->c", static_cast<LPCSTR>(s));
    EXPECT_EQ(2, s.Replace("<->", ""));
    EXPECT_STREQ("abc", static_cast<LPCSTR>(s));
    EXPECT_EQ(0, s.Replace("", "x"));
    EXPECT_EQ(0, s.Replace("zz", "x"));

    CString r("banana");
    EXPECT_EQ(3, r.Remove('a'));
    EXPECT_STREQ("bnn", static_cast<LPCSTR>(r));

    CString i("ac");
    EXPECT_EQ(3, i.Insert(1, 'b'));
    EXPECT_EQ(6, i.Insert(99, "def"));
    EXPECT_EQ(7, i.Insert(-3, "_"));
    EXPECT_STREQ("_abcdef", static_cast<LPCSTR>(i));

    EXPECT_EQ(5, i.Delete(0, 2));
    EXPECT_STREQ("bcdef", static_cast<LPCSTR>(i));
    EXPECT_EQ(2, i.Delete(2, 100));
    EXPECT_STREQ("bc", static_cast<LPCSTR>(i));
    EXPECT_EQ(2, i.Delete(5));
    EXPECT_EQ(2, i.Delete(0, 0));
}

TEST(CStringEditTest, TrimsWhitespaceOrGivenCharacters) {
    CString s("  \t name \r\n");
    EXPECT_STREQ("name", static_cast<LPCSTR>(s.Trim()));
    CString q("\"quoted\"");
    EXPECT_STREQ("quoted", static_cast<LPCSTR>(q.Trim('"')));
    CString l("xxabcxx");
    EXPECT_STREQ("abcxx", static_cast<LPCSTR>(CString(l).TrimLeft('x')));
    EXPECT_STREQ("xxabc", static_cast<LPCSTR>(CString(l).TrimRight("x")));
    CString all("    ");
    EXPECT_TRUE(all.Trim().IsEmpty());
}

} // namespace
