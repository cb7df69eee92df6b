#include "controls/grid/CGridRowTraitText.h"

#include "controls/grid/CGridListCtrlEx.h"
#include "controls/grid/GridPlatform.h"

bool CGridRowTraitText::GetRowTextColor(int nRow, COLORREF& color)
{
    if (nRow % 2 != 0 && AltTextColor != 0xFFFFFFFF) {
        color = AltTextColor;
        return true;
    }
    if (TextColor != 0xFFFFFFFF) {
        color = TextColor;
        return true;
    }
    return false;
}

bool CGridRowTraitText::GetRowBackColor(int nRow, COLORREF& color)
{
    if (nRow % 2 != 0 && AltBackColor != 0xFFFFFFFF) {
        color = AltBackColor;
        return true;
    }
    if (BackColor != 0xFFFFFFFF) {
        color = BackColor;
        return true;
    }
    return false;
}

void CGridRowTraitText::ApplyRowColors(CGridListCtrlEx& owner, int nRow, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult)
{
    if (GetRowTextColor(nRow, pLVCD->clrText))
        *pResult |= CDRF_NEWFONT;
    if (GetRowBackColor(nRow, pLVCD->clrTextBk))
        *pResult |= CDRF_NEWFONT;
    if (owner.QueryRowColors(nRow, pLVCD->clrText, pLVCD->clrTextBk))
        *pResult |= CDRF_NEWFONT;
}

void CGridRowTraitText::CancelListFocusRect(CGridListCtrlEx& owner, int nRow, HDC hDC)
{
    // The list's rectangle runs from the row's label to the right end of the row; a second one,
    // drawn in the same paint, takes it off again (both invert).
    // A column 0 of width 0 (hidden) gives the list's rectangle no place of its own: it is left.
    RECT row = {};
    RECT label = {};
    if (owner.GetColumnWidth(0) <= 0 || !owner.GetItemRect(nRow, &row, LVIR_BOUNDS) ||
        !owner.GetItemRect(nRow, &label, LVIR_LABEL))
        return;
    // Only when column 0 is displayed first does the rectangle start at its label.
    CHeaderCtrl* pHeader = owner.GetHeaderCtrl();
    if (pHeader != nullptr && pHeader->OrderToIndex(0) == 0)
        row.left = label.left;
    ::DrawFocusRect(hDC, &row);
}

