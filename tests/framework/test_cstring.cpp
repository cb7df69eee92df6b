#include "framework/cstring.h"
#include "test_strings.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <wchar.h>

namespace {

CString Formatted(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString s;
    s.FormatV(format, args);
    va_end(args);
    return s;
}

}  // namespace

TEST(CStringConstruction, FromWideCharAndRepeat)
{
    EXPECT_STREQ(L"abc", CString(L"abc"));
    EXPECT_STREQ(L"", CString(static_cast<LPCWSTR>(nullptr)));
    EXPECT_STREQ(L"xxx", CString(L'x', 3));
    EXPECT_STREQ(L"", CString(L'x', 0));
    EXPECT_STREQ(L"ab", CString(L"abcdef", 2));
    EXPECT_THROW(CString(L'x', -1), CInvalidArgException*);
}

TEST(CStringConstruction, EmbeddedNullKeepsLength)
{
    CString s(L"a\0b", 3);
    EXPECT_EQ(3, s.GetLength());
    EXPECT_EQ(L'b', s[2]);
}

TEST(CStringConstruction, CopiesAreIndependent)
{
    CString a(L"one");
    CString b(a);
    b += L'!';
    EXPECT_STREQ(L"one", a);
    EXPECT_STREQ(L"one!", b);
    CString c(static_cast<CString&&>(b));
    EXPECT_STREQ(L"one!", c);
    EXPECT_TRUE(b.IsEmpty());
}

TEST(CStringAssignment, SelfAndOverlappingSources)
{
    CString s(L"hello");
    s = s;
    EXPECT_STREQ(L"hello", s);
    s = s.GetString() + 2;  // the source lies inside the string's own buffer
    EXPECT_STREQ(L"llo", s);
    s += s;
    EXPECT_STREQ(L"llollo", s);
    s += s.GetString() + 4;
    EXPECT_STREQ(L"llollolo", s);
    // Large enough that growing moves the buffer and gives the old one back to the system.
    CString big(L'x', 1 << 20);
    big += big;
    big.Format(L"%s%s", big.GetString(), big.GetString());
    EXPECT_EQ(4 << 20, big.GetLength());
    EXPECT_EQ(size_t(big.GetLength()), wcsspn(big, L"x")) << "only the string's own text";
}

TEST(CStringAccess, IndexOutsideTheStringThrows)
{
    CString s(L"ab");
    EXPECT_EQ(L'a', s.GetAt(0));
    EXPECT_EQ(L'b', s[1]);
    EXPECT_THROW(s.GetAt(2), CInvalidArgException*);
    EXPECT_THROW(s.GetAt(-1), CInvalidArgException*);
    EXPECT_THROW(CString().GetAt(0), CInvalidArgException*);
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(L"", s);
}

TEST(CStringConcatenation, OperatorsKeepOperandsAndOrder)
{
    CString a(L"COM");
    EXPECT_STREQ(L"COM7", a + L"7");
    EXPECT_STREQ(L"xCOM", L"x" + a);
    EXPECT_STREQ(L"COM!", a + L'!');
    EXPECT_STREQ(L"!COM", L'!' + a);
    EXPECT_STREQ(L"COMCOM", a + a);
    EXPECT_STREQ(L"COM", a);
    a += L'1';
    a += CString(L"2");
    EXPECT_STREQ(L"COM12", a);
}

