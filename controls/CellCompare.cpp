// Comparison of cell texts in their natural order.
//
// The conversions are the C runtime's (no setlocale call anywhere, so '.' stays the decimal
// point) and the date parser of OLE Automation with the user's locale.
#include "controls/CellCompare.h"

#include <oleauto.h>

#include <cmath>
#include <cwchar>

namespace {

// Half a second before the zero date, in days.
const double kLastDateBeforeZero = -5.787037037037037e-6;

template <class T>
int Order(T a, T b)
{
    if (a < b)
        return -1;
    if (b < a)
        return 1;
    return 0;  // equal, or not ordered (a NaN)
}

// A non-empty text consumed entirely by the base-16 conversion. unsigned long is 32 bits here;
// out of range the conversion gives ULONG_MAX, and "-1" gives 0xFFFFFFFF.
bool ReadHex(LPCWSTR text, unsigned long& value)
{
    if (*text == L'\0')
        return false;
    wchar_t* end = nullptr;
    value = std::wcstoul(text, &end, 16);
    return end != text && *end == L'\0';
}

// A non-empty text read as a floating-point number with nothing left over but one '%'.
bool ReadDecimal(LPCWSTR text, double& value)
{
    if (*text == L'\0')
        return false;
    wchar_t* end = nullptr;
    value = std::wcstod(text, &end);
    if (end == text)
        return false;  // no number at all
    return *end == L'\0' || (end[0] == L'%' && end[1] == L'\0');
}

bool ReadDate(LPCWSTR text, double& value)
{
    DATE date = 0;
    // The parser takes a non-const pointer but does not write through it.
    if (FAILED(::VarDateFromStr(const_cast<OLECHAR*>(text), LOCALE_USER_DEFAULT, 0, &date)))
        return false;
    value = date;
    return true;
}

}  // namespace

double DateSortKey(double date)
{
    if (date <= kLastDateBeforeZero)
        return 2 * std::ceil(date) - date;
    return date;
}

int CompareCellTexts(LPCWSTR a, LPCWSTR b)
{
    unsigned long hexA = 0;
    unsigned long hexB = 0;
    if (ReadHex(a, hexA) && ReadHex(b, hexB))
        return Order(hexA, hexB);

    double decA = 0;
    double decB = 0;
    if (ReadDecimal(a, decA) && ReadDecimal(b, decB))
        return Order(decA, decB);

    double dateA = 0;
    double dateB = 0;
    if (ReadDate(a, dateA) && ReadDate(b, dateB))
        return Order(DateSortKey(dateA), DateSortKey(dateB));

    return Order(std::wcscmp(a, b), 0);
}

CellSortKey::CellSortKey(const CString& text) : m_text(text)
{
    m_isHex = ReadHex(m_text, m_hex);
    m_isDecimal = ReadDecimal(m_text, m_decimal);
}

bool CellSortKey::ReadDateOnce() const
{
    if (m_dateState == DateState::NotRead) {
        double date = 0;
        m_dateState = ReadDate(m_text, date) ? DateState::Date : DateState::NoDate;
        m_date = DateSortKey(date);
    }
    return m_dateState == DateState::Date;
}

int CompareCellKeys(const CellSortKey& a, const CellSortKey& b)
{
    if (a.m_isHex && b.m_isHex)
        return Order(a.m_hex, b.m_hex);
    if (a.m_isDecimal && b.m_isDecimal)
        return Order(a.m_decimal, b.m_decimal);
    if (a.ReadDateOnce() && b.ReadDateOnce())
        return Order(a.m_date, b.m_date);
    return Order(std::wcscmp(a.m_text, b.m_text), 0);
}
