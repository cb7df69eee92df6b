#include "tests/support/GroupListView.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>

namespace uitest {

namespace {

std::map<HWND, GroupListView*>& Layers()
{
    static std::map<HWND, GroupListView*> layers;
    return layers;
}

// The text fields of a group record, in the order of Group::texts; the last four exist only in
// the Windows Vista layout.
const UINT kTextFlags[6] = {LVGF_HEADER, LVGF_FOOTER,         LVGF_SUBTITLE,
                            LVGF_TASK,   LVGF_DESCRIPTIONTOP, LVGF_DESCRIPTIONBOTTOM};

LPWSTR& TextField(LVGROUP& record, int i, UINT& capacity)
{
    switch (i) {
        case 0:
            capacity = static_cast<UINT>(record.cchHeader);
            return record.pszHeader;
        case 1:
            capacity = static_cast<UINT>(record.cchFooter);
            return record.pszFooter;
        case 2:
            capacity = record.cchSubtitle;
            return record.pszSubtitle;
        case 3:
            capacity = record.cchTask;
            return record.pszTask;
        case 4:
            capacity = record.cchDescriptionTop;
            return record.pszDescriptionTop;
        default:
            capacity = record.cchDescriptionBottom;
            return record.pszDescriptionBottom;
    }
}

bool FullRecord(const LVGROUP& record)
{
    return record.cbSize >= sizeof(LVGROUP);
}

bool ValidRecord(const LVGROUP* pRecord)
{
    return pRecord != nullptr && pRecord->cbSize >= LVGROUP_V5_SIZE;
}

}  // namespace

bool ListViewHasGroups()
{
    HWND hList = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 100, 100, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    if (hList == nullptr)
        return false;
    ::SendMessageW(hList, LVM_ENABLEGROUPVIEW, TRUE, 0);
    const bool enabled = ::SendMessageW(hList, LVM_ISGROUPVIEWENABLED, 0, 0) != 0;
    ::DestroyWindow(hList);
    return enabled;
}

bool GroupListView::Install(HWND hList)
{
    if (hList == nullptr)
        return false;
    m_hWnd = hList;
    Layers()[hList] = this;
    m_original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GroupListView::Proc)));
    return m_original != nullptr;
}

LRESULT CALLBACK GroupListView::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto it = Layers().find(hWnd);
    if (it == Layers().end())
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    GroupListView* pLayer = it->second;
    if (message == WM_NCDESTROY) {
        Layers().erase(it);
        return ::CallWindowProcW(pLayer->m_original, hWnd, message, wParam, lParam);
    }
    return pLayer->Handle(message, wParam, lParam);
}

LRESULT GroupListView::Real(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_original, m_hWnd, message, wParam, lParam);
}

