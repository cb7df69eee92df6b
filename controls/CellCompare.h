// The natural order of two cell texts of the report list: hexadecimal integers, decimal numbers
// (also percentages) and dates compare by value, everything else by its UTF-16 code units.
#pragma once

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