void CGridRowTraitText::OnCustomDraw(CGridListCtrlEx& owner, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult)
{
    const int nRow = static_cast<int>(pLVCD->nmcd.dwItemSpec);
    HDC hDC = pLVCD->nmcd.hdc;
    switch (pLVCD->nmcd.dwDrawStage) {
        case CDDS_ITEMPREPAINT: {
            ApplyRowColors(owner, nRow, pLVCD, pResult);

            LOGFONTW font = {};
            if (owner.QueryRowFont(nRow, font)) {
                // A font that cannot be made leaves the DC's font as it is.
                if (HFONT hFont = ::CreateFontIndirectW(&font)) {
                    HGDIOBJ hPrev = ::SelectObject(hDC, hFont);
                    if (hPrev != nullptr && hPrev != HGDI_ERROR) {
                        m_hPrevFont = static_cast<HFONT>(hPrev);
                        m_FontCreated = true;
                        *pResult |= CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
                    } else {
                        ::DeleteObject(hFont);
                    }
                }
            } else {
                // The list may carry an enlarged font for taller rows; the cells are drawn in the
                // grid's font.
                CFont* pGridFont = owner.GetGridFont();
                HGDIOBJ hGridFont = pGridFont != nullptr ? pGridFont->GetSafeHandle() : nullptr;
                if (hGridFont != nullptr && reinterpret_cast<HGDIOBJ>(owner.SendMessage(WM_GETFONT)) != hGridFont) {
                    HGDIOBJ hPrev = ::SelectObject(hDC, hGridFont);
                    if (hPrev != nullptr && hPrev != HGDI_ERROR) {
                        m_hPrevFont = static_cast<HFONT>(hPrev);
                        *pResult |= CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
                    }
                }
            }

            if ((pLVCD->nmcd.uItemState & CDIS_FOCUS) && nRow == owner.GetNextItem(-1, LVNI_FOCUSED)) {
                // Without a focus cell and grid lines the list draws its own focus rectangle;
                // otherwise this trait draws it at post-paint.
                if (owner.GetFocusColumn() != -1 || (owner.GetExtendedStyle() & LVS_EX_GRIDLINES)) {
                    pLVCD->nmcd.uItemState &= ~CDIS_FOCUS;
                    m_FocusStateTaken = true;
                    *pResult |= CDRF_NOTIFYPOSTPAINT;
                }
            }
            break;
        }
        case CDDS_ITEMPOSTPAINT: {
            if (m_hPrevFont != nullptr) {
                HGDIOBJ hOut = ::SelectObject(hDC, m_hPrevFont);
                if (m_FontCreated) {
                    m_FontCreated = false;
                    if (hOut != nullptr && hOut != HGDI_ERROR)
                        ::DeleteObject(hOut);
                }
            }
            m_hPrevFont = nullptr;
            const bool focusStateTaken = m_FocusStateTaken;
            m_FocusStateTaken = false;

            const RECT& rc = pLVCD->nmcd.rc;
            if (rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0)
                break;
            if (nRow != owner.GetNextItem(-1, LVNI_FOCUSED))
                break;
            const int border = ::GetSystemMetrics(SM_CXBORDER);
            const bool gridLines = (owner.GetExtendedStyle() & LVS_EX_GRIDLINES) != 0;
            const int nFocusCol = owner.GetFocusColumn();
            RECT focus = {};
            if (nFocusCol == -1) {
                if (!gridLines || !owner.GetItemRect(nRow, &focus, LVIR_BOUNDS))
                    break;
                focus.bottom -= border;
            } else {
                if (!owner.GetCellPartRect(nRow, nFocusCol, LVIR_BOUNDS, focus))
                    break;
                const int nFirstVisible = owner.FirstVisibleColumn();
                if (nFocusCol == 0 && nFirstVisible == 0)
                    focus.left += 2 * border;
                else if (nFocusCol != nFirstVisible)
                    focus.left -= border;
                if (gridLines)
                    focus.bottom -= border;
            }
            ::DrawFocusRect(hDC, &focus);
            if (focusStateTaken && ::GetFocus() == owner.m_hWnd && ListViewDrawsFocusAlways())
                CancelListFocusRect(owner, nRow, hDC);
            break;
        }
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            if (FocusCellUnselected && (pLVCD->nmcd.uItemState & CDIS_SELECTED) &&
                pLVCD->iSubItem == owner.GetFocusColumn() && nRow == owner.GetNextItem(-1, LVNI_FOCUSED) &&
                (owner.GetExtendedStyle() & LVS_EX_FULLROWSELECT)) {
                pLVCD->nmcd.uItemState &= ~CDIS_SELECTED;
                // Lists that keep one record for all cells of a row would draw the following cells
                // unselected too: the state is given back after this cell.
                m_SelectedStateTaken = true;
                *pResult |= CDRF_NOTIFYPOSTPAINT;
            }
            // Colours left in the record by the cell before are replaced by the row's own.
            if (pLVCD->clrText > 0xFFFFFF && pLVCD->clrTextBk > 0xFFFFFF)
                break;
            pLVCD->clrText = CLR_DEFAULT;
            pLVCD->clrTextBk = CLR_DEFAULT;
            ApplyRowColors(owner, nRow, pLVCD, pResult);
            break;
        case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
            if (m_SelectedStateTaken) {
                m_SelectedStateTaken = false;
                pLVCD->nmcd.uItemState |= CDIS_SELECTED;
            }
            break;
        default:
            break;
    }
}