LRESULT GroupListView::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* pGroup = reinterpret_cast<LVGROUP*>(lParam);
    const int nId = static_cast<int>(wParam);
    switch (message) {
        case LVM_ENABLEGROUPVIEW:
            if ((wParam != 0) == m_enabled)
                return 0;
            m_enabled = wParam != 0;
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
            return 1;
        case LVM_ISGROUPVIEWENABLED:
            return m_enabled ? TRUE : FALSE;
        case LVM_INSERTGROUP:
            return InsertGroup(nId, pGroup);
        case LVM_SETGROUPINFO:
        case LVM_GETGROUPINFO: {
            Group* pFound = Find(nId);
            if (pFound == nullptr || !ValidRecord(pGroup))
                return -1;
            if (message == LVM_SETGROUPINFO)
                Store(*pFound, *pGroup);
            else
                Give(*pFound, *pGroup);
            return pFound->id;
        }
        case LVM_GETGROUPINFOBYINDEX:
            if (nId < 0 || nId >= static_cast<int>(m_groups.size()) || !ValidRecord(pGroup))
                return FALSE;
            Give(m_groups[static_cast<size_t>(nId)], *pGroup);
            return TRUE;
        case LVM_REMOVEGROUP:
            return RemoveGroup(nId);
        case LVM_REMOVEALLGROUPS:
            m_groups.clear();
            m_itemGroups.clear();
            return 0;
        case LVM_HASGROUP:
            return Find(nId) != nullptr ? TRUE : FALSE;
        case LVM_GETGROUPCOUNT:
            return static_cast<LRESULT>(m_groups.size());
        case LVM_GETGROUPRECT:
            return GroupRect(nId, reinterpret_cast<RECT*>(lParam));
        case LVM_SETGROUPMETRICS:
        case LVM_GETGROUPMETRICS:
            return Metrics(reinterpret_cast<LVGROUPMETRICS*>(lParam), message == LVM_SETGROUPMETRICS);
        case LVM_SORTGROUPS: {
            auto compare = reinterpret_cast<PFNLVGROUPCOMPARE>(wParam);
            if (compare == nullptr)
                return FALSE;
            void* pContext = reinterpret_cast<void*>(lParam);
            std::stable_sort(m_groups.begin(), m_groups.end(),
                             [&](const Group& a, const Group& b) { return compare(a.id, b.id, pContext) < 0; });
            return TRUE;
        }
        case LVM_MOVEITEMTOGROUP:
            return 0;
        case LVM_INSERTITEMA:
        case LVM_INSERTITEMW:
        case LVM_SETITEMA:
        case LVM_SETITEMW:
        case LVM_GETITEMA:
        case LVM_GETITEMW:
            return Item(message, reinterpret_cast<LVITEMW*>(lParam));
        case LVM_DELETEITEM:
            m_itemGroups.erase(static_cast<UINT>(Real(LVM_MAPINDEXTOID, wParam, 0)));
            return Real(message, wParam, lParam);
        case LVM_DELETEALLITEMS:
            // The real list view numbers its items anew once it is empty.
            m_itemGroups.clear();
            return Real(message, wParam, lParam);
        default:
            break;
    }
    if (!m_enabled)
        return Real(message, wParam, lParam);
    switch (message) {
        case LVM_GETITEMRECT:
        case LVM_GETSUBITEMRECT:
            return ItemRect(message, nId, reinterpret_cast<RECT*>(lParam));
        case LVM_HITTEST:
        case LVM_SUBITEMHITTEST:
            return HitTest(message, wParam, reinterpret_cast<LVHITTESTINFO*>(lParam));
        case LVM_GETNEXTITEM:
            if (LOWORD(lParam) & (LVNI_ABOVE | LVNI_BELOW))
                return NextItem(nId, LOWORD(lParam));
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            return Real(message, wParam, ToRealPoint(lParam));
        case WM_RBUTTONUP:
            // Kept where the mouse is: the real list view answers it only with the default
            // WM_CONTEXTMENU (when a pointer move during its wait for the button took the press
            // as the start of a drag), whose point the grid reads in this layout.
            return Real(message, wParam, lParam);
        default:
            break;
    }
    return Real(message, wParam, lParam);
}

// ---- group records --------------------------------------------------------------------------------

GroupListView::Group* GroupListView::Find(int nGroupId)
{
    for (Group& group : m_groups)
        if (group.id == nGroupId)
            return &group;
    return nullptr;
}

LRESULT GroupListView::InsertGroup(int nIndex, const LVGROUP* pRecord)
{
    if (!ValidRecord(pRecord) || !(pRecord->mask & LVGF_GROUPID) || Find(pRecord->iGroupId) != nullptr)
        return -1;
    if (m_refusals > 0) {
        --m_refusals;
        return -1;
    }
    Group group;
    group.id = pRecord->iGroupId;
    Store(group, *pRecord);
    if (pRecord->mask & LVGF_STATE)
        group.state = pRecord->state;
    if (nIndex < 0 || nIndex > static_cast<int>(m_groups.size()))
        nIndex = static_cast<int>(m_groups.size());
    m_groups.insert(m_groups.begin() + nIndex, group);
    return nIndex;
}

LRESULT GroupListView::RemoveGroup(int nGroupId)
{
    for (size_t i = 0; i < m_groups.size(); ++i) {
        if (m_groups[i].id != nGroupId)
            continue;
        m_groups.erase(m_groups.begin() + static_cast<std::ptrdiff_t>(i));
        for (auto it = m_itemGroups.begin(); it != m_itemGroups.end();)
            it = it->second == nGroupId ? m_itemGroups.erase(it) : std::next(it);
        return static_cast<LRESULT>(i);
    }
    return -1;
}

void GroupListView::Store(Group& group, const LVGROUP& constRecord)
{
    LVGROUP record = constRecord;
    for (int i = 0; i < 6; ++i) {
        if (!(record.mask & kTextFlags[i]) || (i >= 2 && !FullRecord(record)))
            continue;
        UINT capacity = 0;
        const LPWSTR text = TextField(record, i, capacity);
        group.texts[i] = text != nullptr ? text : L"";
    }
    if (record.mask & LVGF_STATE)
        group.state = (group.state & ~record.stateMask) | (record.state & record.stateMask);
    if (record.mask & LVGF_ALIGN)
        group.align = record.uAlign;
    if ((record.mask & LVGF_TITLEIMAGE) && FullRecord(record))
        group.titleImage = record.iTitleImage;
}

