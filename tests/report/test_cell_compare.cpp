// The natural order of cell texts: numbers, decimal numbers, dates, then text.
#include "controls/CellCompare.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>

namespace {

int TextOrder(LPCWSTR a, LPCWSTR b)
{
    return std::wcscmp(a, b) < 0 ? -1 : std::wcscmp(a, b) > 0 ? 1 : 0;
}

void ExpectOrder(const std::vector<const wchar_t*>& ascending)
{
    for (size_t i = 0; i + 1 < ascending.size(); ++i) {
        EXPECT_EQ(-1, CompareCellTexts(ascending[i], ascending[i + 1])) << ascending[i] << L" " << ascending[i + 1];
        EXPECT_EQ(1, CompareCellTexts(ascending[i + 1], ascending[i])) << ascending[i + 1] << L" " << ascending[i];
    }
}

// The en-US dates below need the user locale the test program runs with (LC_ALL=en_US.UTF-8).
void AssertEnUsLocale()
{
    ASSERT_EQ(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT), ::GetUserDefaultLCID())
        << "run the test program with LC_ALL=en_US.UTF-8";
}

}  // namespace

TEST(CellCompare, IntegersSortAsHexadecimalNumbers)
{
    ExpectOrder({L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10", L"11", L"12"});
    ExpectOrder({L"F", L"10", L"0x1F", L" 20", L"abc", L"abd", L"CAFE"});
    ExpectOrder({L"5", L"-1"});                                  // "-1" is 0xFFFFFFFF
    EXPECT_EQ(0, CompareCellTexts(L"100000000", L"200000000"));  // both saturate
    EXPECT_EQ(0, CompareCellTexts(L"0x10", L"10"));
}

TEST(CellCompare, DecimalNumbersAndPercentagesSortByValue)
{
    ExpectOrder({L"-2.5", L"1.25", L"7.5", L"9.5%", L"10%", L"50%"});
    EXPECT_EQ(0, CompareCellTexts(L"1.50", L"1.5"));
    // Only one '%' may follow, right after the number; otherwise the texts compare as text.
    EXPECT_EQ(TextOrder(L"5%%", L"6"), CompareCellTexts(L"5%%", L"6"));
    EXPECT_EQ(TextOrder(L"7.5 %", L"50%"), CompareCellTexts(L"7.5 %", L"50%"));
    EXPECT_EQ(TextOrder(L"%", L"5"), CompareCellTexts(L"%", L"5"));
}

TEST(CellCompare, NotANumberComparesEqualWhereTheRuntimeReadsIt)
{
    wchar_t* end = nullptr;
    const double value = std::wcstod(L"nan", &end);
    if (*end == L'\0' && std::isnan(value))
        EXPECT_EQ(0, CompareCellTexts(L"nan", L"5.5"));
    else
        EXPECT_EQ(TextOrder(L"nan", L"5.5"), CompareCellTexts(L"nan", L"5.5"));
}

TEST(CellCompare, OtherTextsSortByCodeUnitsWithTheEmptyOneFirst)
{
    ExpectOrder({L"", L"0", L"COM10", L"COM2", L"Zebra", L"apple", L"\u00e9t\u00e9"});
    EXPECT_EQ(0, CompareCellTexts(L"", L""));
    EXPECT_EQ(0, CompareCellTexts(L"COM3", L"COM3"));
}

TEST(CellCompare, DatesOfTheUserLocaleSortChronologically)
{
    // Written by the locale's own short format, whatever the locale is.
    SYSTEMTIME early = {2001, 1, 0, 2, 0, 0, 0, 0};
    SYSTEMTIME late = {2001, 12, 0, 1, 0, 0, 0, 0};
    wchar_t earlyText[64];
    wchar_t lateText[64];
    ASSERT_GT(::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &early, nullptr, earlyText, 64), 0);
    ASSERT_GT(::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &late, nullptr, lateText, 64), 0);
    ExpectOrder({earlyText, lateText});
}

TEST(CellCompare, EnUsDatesSortChronologicallyAndAmongWordsAsText)
{
    AssertEnUsLocale();
    ExpectOrder({L"12/31/1999", L"1/1/2000", L"1/2/2001", L"1/3/2001"});
    ExpectOrder({L"1/2/2001", L"hello"});  // '1' < 'h'
}

TEST(CellCompare, TimesOfDayBeforeTheZeroDateCountForwards)
{
    AssertEnUsLocale();
    // 29 December 1899 is day -1: as dates 06:00 is -1.25 and 18:00 is -1.75.
    ExpectOrder({L"12/28/1899 11:00 PM", L"12/29/1899 6:00 AM", L"12/29/1899 6:00 PM", L"12/30/1899 1:00 AM"});
    EXPECT_DOUBLE_EQ(-0.75, DateSortKey(-1.25));
    EXPECT_DOUBLE_EQ(-0.25, DateSortKey(-1.75));
    EXPECT_DOUBLE_EQ(-2.0, DateSortKey(-2.0));
    EXPECT_DOUBLE_EQ(-0.000005, DateSortKey(-0.000005));  // within half a second of zero: kept
    EXPECT_DOUBLE_EQ(5.787037037037037e-6, DateSortKey(-5.787037037037037e-6));
}

TEST(CellCompare, KeysMadeOnceCompareAsTheTextsDo)
{
    AssertEnUsLocale();
    const std::vector<const wchar_t*> texts = {L"",         L"0",
                                               L"7",        L"10",
                                               L"0x1F",     L"-1",
                                               L"abc",      L"1e1",
                                               L"15.5",     L"7.5%",
                                               L"50%",      L"nan",
                                               L"1/2/2001", L"12/29/1899 6:00 PM",
                                               L"COM10",    L"COM2",
                                               L"10.0.0.1", L"192.168.0.1",
                                               L"hello",    L"\u00e9t\u00e9",
                                               L" 20"};
    std::vector<CellSortKey> keys;
    for (const wchar_t* text : texts)
        keys.emplace_back(CString(text));
    for (size_t a = 0; a < texts.size(); ++a) {
        for (size_t b = 0; b < texts.size(); ++b)
            EXPECT_EQ(CompareCellTexts(texts[a], texts[b]), CompareCellKeys(keys[a], keys[b]))
                << texts[a] << L" " << texts[b];
    }
}
