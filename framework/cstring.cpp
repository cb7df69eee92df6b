#include "framework/cstring.h"

#include "framework/app.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <wctype.h>

wchar_t CString::s_empty[1] = {L'\0'};

namespace {

int CheckedLength(size_t n)
{
    if (n > static_cast<size_t>(INT_MAX - 1))
        AfxThrowMemoryException();
    return static_cast<int>(n);
}

int SafeLength(LPCWSTR psz)
{
    return psz ? CheckedLength(wcslen(psz)) : 0;
}

int AddLengths(int a, int b)
{
    if (b > INT_MAX - 1 - a)
        AfxThrowMemoryException();
    return a + b;
}

}  // namespace

// --- construction and assignment -----------------------------------------------------------

CString::CString() noexcept : m_pch(s_empty), m_nLength(0), m_nCapacity(0) {}

CString::CString(const CString& str) : CString()
{
    Assign(str.m_pch, str.m_nLength);
}

CString::CString(CString&& str) noexcept : m_pch(str.m_pch), m_nLength(str.m_nLength), m_nCapacity(str.m_nCapacity)
{
    str.m_pch = s_empty;
    str.m_nLength = 0;
    str.m_nCapacity = 0;
}

CString::CString(LPCWSTR psz) : CString()
{
    Assign(psz, SafeLength(psz));
}

CString::CString(LPCWSTR pch, int nLength) : CString()
{
    if (nLength < 0 || (nLength > 0 && !pch))
        AfxThrowInvalidArgException();
    Assign(pch, nLength);
}

CString::CString(wchar_t ch, int nRepeat) : CString()
{
    if (nRepeat < 0)
        AfxThrowInvalidArgException();
    Reserve(nRepeat);
    wmemset(m_pch, ch, nRepeat);
    SetLength(nRepeat);
}

CString::~CString()
{
    if (m_pch != s_empty)
        free(m_pch);
}

CString& CString::operator=(const CString& str)
{
    if (this != &str)
        Assign(str.m_pch, str.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& str) noexcept
{
    if (this != &str) {
        if (m_pch != s_empty)
            free(m_pch);
        m_pch = str.m_pch;
        m_nLength = str.m_nLength;
        m_nCapacity = str.m_nCapacity;
        str.m_pch = s_empty;
        str.m_nLength = 0;
        str.m_nCapacity = 0;
    }
    return *this;
}

CString& CString::operator=(LPCWSTR psz)
{
    Assign(psz, SafeLength(psz));
    return *this;
}

CString& CString::operator+=(LPCWSTR psz)
{
    Append(psz, SafeLength(psz));
    return *this;
}

// --- storage -------------------------------------------------------------------------------

void CString::Reserve(int nCapacity)
{
    if (nCapacity < 0 || nCapacity > INT_MAX - 1)
        AfxThrowMemoryException();
    if (nCapacity <= m_nCapacity && m_pch != s_empty)
        return;
    // Grow geometrically so that repeated appends stay linear.
    int nNew = nCapacity;
    if (m_nCapacity > 0 && nNew < m_nCapacity + m_nCapacity / 2 && m_nCapacity < INT_MAX / 2)
        nNew = m_nCapacity + m_nCapacity / 2;
    void* p = (m_pch == s_empty) ? malloc((static_cast<size_t>(nNew) + 1) * sizeof(wchar_t))
                                 : realloc(m_pch, (static_cast<size_t>(nNew) + 1) * sizeof(wchar_t));
    if (!p)
        AfxThrowMemoryException();
    if (m_pch == s_empty)
        static_cast<wchar_t*>(p)[0] = L'\0';
    m_pch = static_cast<wchar_t*>(p);
    m_nCapacity = nNew;
}

void CString::SetLength(int nLength)
{
    m_nLength = nLength;
    m_pch[nLength] = L'\0';
}

void CString::Assign(LPCWSTR pch, int nLength)
{
    if (nLength == 0) {
        Empty();
        return;
    }
    // The source may lie inside this string's own buffer: copy through a new string then.
    if (pch >= m_pch && pch <= m_pch + m_nLength) {
        CString copy(pch, nLength);
        *this = static_cast<CString&&>(copy);
        return;
    }
    Reserve(nLength);
    wmemcpy(m_pch, pch, nLength);
    SetLength(nLength);
}

void CString::Append(LPCWSTR pch, int nLength)
{
    if (nLength == 0)
        return;
    if (pch >= m_pch && pch <= m_pch + m_nLength) {
        CString copy(pch, nLength);
        Append(copy.m_pch, copy.m_nLength);
        return;
    }
    int nNew = AddLengths(m_nLength, nLength);
    Reserve(nNew);
    wmemcpy(m_pch + m_nLength, pch, nLength);
    SetLength(nNew);
}

void CString::Empty() noexcept
{
    if (m_pch != s_empty)
        free(m_pch);
    m_pch = s_empty;
    m_nLength = 0;
    m_nCapacity = 0;
}

// --- access --------------------------------------------------------------------------------

wchar_t CString::GetAt(int iChar) const
{
    if (iChar < 0 || iChar >= m_nLength)
        AfxThrowInvalidArgException();
    return m_pch[iChar];
}

// --- comparison ----------------------------------------------------------------------------

int CString::Compare(LPCWSTR psz) const
{
    if (!psz)
        AfxThrowInvalidArgException();
    return wcscmp(m_pch, psz);
}

int CString::CompareNoCase(LPCWSTR psz) const
{
    if (!psz)
        AfxThrowInvalidArgException();
    // Folds A-Z onto a-z and compares UTF-16 code units otherwise, whatever the CRT's locale.
    auto fold = [](wchar_t ch) { return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch - L'A' + L'a') : ch; };
    const wchar_t* p = m_pch;
    for (;; ++p, ++psz) {
        wchar_t a = fold(*p), b = fold(*psz);
        if (a != b)
            return a < b ? -1 : 1;
        if (a == L'\0')
            return 0;
    }
}