TEST(CStringComparison, OrdinalCaseFoldingAndOperators)
{
    CString s(L"Port");
    EXPECT_EQ(0, s.Compare(L"Port"));
    EXPECT_LT(s.Compare(L"port"), 0);  // ordinal: upper case sorts first
    EXPECT_EQ(0, s.CompareNoCase(L"PORT"));
    EXPECT_GT(s.CompareNoCase(L"pat"), 0);
    EXPECT_LT(CString(L"_").CompareNoCase(L"A"), 0);            // A folds to a (0x61), above _ (0x5F)
    EXPECT_NE(0, CString(L"\x00C4").CompareNoCase(L"\x00E4"));  // only A-Z fold
    EXPECT_LT(CString(L"com").CompareNoCase(L"COM1"), 0);
    EXPECT_TRUE(s == L"Port");
    EXPECT_TRUE(s != CString(L"port"));
    EXPECT_TRUE(CString(L"a") < CString(L"b"));
    EXPECT_TRUE(CString(L"b") > L"a");
    EXPECT_TRUE(CString(L"ab") > CString(L"a"));
    EXPECT_FALSE(CString(L"a") < L"a");
}

// The formats the program uses, with the results Windows gives.
TEST(CStringFormat, ProgramFormats)
{
    EXPECT_STREQ(L"0007", Formatted(L"%04d", 7));
    EXPECT_STREQ(L"0123", Formatted(L"%04d", 123));
    EXPECT_STREQ(L"0000000A", Formatted(L"%08X", 10));
    EXPECT_STREQ(L"000000ff", Formatted(L"%08x", 255));
    EXPECT_STREQ(L"COM256", Formatted(L"COM%d", 256));
    EXPECT_STREQ(L"3/5  COM7 was created", Formatted(L"%d/%d  COM%d was created", 3, 5, 7));
    EXPECT_STREQ(L"192.168.0.1", Formatted(L"%d.%d.%d.%d", 192, 168, 0, 1));
    EXPECT_STREQ(L"SVTMF3\\0000000c", Formatted(L"%s\\%08x", L"SVTMF3", 12));
    EXPECT_STREQ(L"  COM7 is in use currently", Formatted(L"  COM%d is in use currently", 7));
    EXPECT_STREQ(L"   1", Formatted(L"%4d", 1));
    EXPECT_STREQ(L"-1", Formatted(L"%d", static_cast<int>(0xFFFFFFFFu)));
    EXPECT_STREQ(L"0a0b0c0d", Formatted(L"%02x%02x%02x%02x", 10, 11, 12, 13));
}

TEST(CStringFormat, PercentSTakesAWideString)
{
    CString s;
    s.Format(L"[%s|%s]", L"정보", L"");
    EXPECT_STREQ(L"[정보|]", s);
}

TEST(CStringFormat, ReplacesTheText)
{
    CString s(L"old text");
    s.Format(L"%d", 42);
    EXPECT_STREQ(L"42", s);
}

TEST(CStringFormat, LongOutputIsComplete)
{
    CString big(L'x', 5000);
    CString s;
    s.Format(L"<%s>", big.GetString());
    EXPECT_EQ(5002, s.GetLength());
    EXPECT_EQ(L'>', s[5001]);
}

TEST(CStringFormat, NullFormatThrows)
{
    CString s(L"kept");
    EXPECT_THROW(s.Format(nullptr), CInvalidArgException*);
    EXPECT_STREQ(L"kept", s);
}

TEST(CStringLoadString, ReadsTheModulesStringTable)
{
    CString s;
    EXPECT_TRUE(s.LoadString(IDS_TEST_GREETING));
    EXPECT_STREQ(L"Hello, port", s);
    EXPECT_TRUE(s.LoadString(IDS_TEST_KOREAN));
    EXPECT_STREQ(L"SarventoCtl \xC815\xBCF4(&A)...", s);
    EXPECT_EQ(21, s.GetLength());
}

TEST(CStringLoadString, MissingStringLeavesTextAndFails)
{
    CString s(L"before");
    EXPECT_FALSE(s.LoadString(IDS_TEST_MISSING));
    EXPECT_STREQ(L"before", s);
}

TEST(CStringFind, CharWithStart)
{
    CString s(L"COM10 COM1");
    EXPECT_EQ(0, s.Find(L'C'));
    EXPECT_EQ(6, s.Find(L'C', 1));
    EXPECT_EQ(-1, s.Find(L'x'));
    EXPECT_EQ(-1, s.Find(L'C', 10));  // start at the end
    EXPECT_EQ(-1, s.Find(L'C', -1));  // negative start
}

