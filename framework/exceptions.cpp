#include "framework/exceptions.h"

#include <wchar.h>

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError > 0)
        lpszError[0] = L'\0';
    return FALSE;
}

BOOL CSimpleException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    // Truncating copy: a short buffer still receives a terminated prefix of the message.
    size_t n = wcslen(m_pszMessage);
    if (n >= nMaxError)
        n = nMaxError - 1;
    wmemcpy(lpszError, m_pszMessage, n);
    lpszError[n] = L'\0';
    return TRUE;
}

// The thrown objects are static: raising them must not allocate (the memory exception in
// particular), and a handler's Delete() leaves them alone.
void AfxThrowMemoryException()
{
    static CMemoryException s_memoryException(FALSE);
    throw static_cast<CMemoryException*>(&s_memoryException);
}

void AfxThrowInvalidArgException()
{
    static CInvalidArgException s_invalidArgException(FALSE);
    throw static_cast<CInvalidArgException*>(&s_invalidArgException);
}

void AfxThrowNotSupportedException()
{
    static CNotSupportedException s_notSupportedException(FALSE);
    throw static_cast<CNotSupportedException*>(&s_notSupportedException);
}
