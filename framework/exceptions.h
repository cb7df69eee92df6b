// Exceptions the class library raises.
//
// As in the conventional class library, exceptions are thrown as pointers to CException objects
// and a handler that catches one ends it with Delete(). The library's own failures (out of memory,
// an invalid argument) throw shared static objects whose Delete() does nothing, so that raising
// them never needs memory and never leaks.
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

protected:
    BOOL m_bAutoDelete;
};

class CMemoryException : public CException {
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

class CInvalidArgException : public CException {
public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowInvalidArgException();
