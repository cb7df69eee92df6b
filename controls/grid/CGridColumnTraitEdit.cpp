#include "controls/grid/CGridColumnTraitEdit.h"

#include "controls/grid/CGridEditorText.h"
#include "controls/grid/CGridListCtrlEx.h"

namespace {

// The format of the column's header item (HDF_LEFT when it cannot be read).
int HeaderFormat(CGridListCtrlEx& owner, int nCol)
{
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    CHeaderCtrl* pHeader = owner.GetHeaderCtrl();
    if (pHeader == nullptr || !pHeader->GetItem(nCol, &item))
        return HDF_LEFT;
    return item.fmt;
}

}  // namespace

CWnd* CGridColumnTraitEdit::CreateCellEditorWindow(CGridListCtrlEx& owner, int nRow, int nCol, DWORD dwStyle,
                                                   const RECT& rect)
{
    auto* pEditor = new CGridEditorText(nRow, nCol);
    if (!pEditor->Create(dwStyle | WS_CHILD, rect, &owner, 0)) {
        delete pEditor;
        return nullptr;
    }
    return pEditor;
}

CWnd* CGridColumnTraitEdit::StartCellEdit(CGridListCtrlEx& owner, int nRow, int nCol)
{
    const RECT rect = GetEditorRect(owner, nRow, nCol);
    if (IsNoEditorRect(rect))
        return nullptr;  // the cell has no rectangle: nothing to edit

    const int format = HeaderFormat(owner, nCol);
    DWORD dwStyle = EditorStyle;
    if (format & HDF_CENTER)
        dwStyle |= ES_CENTER;
    else if (format & HDF_RIGHT)
        dwStyle |= ES_RIGHT;

    CWnd* pEditor = CreateCellEditorWindow(owner, nRow, nCol, dwStyle, rect);
    if (pEditor == nullptr)
        return nullptr;
    CFont* pFont = owner.GetGridFont();
    pEditor->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr), TRUE);

    // Margins that put the text where the list draws it: beside an image or check box in
    // column 0, else by the column's alignment.
    int left = 4;  // left-aligned
    int right = 0;
    if (nCol == 0 && owner.GetImageList(LVSIL_SMALL) != nullptr) {
        left = 0;
    } else if (nCol == 0 && (owner.GetExtendedStyle() & LVS_EX_CHECKBOXES)) {
        left = 1;
    } else if (nCol == 0 && owner.FirstVisibleColumn() != 0) {
        left = 1;
    } else if (format & HDF_CENTER) {
        left = 0;
    } else if (format & HDF_RIGHT) {
        left = 0;
        right = 7;
    }
    pEditor->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(left, right));

    if (TextLimit != 0xFFFFFFFF)
        pEditor->SendMessage(EM_LIMITTEXT, TextLimit);

    pEditor->SetWindowText(owner.GetItemText(nRow, nCol));
    pEditor->SendMessage(EM_SETSEL, 0, -1);
    pEditor->SendMessage(EM_SCROLLCARET);
    return pEditor;
}
