// Lists and arrays: order, POSITION walks, inserts and removals, the arrays' grow rule, and collections
// handed to and changed by another of our modules.
#include <afxtempl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boundary_probe.h"

namespace {

template <class L>
std::vector<std::string> Forward(const L& list) {
    std::vector<std::string> items;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        items.push_back(static_cast<LPCSTR>(list.GetNext(pos)));
    return items;
}

template <class L>
std::vector<std::string> Backward(const L& list) {
    std::vector<std::string> items;
    for (POSITION pos = list.GetTailPosition(); pos;)
        items.push_back(static_cast<LPCSTR>(list.GetPrev(pos)));
    return items;
}

typedef std::vector<std::string> Strings;

TEST(StringListTest, KeepsOrderAndWalksBothWays) {
    CStringList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    list.AddTail("b");
    list.AddTail(CString("c"));
    list.AddHead("a");
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ(Strings({"a", "b", "c"}), Forward(list));
    EXPECT_EQ(Strings({"c", "b", "a"}), Backward(list));
    EXPECT_STREQ("a", list.GetHead());
    EXPECT_STREQ("c", list.GetTail());
    EXPECT_STREQ("b", list.GetAt(list.FindIndex(1)));
    EXPECT_EQ(nullptr, list.FindIndex(3));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
}

TEST(StringListTest, InsertsFindsAndRemovesAtPositions) {
    CStringList list;
    const POSITION b = list.AddTail("b");
    list.InsertBefore(b, "a");
    const POSITION d = list.InsertAfter(b, "d");
    list.InsertBefore(d, "c");
    list.InsertAfter(d, "e");
    EXPECT_EQ(Strings({"a", "b", "c", "d", "e"}), Forward(list));

    EXPECT_EQ(d, list.Find("d"));
    EXPECT_EQ(nullptr, list.Find("b", b)); // searching after b
    EXPECT_EQ(nullptr, list.Find("x"));
    list.AddTail("b");
    EXPECT_EQ(list.GetTailPosition(), list.Find("b", b));

    list.RemoveAt(d); // only d's position becomes invalid
    EXPECT_EQ(Strings({"a", "b", "c", "e", "b"}), Forward(list));
    list.SetAt(b, "B");
    EXPECT_STREQ("a", list.RemoveHead());
    EXPECT_STREQ("b", list.RemoveTail());
    EXPECT_EQ(Strings({"B", "c", "e"}), Forward(list));
    EXPECT_EQ(Strings({"e", "c", "B"}), Backward(list));
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetTailPosition());
}

TEST(StringListTest, AddsAnotherListOrItselfKeepingItsOrder) {
    CStringList list;
    list.AddTail("x");
    CStringList other;
    other.AddTail("1");
    other.AddTail("2");
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ(Strings({"1", "2", "x", "1", "2"}), Forward(list));
    list.AddTail(&list);
    EXPECT_EQ(10, list.GetCount());
}

TEST(StringRefListTest, TemplateListOfStringsBehavesLikeTheStringList) {
    CList<CString, CString&> list;
    CString a("a"), b("b"), c("c");
    list.AddTail(b);
    list.AddHead(a);
    const POSITION last = list.AddTail(c);
    EXPECT_EQ(Strings({"a", "b", "c"}), Forward(list));
    EXPECT_EQ(last, list.Find(c));
    list.GetAt(last) += "!";
    EXPECT_STREQ("c!", list.GetTail());
    EXPECT_STREQ("c", c); // the list holds copies
    list.RemoveAt(list.Find(b));
    EXPECT_EQ(Strings({"a", "c!"}), Forward(list));
}

TEST(StringRefListTest, ListsPassBetweenOurModules) {
    // The probe fills our list, we add to it and the probe's strings are freed here.
    auto* paths = new CList<CString, CString&>;
    CString mine("mine");
    paths->AddTail(mine);
    ProbeAppendPaths(paths, 3);
    EXPECT_EQ(Strings({"mine", "path0", "path1", "path2"}), Forward(*paths));
    delete paths;

    CStringList list;
    list.AddTail("a");
    list.AddTail("b");
    list.AddTail("c");
    EXPECT_STREQ("a|b|c", ProbeJoin(list));
    ProbeDropFirst(list);
    EXPECT_EQ(Strings({"b", "c"}), Forward(list));

    CStringArray* array = ProbeNewArray(4);
    ASSERT_EQ(4, array->GetSize());
    array->Add("4");
    EXPECT_STREQ("4", array->GetAt(4));
    EXPECT_STREQ("2", (*array)[2]);
    delete array;
}

