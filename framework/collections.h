// Dynamic arrays with the conventional class library's interface.
//
// CArray keeps its elements in one contiguous block (GetData() points at them). Indexes outside
// the array raise CInvalidArgException; failing allocations raise CMemoryException.
#pragma once

#include "framework/cstring.h"
#include "framework/exceptions.h"

#include <windows.h>

#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    CArray() = default;
    CArray(const CArray&) = delete;  // as in the class library: use Copy()
    CArray& operator=(const CArray&) = delete;
    virtual ~CArray() = default;

    // Size.
    INT_PTR GetSize() const noexcept { return static_cast<INT_PTR>(m_data.size()); }
    // New elements are value-initialised; nGrowBy is accepted for compatibility (growth is
    // geometric anyway).
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        (void)nGrowBy;
        if (nNewSize < 0)
            AfxThrowInvalidArgException();
        Guard([&] { m_data.resize(static_cast<size_t>(nNewSize)); });
    }
    void FreeExtra()
    {
        Guard([&] { m_data.shrink_to_fit(); });
    }
    void RemoveAll() noexcept { m_data.clear(); }

    // Element access.
    const TYPE& GetAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }

    // Growing.
    // Sets the element at nIndex, growing the array to reach it.
    INT_PTR Add(ARG_TYPE newElement)
    {
        Guard([&] { m_data.push_back(newElement); });
        return GetSize() - 1;
    }
    // Inserts nCount copies of newElement at nIndex; an index past the end grows the array.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0)
            AfxThrowInvalidArgException();
        TYPE value(newElement);
        if (nIndex > GetSize())
            SetSize(nIndex);
        Guard([&] { m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), value); });
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nCount > GetSize() - nIndex)
            AfxThrowInvalidArgException();
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

private:
    size_t Checked(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= GetSize())
            AfxThrowInvalidArgException();
        return static_cast<size_t>(nIndex);
    }
    template <class F>
    static void Guard(F f)
    {
        try {
            f();
        } catch (const std::bad_alloc&) {
            AfxThrowMemoryException();
        } catch (const std::length_error&) {
            AfxThrowMemoryException();
        }
    }

    std::vector<TYPE> m_data;
};

class CStringArray : public CArray<CString, const CString&> {};
