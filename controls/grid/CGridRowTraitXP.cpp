#include "controls/grid/CGridRowTraitXP.h"

#include "controls/grid/CGridListCtrlEx.h"

namespace {

// Draws one image of the list on the colour, with the list's background colour set to it for
// the drawing.
void DrawImageOn(HIMAGELIST hImageList, int nImage, HDC hDC, int x, int y, COLORREF color)
{
    const COLORREF oldColor = ::ImageList_SetBkColor(hImageList, color);
    ::ImageList_Draw(hImageList, nImage, hDC, x, y, ILD_NORMAL);
    ::ImageList_SetBkColor(hImageList, oldColor);
}

}  // namespace

void CGridRowTraitXP::OnCustomDraw(CGridListCtrlEx& owner, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult)
{
    if (!owner.IsExplorerThemed()) {
        switch (pLVCD->nmcd.dwDrawStage) {
            case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
                *pResult |= CDRF_NOTIFYPOSTPAINT;
                break;
            case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
                PaintImageBackground(owner, pLVCD);
                break;
            default:
                break;
        }
    }
    CGridRowTraitText::OnCustomDraw(owner, pLVCD, pResult);
}

void CGridRowTraitXP::PaintImageBackground(CGridListCtrlEx& owner, NMLVCUSTOMDRAW* pLVCD)
{
    const int nRow = static_cast<int>(pLVCD->nmcd.dwItemSpec);
    const int nCol = pLVCD->iSubItem;
    if (::IsRectEmpty(&pLVCD->nmcd.rc))
        return;
    const int nImage = owner.GetCellImage(nRow, nCol);
    if (nImage == -1)
        return;
    CImageList* pSmallImages = owner.GetImageList(LVSIL_SMALL);
    if (pSmallImages == nullptr)
        return;

    const DWORD exStyle = owner.GetExtendedStyle();
    COLORREF color = 0;
    if ((exStyle & LVS_EX_TRACKSELECT) && nRow == owner.GetHotItem()) {
        color = ::GetSysColor(COLOR_HOTLIGHT);
    } else {
        // Selected as the list knows it: the record's state may have been changed for the focus cell.
        bool drawAsSelected = (owner.GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        if (drawAsSelected) {
            if (!(exStyle & LVS_EX_FULLROWSELECT))
                return;
            if (FocusCellUnselected && nCol == owner.GetFocusColumn() && nRow == owner.GetNextItem(-1, LVNI_FOCUSED))
                drawAsSelected = false;
        }
        if (drawAsSelected) {
            HWND hWndFocus = ::GetFocus();
            if (hWndFocus != owner.m_hWnd && owner.GetCellEditor() == nullptr) {
                if (!(owner.GetStyle() & LVS_SHOWSELALWAYS))
                    return;
                color = ::GetSysColor(COLOR_BTNFACE);
            } else {
                color = ::GetSysColor(COLOR_HIGHLIGHT);
            }
        } else {
            if (pLVCD->clrTextBk > 0xFFFFFF)
                return;
            color = pLVCD->clrTextBk;
        }
    }

    RECT area = {};
    RECT icon = {};
    if (!owner.GetCellPartRect(nRow, nCol, LVIR_BOUNDS, area) || !owner.GetCellPartRect(nRow, nCol, LVIR_ICON, icon))
        return;
    area.right = icon.right + 2;
    if (nCol == 0 && owner.FirstVisibleColumn() == 0)
        area.left += 2 * ::GetSystemMetrics(SM_CXBORDER);

    HDC hDC = pLVCD->nmcd.hdc;
    if (HBRUSH hBrush = ::CreateSolidBrush(color)) {
        ::FillRect(hDC, &area, hBrush);
        ::DeleteObject(hBrush);
    }
    DrawImageOn(pSmallImages->GetSafeHandle(), nImage, hDC, icon.left, icon.top, color);
    if (nCol == 0 && (exStyle & LVS_EX_CHECKBOXES)) {
        if (CImageList* pStateImages = owner.GetImageList(LVSIL_STATE))
            DrawImageOn(pStateImages->GetSafeHandle(), owner.GetCheck(nRow) ? 1 : 0, hDC, area.left, area.top, color);
    }
}
