// The library's prompts in English; a program may replace any of them in its string table.
#include "framework/fwstrings.h"

#include "framework/app.h"

namespace {

struct FrameworkString {
    UINT nID;
    const wchar_t* text;
};

const FrameworkString kFrameworkStrings[] = {
    {AFX_IDP_PARSE_INT_RANGE, L"Please enter an integer between %1 and %2."},
    {AFX_IDP_PARSE_STRING_SIZE, L"Please enter no more than %1 characters."},
    {AFX_IDP_PARSE_UINT, L"Please enter a positive integer."},
};

}  // namespace

CString AfxLoadString(UINT nID)
{
    CString text;
    if (text.LoadString(AfxGetResourceHandle(), nID))
        return text;
    for (const FrameworkString& s : kFrameworkStrings)
        if (s.nID == nID)
            return CString(s.text);
    return CString();
}

CString AfxReplaceInserts(LPCWSTR lpszFormat, LPCWSTR lpsz1, LPCWSTR lpsz2)
{
    CString result;
    for (LPCWSTR p = lpszFormat; p != nullptr && *p != L'\0'; ++p) {
        if (p[0] == L'%' && (p[1] == L'1' || p[1] == L'2')) {
            LPCWSTR insert = p[1] == L'1' ? lpsz1 : lpsz2;
            if (insert != nullptr) {
                result += insert;
                ++p;
                continue;
            }
        }
        result += *p;
    }
    return result;
}

void AfxFormatString1(CString& rString, UINT nIDS, LPCWSTR lpsz1)
{
    rString = AfxReplaceInserts(AfxLoadString(nIDS), lpsz1, nullptr);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCWSTR lpsz1, LPCWSTR lpsz2)
{
    rString = AfxReplaceInserts(AfxLoadString(nIDS), lpsz1, lpsz2);
}