// --- formatting ----------------------------------------------------------------------------

void CString::Format(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    try {
        FormatV(pszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CString::FormatV(LPCWSTR pszFormat, va_list args)
{
    CString result;
    result.AppendFormatV(pszFormat, args);
    *this = static_cast<CString&&>(result);
}

void CString::AppendFormatV(LPCWSTR pszFormat, va_list args)
{
    if (!pszFormat)
        AfxThrowInvalidArgException();
    // An argument may point into this string, whose buffer moves when it grows and whose end the
    // formatting overwrites: a string with a buffer of its own formats into a fresh one first.
    if (m_pch != s_empty) {
        CString added;
        added.AppendFormatV(pszFormat, args);
        Append(added.m_pch, added.m_nLength);
        return;
    }
    // The CRT's own functions: in them "%s" of a wide format takes a wide string.
    va_list argsCount;
    va_copy(argsCount, args);
    int nAdded = _vscwprintf(pszFormat, argsCount);
    va_end(argsCount);
    if (nAdded < 0)
        AfxThrowInvalidArgException();
    if (nAdded == 0)
        return;
    int nNew = AddLengths(m_nLength, nAdded);
    Reserve(nNew);
    int nWritten = _vsnwprintf(m_pch + m_nLength, static_cast<size_t>(nAdded) + 1, pszFormat, args);
    if (nWritten != nAdded) {
        m_pch[m_nLength] = L'\0';  // keep the old text intact
        AfxThrowInvalidArgException();
    }
    SetLength(nNew);
}

// --- resources -----------------------------------------------------------------------------

BOOL CString::LoadString(UINT nID)
{
    return LoadString(AfxGetResourceHandle(), nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID)
{
    // With a zero buffer size LoadStringW hands out the resource's own read-only text, which is
    // not null-terminated, and its length.
    LPCWSTR pchResource = nullptr;
    int nLength = ::LoadStringW(hInstance, nID, reinterpret_cast<LPWSTR>(&pchResource), 0);
    if (nLength <= 0 || !pchResource)
        return FALSE;
    Assign(pchResource, nLength);
    return TRUE;
}

// --- searching -----------------------------------------------------------------------------

int CString::Find(wchar_t ch, int iStart) const noexcept
{
    if (iStart < 0 || iStart >= m_nLength)
        return -1;
    const wchar_t* p = wmemchr(m_pch + iStart, ch, m_nLength - iStart);
    return p ? static_cast<int>(p - m_pch) : -1;
}

int CString::ReverseFind(wchar_t ch) const noexcept
{
    for (int i = m_nLength - 1; i >= 0; --i) {
        if (m_pch[i] == ch)
            return i;
    }
    return -1;
}

// --- extraction ----------------------------------------------------------------------------

CString CString::Mid(int iFirst) const
{
    return Mid(iFirst, m_nLength);
}

CString CString::Mid(int iFirst, int nCount) const
{
    if (iFirst < 0)
        iFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (iFirst > m_nLength)
        iFirst = m_nLength;
    if (nCount > m_nLength - iFirst)
        nCount = m_nLength - iFirst;
    return CString(m_pch + iFirst, nCount);
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

// --- changing in place ---------------------------------------------------------------------

CString& CString::MakeUpper()
{
    if (m_nLength > 0)
        CharUpperBuffW(m_pch, static_cast<DWORD>(m_nLength));
    return *this;
}

CString& CString::MakeLower()
{
    if (m_nLength > 0)
        CharLowerBuffW(m_pch, static_cast<DWORD>(m_nLength));
    return *this;
}

CString& CString::TrimRight(wchar_t chTarget)
{
    int n = m_nLength;
    while (n > 0 && m_pch[n - 1] == chTarget)
        --n;
    if (n < m_nLength)
        SetLength(n);
    return *this;
}

// --- buffer access -------------------------------------------------------------------------

LPWSTR CString::GetBuffer()
{
    Reserve(m_nLength);
    return m_pch;
}

LPWSTR CString::GetBuffer(int nMinBufferLength)
{
    if (nMinBufferLength < 0)
        AfxThrowInvalidArgException();
    Reserve(nMinBufferLength > m_nLength ? nMinBufferLength : m_nLength);
    return m_pch;
}

LPWSTR CString::GetBufferSetLength(int nLength)
{
    if (nLength < 0)
        AfxThrowInvalidArgException();
    Reserve(nLength);
    SetLength(nLength);
    return m_pch;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(wcsnlen(m_pch, static_cast<size_t>(m_nCapacity)));
    if (nNewLength > m_nCapacity)
        AfxThrowInvalidArgException();
    if (m_pch != s_empty)
        SetLength(nNewLength);
}

// --- concatenation -------------------------------------------------------------------------

CString operator+(const CString& a, const CString& b)
{
    CString s(a);
    s += b;
    return s;
}

CString operator+(const CString& a, LPCWSTR b)
{
    CString s(a);
    s += b;
    return s;
}

CString operator+(LPCWSTR a, const CString& b)
{
    CString s(a);
    s += b;
    return s;
}

CString operator+(const CString& a, wchar_t b)
{
    CString s(a);
    s += b;
    return s;
}

CString operator+(wchar_t a, const CString& b)
{
    CString s(a);
    s += b;
    return s;
}
