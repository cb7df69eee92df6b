#include "controls/grid/GridTransferText.h"

HGLOBAL GridTextToGlobal(const CString& text)
{
    const SIZE_T bytes = (static_cast<SIZE_T>(text.GetLength()) + 1) * sizeof(wchar_t);
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (hGlobal == nullptr)
        return nullptr;
    void* pData = ::GlobalLock(hGlobal);
    if (pData == nullptr) {
        ::GlobalFree(hGlobal);
        return nullptr;
    }
    ::CopyMemory(pData, text.GetString(), bytes);
    ::GlobalUnlock(hGlobal);
    return hGlobal;
}