void GroupListView::Give(const Group& group, LVGROUP& record)
{
    for (int i = 0; i < 6; ++i) {
        if (!(record.mask & kTextFlags[i]) || (i >= 2 && !FullRecord(record)))
            continue;
        UINT capacity = 0;
        LPWSTR buffer = TextField(record, i, capacity);
        if (buffer == nullptr || capacity == 0)
            continue;
        const size_t length = std::min<size_t>(group.texts[i].size(), capacity - 1);
        group.texts[i].copy(buffer, length);
        buffer[length] = L'\0';
    }
    if (record.mask & LVGF_GROUPID)
        record.iGroupId = group.id;
    if (record.mask & LVGF_STATE)
        record.state = group.state & record.stateMask;
    if (record.mask & LVGF_ALIGN)
        record.uAlign = group.align;
    if ((record.mask & LVGF_TITLEIMAGE) && FullRecord(record))
        record.iTitleImage = group.titleImage;
}

LRESULT GroupListView::Metrics(LVGROUPMETRICS* pMetrics, bool set)
{
    if (pMetrics == nullptr)
        return 0;
    LVGROUPMETRICS& from = set ? *pMetrics : m_metrics;
    LVGROUPMETRICS& to = set ? m_metrics : *pMetrics;
    if (pMetrics->mask & LVGMF_BORDERSIZE) {
        to.Left = from.Left;
        to.Top = from.Top;
        to.Right = from.Right;
        to.Bottom = from.Bottom;
    }
    if (pMetrics->mask & LVGMF_BORDERCOLOR) {
        to.crLeft = from.crLeft;
        to.crTop = from.crTop;
        to.crRight = from.crRight;
        to.crBottom = from.crBottom;
    }
    if (pMetrics->mask & LVGMF_TEXTCOLOR) {
        to.crHeader = from.crHeader;
        to.crFooter = from.crFooter;
    }
    return 0;
}

// ---- items ----------------------------------------------------------------------------------------

int GroupListView::ItemGroup(int nRow)
{
    auto it = m_itemGroups.find(static_cast<UINT>(Real(LVM_MAPINDEXTOID, static_cast<WPARAM>(nRow), 0)));
    return it != m_itemGroups.end() ? it->second : I_GROUPIDNONE;
}

void GroupListView::SetItemGroup(int nRow, int nGroupId)
{
    const auto id = static_cast<UINT>(Real(LVM_MAPINDEXTOID, static_cast<WPARAM>(nRow), 0));
    if (nGroupId == I_GROUPIDNONE)
        m_itemGroups.erase(id);
    else
        m_itemGroups[id] = nGroupId;
}

LRESULT GroupListView::Item(UINT message, LVITEMW* pItem)
{
    if (pItem == nullptr || !(pItem->mask & LVIF_GROUPID))
        return Real(message, 0, reinterpret_cast<LPARAM>(pItem));
    // The real list view gets the rest of the record (ANSI and wide records have one layout).
    LVITEMW rest = *pItem;
    rest.mask &= ~LVIF_GROUPID;
    const int nCount = static_cast<int>(Real(LVM_GETITEMCOUNT, 0, 0));
    if (message == LVM_INSERTITEMA || message == LVM_INSERTITEMW) {
        const int nRow = static_cast<int>(Real(message, 0, reinterpret_cast<LPARAM>(&rest)));
        if (nRow >= 0)
            SetItemGroup(nRow, pItem->iGroupId);
        return nRow;
    }
    if (pItem->iItem < 0 || pItem->iItem >= nCount)
        return FALSE;
    if (rest.mask != 0 && !Real(message, 0, reinterpret_cast<LPARAM>(&rest)))
        return FALSE;
    if (message == LVM_SETITEMA || message == LVM_SETITEMW) {
        SetItemGroup(pItem->iItem, pItem->iGroupId);
        return TRUE;
    }
    rest.mask = pItem->mask;
    rest.iGroupId = ItemGroup(pItem->iItem);
    *pItem = rest;
    return TRUE;
}

// ---- layout ---------------------------------------------------------------------------------------

int GroupListView::Layout::SlotOfRow(int nRow) const
{
    for (size_t s = 0; s < slots.size(); ++s)
        if (slots[s].row == nRow)
            return static_cast<int>(s);
    return -1;
}

int GroupListView::Layout::SlotAt(int y) const
{
    if (rowHeight == 0 || y < top)
        return -1;
    const int s = (y - top) / rowHeight;
    return s < static_cast<int>(slots.size()) ? s : -1;
}

