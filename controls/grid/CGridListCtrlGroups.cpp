// The grouping list: its group records, group states, moving rows between groups, and the
// notifications and messages it handles itself.
#include "controls/grid/CGridListCtrlGroups.h"

#include <vector>

namespace {

// A group record in the full Windows 6.0 layout, zero-filled.
LVGROUP GroupRecord(UINT mask, int nGroupId)
{
    LVGROUP group = {};
    group.cbSize = sizeof group;
    group.mask = mask;
    group.iGroupId = nGroupId;
    return group;
}

LPWSTR TextOf(const CString& text)
{
    return const_cast<LPWSTR>(text.GetString());
}

// The longest header read back: far beyond any cell text the lists show.
const int kMaxHeaderChars = 32768;

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CGridListCtrlGroups, CGridListCtrlEx)
    ON_NOTIFY_REFLECT_EX(LVN_LINKCLICK, &CGridListCtrlGroups::OnGroupLinkClick)
    ON_NOTIFY_REFLECT_EX(LVN_GETEMPTYMARKUP, &CGridListCtrlGroups::OnGetEmptyMarkup)
    ON_MESSAGE(LVM_REMOVEALLGROUPS, &CGridListCtrlGroups::OnRemoveAllGroups)
    ON_MESSAGE(LVM_DELETEALLITEMS, &CGridListCtrlGroups::OnDeleteAllItems)
END_MESSAGE_MAP()
// clang-format on

CGridListCtrlGroups::CGridListCtrlGroups() = default;

// ---- group records ------------------------------------------------------------------------------

int CGridListCtrlGroups::InsertGroup(int nIndex, int nGroupId, const CString& header, UINT nState, UINT nAlign)
{
    LVGROUP group = GroupRecord(LVGF_HEADER | LVGF_STATE | LVGF_ALIGN | LVGF_GROUPID, nGroupId);
    group.pszHeader = TextOf(header);
    group.cchHeader = header.GetLength();
    group.state = nState;
    group.stateMask = 0;
    group.uAlign = nAlign;
    return static_cast<int>(CListCtrl::InsertGroup(nIndex, &group));
}

CString CGridListCtrlGroups::GetGroupHeaderText(int nGroupId)
{
    // A header longer than the buffer would come back cut, and no longer match its cells' text:
    // the buffer grows until the header fits.
    for (int nChars = 256;; nChars *= 2) {
        std::vector<wchar_t> buffer(static_cast<size_t>(nChars), L'\0');
        LVGROUP group = GroupRecord(LVGF_HEADER | LVGF_GROUPID, nGroupId);
        group.pszHeader = buffer.data();
        group.cchHeader = nChars;
        if (GetGroupInfo(nGroupId, &group) == -1 || group.pszHeader == nullptr)
            return CString();
        // Older controls point the record at their own copy of the header.
        if (group.pszHeader != buffer.data())
            return CString(group.pszHeader);
        const int nLength = static_cast<int>(wcsnlen(buffer.data(), buffer.size()));
        if (nLength < nChars - 1 || nChars >= kMaxHeaderChars)
            return CString(buffer.data(), nLength);
    }
}

int CGridListCtrlGroups::GetRowGroup(int nRow)
{
    LVITEMW item = {};
    item.mask = LVIF_GROUPID;
    item.iItem = nRow;
    item.iGroupId = -1;
    if (!GetItem(&item))
        return -1;
    return item.iGroupId;
}

BOOL CGridListCtrlGroups::SetRowGroup(int nRow, int nGroupId)
{
    LVITEMW item = {};
    item.mask = LVIF_GROUPID;
    item.iItem = nRow;
    item.iSubItem = 0;
    item.iGroupId = nGroupId;
    return SetItem(&item);
}

bool CGridListCtrlGroups::CanUseGroupState()
{
    return IsGroupViewEnabled() && IsOSVersionAtLeast(0x0600);
}

