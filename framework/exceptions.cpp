#include "framework/exceptions.h"

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
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
