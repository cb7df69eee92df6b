// The natural order of two cell texts of the report list: hexadecimal integers, decimal numbers
// (also percentages) and dates compare by value, everything else by its UTF-16 code units.
#pragma once

#include "framework/cstring.h"

#include <windows.h>

// -1, 0 or 1: a before b, equal, a after b. The first rule that accepts both texts decides:
// 1. each is a whole unsigned hexadecimal number (C library rule: blanks, sign, "0x" allowed);
// 2. each is a whole decimal floating-point number, or one followed by a single '%';
// 3. each is a date of the user's locale;
// 4. otherwise the texts, case-sensitive.
int CompareCellTexts(LPCWSTR a, LPCWSTR b);

// The value by which a date sorts. Dates before the zero date (30 December 1899) keep the day
// in the integer part and count the time of day backwards in the fraction; this turns the
// fraction round so that the time of day counts forwards for them too.
double DateSortKey(double date);

// A cell's text with what the rules of CompareCellTexts read from it, worked out once: a sort
// makes one key per row and compares keys, instead of reading and parsing both cells on every
// comparison. The date is parsed only when a comparison comes to it, then kept.
class CellSortKey {
public:
    explicit CellSortKey(const CString& text);

    // The same result as CompareCellTexts on the two texts.
    friend int CompareCellKeys(const CellSortKey& a, const CellSortKey& b);

private:
    bool ReadDateOnce() const;

    CString m_text;
    bool m_isHex = false;
    unsigned long m_hex = 0;
    bool m_isDecimal = false;
    double m_decimal = 0;
    mutable enum class DateState { NotRead, Date, NoDate } m_dateState = DateState::NotRead;
    mutable double m_date = 0;  // DateSortKey of the date
};

int CompareCellKeys(const CellSortKey& a, const CellSortKey& b);
