// CString: a UTF-16 string with the conventional class library's interface.
//
// The object owns one heap buffer (or shares a static empty one until it first needs memory);
// copies are deep. Failing allocations raise CMemoryException, indexes outside the string and
// null or malformed format strings raise CInvalidArgException. Numbers and texts are formatted with
// the CRT's wide printf family, where "%s" takes a wide string.
#pragma once

#include "framework/exceptions.h"

#include <stdarg.h>
#include <windows.h>

class CString {
public:
    CString() noexcept;
    CString(const CString& str);
    CString(CString&& str) noexcept;
    CString(LPCWSTR psz);                  // nullptr gives an empty string
    CString(LPCWSTR pch, int nLength);     // nLength characters, which may include nulls
    CString(wchar_t ch, int nRepeat = 1);  // nRepeat copies of ch
    ~CString();

    CString& operator=(const CString& str);
    CString& operator=(CString&& str) noexcept;
    CString& operator=(LPCWSTR psz);

    CString& operator+=(const CString& str)
    {
        Append(str.m_pch, str.m_nLength);
        return *this;
    }
    CString& operator+=(LPCWSTR psz);
    CString& operator+=(wchar_t ch)
    {
        Append(&ch, 1);
        return *this;
    }

    // Size and access.
    int GetLength() const noexcept { return m_nLength; }
    bool IsEmpty() const noexcept { return m_nLength == 0; }
    void Empty() noexcept;
    wchar_t GetAt(int iChar) const;
    wchar_t operator[](int iChar) const { return GetAt(iChar); }
    LPCWSTR GetString() const noexcept { return m_pch; }
    operator LPCWSTR() const noexcept { return m_pch; }

    // Comparison: Compare is ordinal, CompareNoCase folds only A-Z onto a-z.
    int Compare(LPCWSTR psz) const;
    int CompareNoCase(LPCWSTR psz) const;

    // Formatting with the wide printf family ("%s" takes a wide string).
    void Format(LPCWSTR pszFormat, ...);
    void FormatV(LPCWSTR pszFormat, va_list args);
    void AppendFormatV(LPCWSTR pszFormat, va_list args);

    // Replaces the text with string nID of the application's string table (AfxGetResourceHandle);
    // FALSE (text unchanged) when there is no such string.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // Searching: each returns a zero-based index or -1.
    int Find(wchar_t ch, int iStart = 0) const noexcept;
    int ReverseFind(wchar_t ch) const noexcept;

    // Extraction: counts and positions outside the string are clamped to it.
    CString Mid(int iFirst) const;
    CString Mid(int iFirst, int nCount) const;
    CString Left(int nCount) const;

    // Changing in place.
    CString& MakeUpper();
    CString& MakeLower();
    CString& TrimRight(wchar_t chTarget);

    // Direct buffer access: write at most the requested number of characters (plus a null), then
    // ReleaseBuffer with the new length, or -1 to take the length up to the first null.
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int nMinBufferLength);
    LPWSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    void Reserve(int nCapacity);  // buffer for nCapacity characters plus a null, contents kept
    void Assign(LPCWSTR pch, int nLength);
    void Append(LPCWSTR pch, int nLength);
    void SetLength(int nLength);

    wchar_t* m_pch;   // never null; points at s_empty while nothing is allocated
    int m_nLength;    // characters before the terminating null
    int m_nCapacity;  // characters the buffer holds besides the null; 0 for s_empty

    static wchar_t s_empty[1];
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCWSTR b);
CString operator+(LPCWSTR a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

inline bool operator==(const CString& a, const CString& b)
{
    return a.Compare(b) == 0;
}
inline bool operator==(const CString& a, LPCWSTR b)
{
    return a.Compare(b) == 0;
}
inline bool operator!=(const CString& a, const CString& b)
{
    return a.Compare(b) != 0;
}
inline bool operator!=(const CString& a, LPCWSTR b)
{
    return a.Compare(b) != 0;
}
inline bool operator!=(LPCWSTR a, const CString& b)
{
    return b.Compare(a) != 0;
}
inline bool operator<(const CString& a, const CString& b)
{
    return a.Compare(b) < 0;
}
inline bool operator<(const CString& a, LPCWSTR b)
{
    return a.Compare(b) < 0;
}
inline bool operator<(LPCWSTR a, const CString& b)
{
    return b.Compare(a) > 0;
}
inline bool operator>(const CString& a, const CString& b)
{
    return a.Compare(b) > 0;
}
inline bool operator>(const CString& a, LPCWSTR b)
{
    return a.Compare(b) > 0;
}
inline bool operator>(LPCWSTR a, const CString& b)
{
    return b.Compare(a) < 0;
}
inline bool operator>=(const CString& a, const CString& b)
{
    return a.Compare(b) >= 0;
}
inline bool operator>=(const CString& a, LPCWSTR b)
{
    return a.Compare(b) >= 0;
}
inline bool operator>=(LPCWSTR a, const CString& b)
{
    return b.Compare(a) <= 0;
}
