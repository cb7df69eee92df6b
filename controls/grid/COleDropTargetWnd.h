// The OLE drop target of a grid window: it hands every drag over the window to the grid's own
// OnDragEnter, OnDragOver, OnDrop and OnDragLeave. The grid owns one and deletes it with its
// window, which ends the registration.
//
// OwnerList is set only once the registration has succeeded; until then the target answers
// every drag with "no drop". DragFromOwner is true while a drag that started in the owner grid
// runs (COleDataSourceWnd sets and clears it), so that a drop can tell the grid's own rows from
// data dragged in from elsewhere.
#pragma once

#include "framework/framework.h"

template <class TWnd>
class COleDropTargetWnd : public COleDropTarget {
public:
    COleDropTargetWnd() = default;
    ~COleDropTargetWnd() override
    {
        if (OwnerList != nullptr)
            Revoke();
    }

    DROPEFFECT OnDragEnter(CWnd* /*pWnd*/, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override
    {
        return OwnerList != nullptr ? OwnerList->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(CWnd* /*pWnd*/, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override
    {
        return OwnerList != nullptr ? OwnerList->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
    }
    BOOL OnDrop(CWnd* /*pWnd*/, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override
    {
        return OwnerList != nullptr && OwnerList->OnDrop(pDataObject, dropEffect, point) ? TRUE : FALSE;
    }
    void OnDragLeave(CWnd* /*pWnd*/) override
    {
        if (OwnerList != nullptr)
            OwnerList->OnDragLeave();
    }

    TWnd* OwnerList = nullptr;
    bool DragFromOwner = false;
};