bool CGridListCtrlGroups::DeleteGroupWithRows(int nGroupId)
{
    for (int nRow = 0; nRow < GetItemCount();) {
        // After a deletion the next row has the same index.
        if (GetRowGroup(nRow) == nGroupId && DeleteItem(nRow))
            continue;
        ++nRow;
    }
    return RemoveGroup(nGroupId) != -1;
}

void CGridListCtrlGroups::SetGroupRowsChecked(int nGroupId, bool bChecked)
{
    if (!(GetExtendedStyle() & LVS_EX_CHECKBOXES))
        return;
    for (int nRow = 0; nRow < GetItemCount(); ++nRow) {
        if (GetRowGroup(nRow) == nGroupId)
            SetCheck(nRow, bChecked ? TRUE : FALSE);
    }
}

void CGridListCtrlGroups::SetGroupSortMode(int nMode)
{
    GroupSortMode = nMode;
}

bool CGridListCtrlGroups::QueryCellGroupId(int /*nRow*/, int /*nCol*/, int& /*nGroupId*/)
{
    return false;
}

// ---- group states -------------------------------------------------------------------------------

bool CGridListCtrlGroups::GroupHasState(int nGroupId, UINT nState)
{
    LVGROUP group = GroupRecord(LVGF_STATE, nGroupId);
    group.stateMask = nState;
    if (GetGroupInfo(nGroupId, &group) == -1)
        return false;
    return group.state == nState;
}

bool CGridListCtrlGroups::SetGroupState(int nGroupId, UINT nState)
{
    if (!CanUseGroupState())
        return false;
    LVGROUP group = GroupRecord(LVGF_STATE, nGroupId);
    group.stateMask = nState;
    group.state = nState;
    if (GroupHasState(nGroupId, LVGS_COLLAPSIBLE))
        group.state |= LVGS_COLLAPSIBLE;
    return SetGroupInfo(nGroupId, &group) != -1;
}

bool CGridListCtrlGroups::ClearGroupState(int nGroupId, UINT nState)
{
    if (!CanUseGroupState())
        return false;
    // Only the bits cleared are in the mask: the others (LVGS_COLLAPSIBLE) stay as they are.
    LVGROUP group = GroupRecord(LVGF_STATE, nGroupId);
    group.stateMask = nState;
    group.state = 0;
    return SetGroupInfo(nGroupId, &group) != -1;
}

bool CGridListCtrlGroups::CollapseAllGroups()
{
    CArray<int, int> ids;
    if (!CanUseGroupState() || !CollectGroupIds(ids))
        return false;
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
        if (!GroupHasState(ids[i], LVGS_COLLAPSED))
            SetGroupState(ids[i], LVGS_COLLAPSED);
    }
    return true;
}

bool CGridListCtrlGroups::ExpandAllGroups()
{
    CArray<int, int> ids;
    if (!CanUseGroupState() || !CollectGroupIds(ids))
        return false;
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
        if (GroupHasState(ids[i], LVGS_COLLAPSED))
            ClearGroupState(ids[i], LVGS_COLLAPSED);
    }
    return true;
}

bool CGridListCtrlGroups::SetGroupFooter(int nGroupId, const CString& footer, UINT nAlign)
{
    if (!CanUseGroupState())
        return false;
    LVGROUP group = GroupRecord(LVGF_FOOTER | LVGF_ALIGN, nGroupId);
    group.pszFooter = TextOf(footer);
    group.cchFooter = footer.GetLength();
    group.uAlign = nAlign;
    return SetGroupInfo(nGroupId, &group) != -1;
}

bool CGridListCtrlGroups::SetGroupTask(int nGroupId, const CString& task)
{
    if (!CanUseGroupState())
        return false;
    LVGROUP group = GroupRecord(LVGF_TASK, nGroupId);
    group.pszTask = TextOf(task);
    group.cchTask = static_cast<UINT>(task.GetLength());
    return SetGroupInfo(nGroupId, &group) != -1;
}

