#include "app/UncoveredRepaint.h"

void MoveRepaintingUncovered(CWnd& window, const CRect& rect)
{
    CRect oldClient;
    window.GetClientRect(&oldClient);
    window.MoveWindow(&rect, FALSE);

    CRect newClient;
    window.GetClientRect(&newClient);
    CRect kept;
    kept.IntersectRect(&oldClient, &newClient);
    CRect whole;
    window.GetWindowRect(&whole);
    window.ScreenToClient(&whole);
    const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME;
    CRgn uncovered;
    CRgn keptRgn;
    if (!uncovered.CreateRectRgnIndirect(&whole) || !keptRgn.CreateRectRgnIndirect(&kept) ||
        uncovered.CombineRgn(&uncovered, &keptRgn, RGN_DIFF) == ERROR) {
        window.RedrawWindow(nullptr, nullptr, flags);  // without the region, all of it
        return;
    }
    window.RedrawWindow(nullptr, uncovered, flags);
}
