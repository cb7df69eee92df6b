// Exceptions the class library raises.
//
// As in the conventional class library, exceptions are thrown as pointers to CException objects
// and a handler that catches one ends it with Delete(). The library's own failures (out of memory,
// an invalid argument, an unsupported operation) throw shared static objects whose Delete() does
// nothing, so that raising them never needs memory and never leaks.
#pragma once

#include <windows.h>

class CException {
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    virtual ~CException() = default;
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;

    // Ends a caught exception: frees it when it was allocated for this throw, else does nothing.
    void Delete();

    // Copies the exception's message into lpszError (always terminated); FALSE when there is none.
    virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;

protected:
    BOOL m_bAutoDelete;
};

// An exception with a fixed message.
class CSimpleException : public CException {
public:
    CSimpleException(BOOL bAutoDelete, LPCWSTR pszMessage) : CException(bAutoDelete), m_pszMessage(pszMessage) {}
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

private:
    LPCWSTR m_pszMessage;
};

class CMemoryException : public CSimpleException {
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete, L"Out of memory.") {}
};

class CInvalidArgException : public CSimpleException {
public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete, L"Invalid argument.") {}
};

class CNotSupportedException : public CSimpleException {
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE)
        : CSimpleException(bAutoDelete, L"The operation is not supported.")
    {
    }
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowNotSupportedException();