bool CGridListCtrlGroups::SetGroupSubtitle(int nGroupId, const CString& subtitle)
{
    if (!CanUseGroupState())
        return false;
    LVGROUP group = GroupRecord(LVGF_SUBTITLE, nGroupId);
    group.pszSubtitle = TextOf(subtitle);
    group.cchSubtitle = static_cast<UINT>(subtitle.GetLength());
    return SetGroupInfo(nGroupId, &group) != -1;
}

bool CGridListCtrlGroups::SetGroupTitleImage(int nGroupId, int nImage, const CString& topDescription,
                                             const CString& bottomDescription)
{
    if (!CanUseGroupState())
        return false;
    LVGROUP group = GroupRecord(LVGF_TITLEIMAGE, nGroupId);
    group.iTitleImage = nImage;
    if (!topDescription.IsEmpty()) {
        group.mask |= LVGF_DESCRIPTIONTOP;
        group.pszDescriptionTop = TextOf(topDescription);
        group.cchDescriptionTop = static_cast<UINT>(topDescription.GetLength());
    }
    if (!bottomDescription.IsEmpty()) {
        group.mask |= LVGF_DESCRIPTIONBOTTOM;
        group.pszDescriptionBottom = TextOf(bottomDescription);
        group.cchDescriptionBottom = static_cast<UINT>(bottomDescription.GetLength());
    }
    return SetGroupInfo(nGroupId, &group) != -1;
}

// ---- where the groups are -----------------------------------------------------------------------

bool CGridListCtrlGroups::CollectGroupIds(CArray<int, int>& ids)
{
    if (!IsGroupViewEnabled())
        return false;
    if (CanUseGroupState()) {
        const int nCount = GetGroupCount();
        if (nCount < 1)
            return false;
        for (int nIndex = 0; nIndex < nCount; ++nIndex) {
            LVGROUP group = GroupRecord(LVGF_GROUPID, 0);
            if (GetGroupInfoByIndex(nIndex, &group))
                ids.Add(group.iGroupId);
        }
        return true;
    }
    for (int nRow = 0; nRow < GetItemCount(); ++nRow) {
        const int nGroupId = GetRowGroup(nRow);
        if (nGroupId < 0)
            continue;
        bool known = false;
        for (INT_PTR i = 0; i < ids.GetSize() && !known; ++i)
            known = ids[i] == nGroupId;
        if (!known)
            ids.Add(nGroupId);
    }
    return true;
}

int CGridListCtrlGroups::GroupAtPoint(CPoint point)
{
    if (!IsGroupViewEnabled() || HitTest(point) != -1)
        return -1;

    if (CanUseGroupState()) {
        CArray<int, int> ids;
        if (!CollectGroupIds(ids))
            return -1;
        for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
            RECT header = {};
            if (GetGroupRect(ids[i], &header, LVGGR_HEADER) && ::PtInRect(&header, point))
                return ids[i];
        }
        return -1;
    }

    // Before Windows 6.0 there are no group rectangles: the first row below the point tells. When
    // it is the first row of its group, the point lies on that group's header.
    if (GetItemCount() == 0)
        return -1;
    RECT client = {};
    GetClientRect(&client);
    for (CPoint probe = point; probe.y < client.bottom; probe.y += 2) {
        const int nRow = HitTest(probe);
        if (nRow == -1)
            continue;
        const int nGroupId = GetRowGroup(nRow);
        const int nAbove = GetNextItem(nRow, LVNI_ABOVE);
        if (nAbove == -1 || GetRowGroup(nAbove) != nGroupId)
            return nGroupId;
        return -1;
    }
    return -1;
}

// ---- moving rows between groups -------------------------------------------------------------------

bool CGridListCtrlGroups::MoveSelectionTo(int nGroupId)
{
    if ((GetStyle() & LVS_OWNERDATA) || nGroupId == -1)
        return false;
    int nRow = GetNextItem(-1, LVNI_SELECTED);
    if (nRow == -1)
        return false;
    while (nRow != -1) {
        const int nNext = GetNextItem(nRow, LVNI_SELECTED);
        if (GetRowGroup(nRow) != nGroupId)
            SetRowGroup(nRow, nGroupId);
        nRow = nNext;
    }
    return true;
}

