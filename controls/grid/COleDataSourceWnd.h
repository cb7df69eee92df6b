// The data of one drag that a grid starts. It lives on the stack for exactly that drag and marks
// the grid's drop target meanwhile (DragFromOwner), so that a drop on the same grid moves its rows
// instead of taking the text as foreign data.
#pragma once

#include "controls/grid/COleDropTargetWnd.h"

#include "framework/framework.h"

template <class TWnd>
class COleDataSourceWnd : public COleDataSource {
public:
    explicit COleDataSourceWnd(COleDropTargetWnd<TWnd>* pOwnerDropTarget) : OwnerDropTarget(pOwnerDropTarget)
    {
        if (OwnerDropTarget != nullptr)
            OwnerDropTarget->DragFromOwner = true;
    }
    ~COleDataSourceWnd() override
    {
        if (OwnerDropTarget != nullptr)
            OwnerDropTarget->DragFromOwner = false;
    }

    // Null when the grid had no drop target, or lost it (its window was destroyed) during the drag.
    COleDropTargetWnd<TWnd>* OwnerDropTarget;
};
