// The in-place combo-box editor of a grid cell. It offers the entries of its column's trait and
// reports the result of the edit once, with the item data of the chosen entry, as the list view's
// end-of-label-edit notification to the list's parent; then it closes and deletes itself.
//
// Enter, Tab or the focus leaving the combo box and its edit field accept; Escape cancels; a
// combo box destroyed before it ended reports a cancelled edit. Its drop-down list is sized to
// its entries when it opens. Made with new by CGridColumnTraitCombo; nobody else deletes it.
#pragma once

#include "controls/grid/CGridEditorComboBoxEdit.h"

class CGridEditorComboBox : public CComboBox {
public:
    // nMaxWidth: upper bound in pixels of the measured entry width of the drop-down list;
    // nMaxVisibleItems: rows of the drop-down list before it scrolls; nShowDropDown: open the
    // drop-down list when the editor first gets the focus.
    CGridEditorComboBox(int nRow, int nCol, UINT nMaxWidth, UINT nMaxVisibleItems, UINT nShowDropDown);
    ~CGridEditorComboBox() override;

    // Creates the window and, for a CBS_DROPDOWN combo box, takes over its edit field. On success
    // the object lives as long as the window and deletes itself after it; on failure it stays
    // with its creator, who deletes it.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

    // Reports the result (text and item data only when accepted and changed by the user), hides
    // the editor and closes it; later calls do nothing.
    virtual void EndEdit(bool bAccept);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PostNcDestroy() override;
    void OnKillFocus(CWnd* pNewWnd);
    void OnSetFocus(CWnd* pOldWnd);
    void OnDestroy();
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnDropDown();
    void OnChangeSelection();
    void OnCloseUp();

    CGridEditorComboBoxEdit m_Edit;
    bool m_Ended = false;
    bool m_Modified = false;
    int m_Row;
    int m_Col;
    UINT m_MaxWidth;
    UINT m_MaxVisibleItems;
    UINT m_ShowDropDown;
    bool m_OwnsItself = false;

    DECLARE_MESSAGE_MAP()
};