bool CGridListCtrlGroups::DropWithinList(COleDataObject* /*pDataObject*/, DWORD /*dropEffect*/, CPoint point)
{
    LVHITTESTINFO hit = {};
    hit.pt = point;
    SubItemHitTest(&hit);
    const int nRow = (hit.flags & LVHT_ONITEM) != 0 ? hit.iItem : -1;

    if (!IsGroupViewEnabled())
        return CGridListCtrlEx::MoveSelectionTo(nRow);
    if (GetStyle() & LVS_OWNERDATA)
        return false;

    // A row without a group (or one the control cannot report) is no place to move rows to.
    const int nGroupId = nRow != -1 ? GetRowGroup(nRow) : GroupAtPoint(point);
    if (nGroupId < 0)
        return false;
    if (MoveSelectionTo(nGroupId) && nRow != -1)
        FocusDroppedRow(nRow);
    return true;
}

// ---- notifications and messages ------------------------------------------------------------------

BOOL CGridListCtrlGroups::OnGroupLinkClick(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    return FALSE;
}

BOOL CGridListCtrlGroups::OnGetEmptyMarkup(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (EmptyListText.IsEmpty())
        return FALSE;
    auto* pMarkup = reinterpret_cast<NMLVEMPTYMARKUP*>(pNMHDR);
    pMarkup->dwFlags = EMF_CENTERED;
    ::lstrcpynW(pMarkup->szMarkup, EmptyListText, L_MAX_URL_LENGTH);
    *pResult = TRUE;
    return TRUE;
}

LRESULT CGridListCtrlGroups::OnRemoveAllGroups(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    ForgetGrouping();
    return Default();
}

LRESULT CGridListCtrlGroups::OnDeleteAllItems(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (IsGroupViewEnabled())
        DisableGrouping();
    return Default();
}

void CGridListCtrlGroups::DisableGrouping()
{
    SendMessage(LVM_REMOVEALLGROUPS);
    SendMessage(LVM_ENABLEGROUPVIEW, FALSE);
}

BOOL CGridListCtrlGroups::OnGetDisplayInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pDispInfo = reinterpret_cast<NMLVDISPINFOW*>(pNMHDR);
    LVITEMW& item = pDispInfo->item;
    if (item.iItem < 0 || item.iItem >= GetItemCount() || item.iSubItem < 0 || item.iSubItem >= GetColumnCount())
        return FALSE;
    if (item.mask & LVIF_GROUPID) {
        int nGroupId = I_GROUPIDNONE;
        item.iGroupId = QueryCellGroupId(item.iItem, item.iSubItem, nGroupId) ? nGroupId : I_GROUPIDNONE;
    }
    return CGridListCtrlEx::OnGetDisplayInfo(pNMHDR, pResult);
}

BOOL CGridListCtrlGroups::OnHeaderEndDrag(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
{
    // A column dragged to a new place: the groups stay on screen, but no longer count as grouped
    // by a column, so the next header click groups anew.
    const auto* pHeader = reinterpret_cast<const NMHEADERW*>(pNMHDR);
    if (pHeader->pitem != nullptr && (pHeader->pitem->mask & HDI_ORDER))
        ForgetGrouping();
    return CGridListCtrlEx::OnHeaderEndDrag(nID, pNMHDR, pResult);
}

void CGridListCtrlGroups::OnDestroy()
{
    ForgetGrouping();
    CGridListCtrlEx::OnDestroy();
}

void CGridListCtrlGroups::OnPaint()
{
    // With the "Explorer" style the control draws the empty markup itself.
    if (ExplorerThemed) {
        Default();
        return;
    }
    CGridListCtrlEx::OnPaint();
}
