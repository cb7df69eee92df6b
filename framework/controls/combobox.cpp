#include "framework/controls/combobox.h"

namespace {

// The owner-draw messages a parent reflects to a combo box object.
template <class T>
BOOL OwnerDrawNotify(T* pCtrl, UINT message, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
        case WM_DRAWITEM:
            pCtrl->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
            break;
        case WM_MEASUREITEM:
            pCtrl->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
            break;
        case WM_COMPAREITEM: {
            int nResult = pCtrl->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
            if (pResult)
                *pResult = nResult;
            return TRUE;
        }
        case WM_DELETEITEM:
            pCtrl->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
            break;
        default:
            return FALSE;
    }
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

}  // namespace

int CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int nLength = GetLBTextLen(nIndex);
    if (nLength == CB_ERR) {
        rString.Empty();
        return CB_ERR;
    }
    int nCopied = GetLBText(nIndex, rString.GetBuffer(nLength));
    rString.ReleaseBuffer(nCopied == CB_ERR ? 0 : nCopied);
    return nCopied;
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT)
{
    return 0;
}
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Only an owner-drawn combo box draws for itself; the others leave the messages to the parent.
    if ((GetStyle() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) && OwnerDrawNotify(this, message, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