TEST(PtrArrayTest, GrowsByAnEighthOfItsSizeClampedToFourAndAThousandTwentyFour) {
    CPtrArray array;
    EXPECT_EQ(nullptr, array.GetData());
    // The first element gets storage for exactly one; then each growth adds max(4, min(1024, size / 8)).
    std::vector<INT_PTR> growthAt; // sizes at which Add had to move the storage
    void* const* data = nullptr;
    for (INT_PTR i = 0; i < 3000; ++i) {
        array.Add(reinterpret_cast<void*>(i + 1));
        if (array.GetData() != data) {
            growthAt.push_back(array.GetSize());
            data = array.GetData();
        }
    }
    // Capacities: 1, 5, 9, 13, 17 (step 4 until size 32), 21, ... then step size/8.
    std::vector<INT_PTR> expected;
    INT_PTR capacity = 0;
    for (INT_PTR size = 1; size <= 3000; ++size) {
        if (size > capacity) {
            expected.push_back(size);
            if (capacity == 0) {
                capacity = 1;
            } else {
                INT_PTR step = (size - 1) / 8;
                step = step < 4 ? 4 : (step > 1024 ? 1024 : step);
                capacity += step;
            }
        }
    }
    EXPECT_EQ(expected, growthAt);
    EXPECT_EQ(1, growthAt[0]);
    EXPECT_EQ(2, growthAt[1]);
    EXPECT_EQ(6, growthAt[2]);
    for (INT_PTR i = 0; i < 3000; ++i)
        ASSERT_EQ(reinterpret_cast<void*>(i + 1), array[i]);
}

TEST(PtrArrayTest, GrowsByTheStepSetWithSetSize) {
    CPtrArray array;
    array.SetSize(0, 100);
    array.Add(nullptr);
    void* const* data = array.GetData();
    for (int i = 1; i < 100; ++i)
        array.Add(&array);
    EXPECT_EQ(data, array.GetData()); // room for 100 from the first growth
    array.Add(nullptr);
    EXPECT_NE(data, array.GetData());
    EXPECT_EQ(101, array.GetSize());
    EXPECT_EQ(100, array.GetUpperBound());
}

TEST(PtrArrayTest, SetSizeZeroesNewElementsAndRemoveAllEmpties) {
    CPtrArray array;
    array.SetSize(3);
    EXPECT_EQ(nullptr, array[2]);
    array.SetAtGrow(5, &array);
    EXPECT_EQ(6, array.GetSize());
    EXPECT_EQ(nullptr, array[4]);
    EXPECT_EQ(&array, array.GetAt(5));
    array.RemoveAll();
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(nullptr, array.GetData());
}

TEST(StringArrayTest, InsertsAndRemovesKeepingOrder) {
    CStringArray array;
    array.Add("a");
    array.Add("d");
    array.InsertAt(1, "b");
    array.InsertAt(2, "c");
    array.InsertAt(4, "e", 2);
    ASSERT_EQ(6, array.GetSize());
    const char* expected[] = {"a", "b", "c", "d", "e", "e"};
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(expected[i], array[i]) << i;
    array.RemoveAt(1, 2);
    ASSERT_EQ(4, array.GetSize());
    EXPECT_STREQ("d", array[1]);
    array.RemoveAt(3);
    array.SetAt(0, "A");
    array[1] += "!";
    EXPECT_STREQ("A", array.GetAt(0));
    EXPECT_STREQ("d!", array.GetAt(1));
    array.InsertAt(10, "far"); // past the end: grows with empty strings between
    EXPECT_EQ(11, array.GetSize());
    EXPECT_STREQ("", array[5]);

    CStringArray copy;
    copy.Copy(array);
    copy.Append(array);
    EXPECT_EQ(22, copy.GetSize());
    EXPECT_STREQ("far", copy[21]);
    copy.InsertAt(1, &array);
    EXPECT_EQ(33, copy.GetSize());
    EXPECT_STREQ("A", copy[1]);
    EXPECT_STREQ("d!", copy[2]);
}

TEST(DWordArrayTest, HoldsColours) {
    CDWordArray colours;
    colours.Add(RGB(1, 2, 3));
    colours.Add(RGB(4, 5, 6));
    EXPECT_EQ(2, colours.GetSize());
    EXPECT_EQ(static_cast<DWORD>(RGB(4, 5, 6)), colours[1]);
    colours.SetSize(4);
    EXPECT_EQ(0u, colours[3]);
    colours.RemoveAt(0);
    EXPECT_EQ(static_cast<DWORD>(RGB(4, 5, 6)), colours.GetAt(0));
}

} // namespace
