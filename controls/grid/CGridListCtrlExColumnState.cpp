// The grid's column state in its owner's ColumnStateStore: the visible columns in display order
// with their subitem numbers and widths ("ColumnCount", "ColumnData_%d", "ColumnWidth_%d"),
// default state, reset and column profiles. While a store is attached, the state is saved after
// every show/hide, on every width change that passes the filter and when the grid loses the focus.
#include "controls/grid/CGridListCtrlEx.h"

#include "controls/grid/ColumnStateStore.h"

#include <algorithm>
#include <vector>

namespace {

CString ValueName(LPCWSTR pszFormat, int nPlace)
{
    CString name;
    name.Format(pszFormat, nPlace);
    return name;
}

// The subitem number of a column (iSubItem of the list column); -1 when it cannot be read.
int ColumnSubItem(CGridListCtrlEx& grid, int nCol)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_SUBITEM;
    if (!grid.GetColumn(nCol, &column))
        return -1;
    return column.iSubItem;
}

}  // namespace

void CGridListCtrlEx::LoadColumnState(ColumnStateStore* pStore, bool bOwnsStore)
{
    // The store held may come back again: it is only let go when it is replaced.
    if (OwnsStateStore && StateStore != pStore)
        delete StateStore;
    StateStore = pStore;
    OwnsStateStore = bOwnsStore;
    if (pStore == nullptr)
        return;
    if (!pStore->HasDefaultState()) {
        // The layout the owner set up becomes the default state.
        if (ColumnStateStore* pDefault = pStore->GetDefaultState())
            StoreColumnState(pDefault);
    }
    ApplyColumnState(pStore);
}

void CGridListCtrlEx::ApplyColumnState(ColumnStateStore* pStore)
{
    if (pStore == nullptr)
        return;
    const int nColumns = GetColumnCount();
    std::vector<int> order(static_cast<size_t>(std::max(nColumns, 0)));
    if (nColumns <= 0 || !GetColumnOrderArray(order.data(), nColumns))
        return;

    // The width changes made here must not save a half-applied state.
    ColumnStateStore* pAttached = StateStore;
    StateStore = nullptr;

    const int nCount = pStore->GetIntValue(L"ColumnCount", 0);
    SetRedraw(FALSE);

    // Columns are placed from the last position toward the first.
    std::vector<bool> placed(order.size(), false);
    int nFree = nColumns - 1;
    auto place = [&](int nCol) {
        order[static_cast<size_t>(nFree)] = nCol;
        placed[static_cast<size_t>(nCol)] = true;
        --nFree;
    };
    // A column shown here that the grid had hidden gets its width back when the user may not
    // resize it (no stored width reaches it).
    auto makeVisible = [&](int nCol) {
        CGridColumnTrait* pTrait = GetCellTrait(-1, nCol);
        if (pTrait == nullptr)
            return;
        const bool bWasHidden = !pTrait->Visible;
        pTrait->Visible = true;
        if (bWasHidden && !pTrait->Resizable)
            DefWindowProc(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(pTrait->SavedWidth, 0));
    };

    for (int nPlace = nCount - 1; nPlace >= 0 && nFree >= 0; --nPlace) {
        const int nSubItem = pStore->GetIntValue(ValueName(L"ColumnData_%d", nPlace), 0);
        for (int nCol = 0; nCol < nColumns; ++nCol) {
            if (placed[static_cast<size_t>(nCol)] || IsColumnOutOfMenu(nCol) || ColumnSubItem(*this, nCol) != nSubItem)
                continue;
            makeVisible(nCol);
            LoadColumnWidth(nPlace, nCol, pStore);
            place(nCol);
            break;
        }
    }
    for (int nCol = nColumns - 1; nCol >= 0 && nFree >= 0; --nCol) {
        if (placed[static_cast<size_t>(nCol)] || !IsColumnLocked(nCol))
            continue;
        makeVisible(nCol);
        place(nCol);
    }

    if (nFree < nColumns - 1) {
        while (nFree >= 0) {
            int nCol = nColumns - 1;
            while (placed[static_cast<size_t>(nCol)])
                --nCol;
            if (CGridColumnTrait* pTrait = GetCellTrait(-1, nCol)) {
                pTrait->SavedPosition = -1;
                // A column hidden already keeps the width it will come back with.
                if (pTrait->Visible)
                    pTrait->SavedWidth = GetColumnWidth(nCol);
                if (pTrait->Resizable)
                    SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), 0);
                else
                    DefWindowProc(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), 0);
                pTrait->Visible = false;
            }
            place(nCol);
        }
        SetColumnOrderArray(nColumns, order.data());
    }

    SetRedraw(TRUE);
    Invalidate(TRUE);
    UpdateWindow();
    StateStore = pAttached;
}