TEST(CStringFind, Reverse)
{
    CString s(L"a.b.c");
    EXPECT_EQ(3, s.ReverseFind(L'.'));
    EXPECT_EQ(-1, s.ReverseFind(L'x'));
    EXPECT_EQ(0, CString(L".").ReverseFind(L'.'));
}

TEST(CStringExtract, MidAndLeftClampToTheString)
{
    CString s(L"abcdef");
    EXPECT_STREQ(L"cde", s.Mid(2, 3));
    EXPECT_STREQ(L"cdef", s.Mid(2));
    EXPECT_STREQ(L"ef", s.Mid(4, 100));
    EXPECT_STREQ(L"", s.Mid(6));
    EXPECT_STREQ(L"", s.Mid(10, 2));
    EXPECT_STREQ(L"ab", s.Mid(-3, 2));
    EXPECT_STREQ(L"", s.Mid(1, -1));
    EXPECT_STREQ(L"abcdef", s.Mid(0, INT_MAX));
    EXPECT_STREQ(L"ab", s.Left(2));
    EXPECT_STREQ(L"abcdef", s.Left(99));
    EXPECT_STREQ(L"", s.Left(-1));
}

TEST(CStringCase, UpperLower)
{
    CString s(L"Sarvento VCP (COM7) \x00C4");
    s.MakeLower();
    EXPECT_STREQ(L"sarvento vcp (com7) \x00E4", s);
    s.MakeUpper();
    EXPECT_STREQ(L"SARVENTO VCP (COM7) \x00C4", s);
}

TEST(CStringTrim, GivenCharacterOnTheRight)
{
    EXPECT_STREQ(L"..1.2", CString(L"..1.2..").TrimRight(L'.'));
    EXPECT_STREQ(L"", CString(L"....").TrimRight(L'.'));
}

TEST(CStringBuffer, WriteThroughGetBufferThenRelease)
{
    CString s(L"abc");
    LPWSTR p = s.GetBuffer(10);
    wcscpy(p, L"0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(10, s.GetLength());
    EXPECT_STREQ(L"0123456789", s);

    p = s.GetBuffer();
    p[2] = L'\0';
    s.ReleaseBuffer();
    EXPECT_STREQ(L"01", s);

    p = s.GetBuffer(5);
    wmemcpy(p, L"wxyz!", 5);
    s.ReleaseBuffer(4);  // explicit length: no null needed in the buffer
    EXPECT_STREQ(L"wxyz", s);
    EXPECT_THROW(s.ReleaseBuffer(1000), CInvalidArgException*);
}

TEST(CStringBuffer, GetBufferOnAnEmptyStringIsWritable)
{
    CString s;
    LPWSTR p = s.GetBuffer(0);
    ASSERT_NE(nullptr, p);
    p[0] = L'\0';
    s.ReleaseBuffer();
    EXPECT_TRUE(s.IsEmpty());
    p = s.GetBufferSetLength(3);
    p[0] = L'x';
    p[1] = L'y';
    p[2] = L'z';
    s.ReleaseBuffer();
    EXPECT_STREQ(L"xyz", s);
}

TEST(CStringMemory, ImpossibleSizeRaisesMemoryException)
{
    CString s;
    EXPECT_THROW(s.GetBuffer(INT_MAX), CMemoryException*);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringMemory, GrowingByAppendKeepsContent)
{
    CString s;
    for (int i = 0; i < 1000; ++i) {
        s += static_cast<wchar_t>(L'0' + i % 10);
        s += L",";
    }
    EXPECT_EQ(2000, s.GetLength());
    EXPECT_STREQ(L"0,1,", s.Left(4));
    EXPECT_STREQ(L"8,9,", s.Mid(1996));
}
