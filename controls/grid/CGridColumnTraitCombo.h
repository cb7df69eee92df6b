// A column whose cells are edited in a combo box (CGridEditorComboBox) over the cell, offering
// the entries of the trait's item list; the edit reports the chosen entry's item data with its text.
#pragma once

#include "controls/grid/CGridColumnTraitImage.h"

#include <utility>
#include <vector>

class CGridEditorComboBox;

class CGridColumnTraitCombo : public CGridColumnTraitImage {
public:
    CWnd* StartCellEdit(CGridListCtrlEx& owner, int nRow, int nCol) override;
    void FinishCellEdit() override;
    CWnd* CreateCellEditorWindow(CGridListCtrlEx& owner, int nRow, int nCol, DWORD dwStyle, const RECT& rect) override;

    // Appends an entry (duplicates too); false when memory runs out.
    bool AddListItem(ULONGLONG nItemData, LPCWSTR pszText);
    // Puts the entries into the open editor, in their order, with their item data.
    void FillEditorList();
    // The open editor, null when none (the editor deletes itself; the trait only knows of it).
    CGridEditorComboBox* GetEditor() const { return m_pEditor; }

    // The entries the editor offers: (item data, text) in insertion order.
    std::vector<std::pair<ULONGLONG, CString>> ComboItemList;
    // WS_VSCROLL | WS_HSCROLL | CBS_NOINTEGRALHEIGHT | CBS_AUTOHSCROLL | CBS_DROPDOWN.
    DWORD ComboStyle = WS_VSCROLL | WS_HSCROLL | CBS_NOINTEGRALHEIGHT | CBS_AUTOHSCROLL | CBS_DROPDOWN;
    UINT MaxVisibleItems = 7;
    UINT MaxDropDownWidth = 200;
    UINT ShowDropDownOnFocus = 0;

protected:
    CGridEditorComboBox* m_pEditor = nullptr;
};
