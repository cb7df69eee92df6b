// The class library's own strings (its prompts), and formatting them with %1, %2.
#pragma once

#include "framework/cstring.h"

#include <windows.h>

// Prompt ids of data exchange, as the conventional library numbers them.
#define AFX_IDP_PARSE_INT_RANGE 0xF112
#define AFX_IDP_PARSE_STRING_SIZE 0xF114
#define AFX_IDP_PARSE_UINT 0xF117

// String nID of the program's resources; for the library's own ids, the library's text when the
// program has none. Empty when neither exists.
CString AfxLoadString(UINT nID);

// Replaces %1 (and %2) in the string nID with the given texts.
void AfxFormatString1(CString& rString, UINT nIDS, LPCWSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCWSTR lpsz1, LPCWSTR lpsz2);
// The same on a text: every %1 becomes lpsz1, every %2 lpsz2 (null leaves it as it is).
CString AfxReplaceInserts(LPCWSTR lpszFormat, LPCWSTR lpsz1, LPCWSTR lpsz2);
