#include "framework/collections.h"

#include <gtest/gtest.h>

namespace {

struct Record {
    int key = 0;
    CString alias;
};

}  // namespace

TEST(CArrayGrowth, AddInsertRemoveKeepOrder)
{
    CArray<int, int> a;
    EXPECT_EQ(0, a.Add(10));
    EXPECT_EQ(1, a.Add(30));
    a.InsertAt(1, 20);
    a.InsertAt(0, 5, 2);
    ASSERT_EQ(5, a.GetSize());
    EXPECT_EQ(5, a[0]);
    EXPECT_EQ(5, a[1]);
    EXPECT_EQ(10, a[2]);
    EXPECT_EQ(20, a[3]);
    EXPECT_EQ(30, a[4]);
    a.RemoveAt(0, 2);
    EXPECT_EQ(3, a.GetSize());
    a.RemoveAt(1);
    EXPECT_EQ(10, a[0]);
    EXPECT_EQ(30, a[1]);
    a.RemoveAll();
    EXPECT_EQ(0, a.GetSize());
}

TEST(CArrayGrowth, InsertPastTheEndFills)
{
    CArray<int, int> a;
    a.InsertAt(3, 7);
    ASSERT_EQ(4, a.GetSize());
    EXPECT_EQ(0, a[0]);
    EXPECT_EQ(7, a[3]);
}

TEST(CArrayGrowth, SetSizeValueInitialisesAndTruncates)
{
    CArray<Record, Record&> a;
    a.SetSize(3);
    EXPECT_EQ(0, a[2].key);
    EXPECT_TRUE(a[2].alias.IsEmpty());
    a[1].key = 4;
    a.SetSize(2);
    EXPECT_EQ(2, a.GetSize());
    EXPECT_EQ(4, a[1].key);
    a.FreeExtra();
    EXPECT_EQ(4, a.GetAt(1).key);
    EXPECT_THROW(a.SetSize(-1), CInvalidArgException*);
}

TEST(CArrayGrowth, AddingAnElementOfTheSameArray)
{
    CStringArray a;
    a.Add(L"first");
    for (int i = 0; i < 100; ++i)
        a.Add(a[0]);  // the argument refers into storage that may move
    EXPECT_EQ(101, a.GetSize());
    EXPECT_STREQ(L"first", a[100]);
    a.InsertAt(0, a[100]);
    EXPECT_STREQ(L"first", a[0]);
}

TEST(CArrayBounds, OutsideIndexesThrowInvalidArgument)
{
    CArray<int, int> a;
    EXPECT_THROW(a.GetAt(0), CInvalidArgException*);
    a.Add(1);
    EXPECT_THROW(a[1], CInvalidArgException*);
    EXPECT_THROW(a[-1], CInvalidArgException*);
    EXPECT_THROW(a.RemoveAt(1), CInvalidArgException*);
    EXPECT_THROW(a.RemoveAt(0, 2), CInvalidArgException*);
    EXPECT_THROW(a.RemoveAt(-1), CInvalidArgException*);
    EXPECT_THROW(a.InsertAt(-1, 0), CInvalidArgException*);
    EXPECT_EQ(1, a.GetSize());
    EXPECT_EQ(1, a[0]);
}

TEST(CArrayBounds, ConstAccessChecksToo)
{
    CArray<DWORD, DWORD> a;
    a.Add(0xFFFFFFFFu);
    const CArray<DWORD, DWORD>& c = a;
    EXPECT_EQ(0xFFFFFFFFu, c[0]);
    EXPECT_THROW(c[1], CInvalidArgException*);
    EXPECT_THROW(c.GetAt(1), CInvalidArgException*);
}

TEST(CArrayMemory, ImpossibleSizeRaisesMemoryException)
{
    CArray<Record, Record&> a;
    a.SetSize(1);
    EXPECT_THROW(a.SetSize(INTPTR_MAX / 2), CMemoryException*);
    EXPECT_EQ(1, a.GetSize());
}
