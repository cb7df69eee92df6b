// The main dialog's layout arithmetic.
#include "app/ShellLayout.h"

namespace {

CRect Place(int x, int y, int width, int height)
{
    return CRect(x, y, x + width, y + height);
}

}  // namespace

CRect PageRectFromTab(const CRect& tabRect)
{
    return CRect(tabRect.left + 8, tabRect.top + 70, tabRect.right - 8, tabRect.bottom - 8);
}

ShellLayout ComputeShellLayout(int cx, int cy, int left, int top)
{
    ShellLayout layout;
    layout.portPage = Place(left, top - 3, cx - 37, cy - 113);
    layout.monitorPage = Place(left, top - 37, cx - 37, cy - 79);
    layout.monitorList = Place(0, 0, cx - 37, cy - 79);
    layout.tab = Place(left - 8, top - 70, cx - 20, cy - 38);
    layout.statusBar = Place(0, cy - 20, cx, 20);
    return layout;
}

CRect ToolButtonRect(int index, int left, int top)
{
    return Place(left + 52 * index, top - 40, 32, 32);
}
