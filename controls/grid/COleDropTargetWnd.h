// The OLE drop target of a window of class TWnd (the grid). The grid owns one and deletes it with
// its window. It holds no registration yet: the class library has no OLE drop target so far, and
// the grid's RegisterDropTarget makes none (see docs/grid.md).
#pragma once

template <class TWnd>
class COleDropTargetWnd {
public:
    COleDropTargetWnd() = default;
    virtual ~COleDropTargetWnd() = default;
    COleDropTargetWnd(const COleDropTargetWnd&) = delete;
    COleDropTargetWnd& operator=(const COleDropTargetWnd&) = delete;
};