void CGridListCtrlEx::StoreColumnState(ColumnStateStore* pStore)
{
    if (pStore == nullptr)
        return;
    pStore->RemoveValues();
    const int nColumns = GetColumnCount();
    std::vector<int> order(static_cast<size_t>(std::max(nColumns, 0)));
    int nPlace = 0;
    if (nColumns > 0 && GetColumnOrderArray(order.data(), nColumns)) {
        for (int nCol : order) {
            if (!IsColumnVisible(nCol))
                continue;
            pStore->SetIntValue(ValueName(L"ColumnData_%d", nPlace), ColumnSubItem(*this, nCol));
            StoreColumnWidth(nPlace, nCol, pStore);
            ++nPlace;
        }
    }
    pStore->SetIntValue(L"ColumnCount", nPlace);
}

void CGridListCtrlEx::LoadColumnWidth(int nPlace, int nCol, ColumnStateStore* pStore)
{
    if (pStore == nullptr || !IsColumnResizable(nCol))
        return;
    const int nWidth = pStore->GetIntValue(ValueName(L"ColumnWidth_%d", nPlace), 0);
    SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(nWidth, 0));
}

void CGridListCtrlEx::StoreColumnWidth(int nPlace, int nCol, ColumnStateStore* pStore)
{
    if (pStore == nullptr)
        return;
    pStore->SetIntValue(ValueName(L"ColumnWidth_%d", nPlace), GetColumnWidth(nCol));
}

bool CGridListCtrlEx::GetResetColumnsText(CString& text)
{
    if (StateStore == nullptr)
        return false;
    text = L"Reset columns";
    return StateStore->HasDefaultState();
}

void CGridListCtrlEx::ResetColumns()
{
    if (StateStore == nullptr)
        return;
    StateStore->ResetToDefault();
    ApplyColumnState(StateStore);
}

CString CGridListCtrlEx::GetProfilesMenuText(CStringArray& profiles, CString& title)
{
    if (StateStore == nullptr)
        return CString();
    title = L"Column Profiles";
    StateStore->GetProfiles(profiles);
    CString active;
    StateStore->GetActiveProfile(active);
    return active;
}

void CGridListCtrlEx::SwitchColumnProfile(const CString& profile)
{
    if (StateStore == nullptr)
        return;
    // The layout goes into the profile being left.
    StoreColumnState(StateStore);
    StateStore->SelectProfile(profile);
    ApplyColumnState(StateStore);
}

void CGridListCtrlEx::SaveStateOnShowColumn()
{
    StoreColumnState(StateStore);
}

void CGridListCtrlEx::SaveStateOnColumnResize()
{
    StoreColumnState(StateStore);
}

void CGridListCtrlEx::SaveStateOnKillFocus()
{
    StoreColumnState(StateStore);
}

void CGridListCtrlEx::OnKillFocus(CWnd* /*pNewWnd*/)
{
    SaveStateOnKillFocus();
    // The list keeps its own focus state (focus rectangle, selection colours, NM_KILLFOCUS).
    Default();
}