GroupListView::Layout GroupListView::MakeLayout()
{
    Layout layout;
    layout.rows = static_cast<int>(Real(LVM_GETITEMCOUNT, 0, 0));
    RECT first = {LVIR_BOUNDS, 0, 0, 0};
    if (layout.rows == 0 || !Real(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)))
        return layout;
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    layout.top = first.top;
    layout.rowHeight = first.bottom - first.top;
    layout.left = first.left;
    layout.right = std::max(first.right, client.right);
    std::vector<int> rowGroups;
    for (int r = 0; r < layout.rows; ++r)
        rowGroups.push_back(ItemGroup(r));
    for (const Group& group : m_groups) {
        if (std::find(rowGroups.begin(), rowGroups.end(), group.id) == rowGroups.end())
            continue;
        layout.slots.push_back({-1, group.id});
        if (group.state & LVGS_COLLAPSED)
            continue;
        for (int r = 0; r < layout.rows; ++r)
            if (rowGroups[static_cast<size_t>(r)] == group.id)
                layout.slots.push_back({r, group.id});
    }
    return layout;
}

LRESULT GroupListView::GroupRect(int nGroupId, RECT* pRect)
{
    if (!m_enabled || pRect == nullptr || pRect->top == LVGGR_SUBSETLINK)
        return FALSE;
    const Layout layout = MakeLayout();
    int s = 0;
    while (s < static_cast<int>(layout.slots.size()) && !(layout.slots[static_cast<size_t>(s)].row == -1 &&
                                                          layout.slots[static_cast<size_t>(s)].groupId == nGroupId))
        ++s;
    if (s == static_cast<int>(layout.slots.size()))
        return FALSE;
    int end = s + 1;
    if (pRect->top == LVGGR_GROUP) {
        while (end < static_cast<int>(layout.slots.size()) && layout.slots[static_cast<size_t>(end)].row != -1)
            ++end;
    }
    *pRect = {layout.left, layout.top + s * layout.rowHeight, layout.right, layout.top + end * layout.rowHeight};
    return TRUE;
}

LRESULT GroupListView::ItemRect(UINT message, int nRow, RECT* pRect)
{
    const Layout layout = MakeLayout();
    if (nRow < 0 || nRow >= layout.rows)
        return Real(message, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(pRect));
    const int s = layout.SlotOfRow(nRow);
    if (s == -1 || !Real(message, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(pRect)))
        return FALSE;
    ::OffsetRect(pRect, 0, (s - nRow) * layout.rowHeight);
    return TRUE;
}

LRESULT GroupListView::HitTest(UINT message, WPARAM wParam, LVHITTESTINFO* pInfo)
{
    const Layout layout = MakeLayout();
    if (pInfo == nullptr || layout.rowHeight == 0 || pInfo->pt.y < layout.top)
        return Real(message, wParam, reinterpret_cast<LPARAM>(pInfo));
    const int s = layout.SlotAt(pInfo->pt.y);
    const int nRow = s == -1 ? -1 : layout.slots[static_cast<size_t>(s)].row;
    if (nRow == -1) {
        pInfo->flags = s == -1 ? LVHT_NOWHERE : LVHT_EX_GROUP_HEADER;
        pInfo->iItem = -1;
        if (message == LVM_SUBITEMHITTEST)
            pInfo->iSubItem = -1;
        return -1;
    }
    const POINT pt = pInfo->pt;
    pInfo->pt.y -= (s - nRow) * layout.rowHeight;
    const LRESULT result = Real(message, wParam, reinterpret_cast<LPARAM>(pInfo));
    pInfo->pt = pt;
    return result;
}

LRESULT GroupListView::NextItem(int nStart, UINT flags)
{
    const Layout layout = MakeLayout();
    const int start = layout.SlotOfRow(nStart);
    if (start == -1)
        return -1;
    const int step = (flags & LVNI_ABOVE) ? -1 : 1;
    const UINT states = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    const int nGroupId = layout.slots[static_cast<size_t>(start)].groupId;
    for (int s = start + step; s >= 0 && s < static_cast<int>(layout.slots.size()); s += step) {
        const Slot& slot = layout.slots[static_cast<size_t>(s)];
        if ((flags & LVNI_SAMEGROUPONLY) && slot.groupId != nGroupId)
            break;
        if (slot.row != -1 && (Real(LVM_GETITEMSTATE, static_cast<WPARAM>(slot.row), states) & states) == states)
            return slot.row;
    }
    return -1;
}

LPARAM GroupListView::ToRealPoint(LPARAM lParam)
{
    const Layout layout = MakeLayout();
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    if (layout.rowHeight == 0 || y < layout.top)
        return lParam;
    const int s = layout.SlotAt(y);
    const int nRow = s == -1 ? -1 : layout.slots[static_cast<size_t>(s)].row;
    if (nRow != -1)
        return MAKELPARAM(x, y - (s - nRow) * layout.rowHeight);
    return MAKELPARAM(x, layout.top + layout.rows * layout.rowHeight + 1);
}

}  // namespace uitest
