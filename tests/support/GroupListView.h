// A list view with groups, for tests, over a list view that has none (Wine 8's).
//
// GroupListView is a window-procedure layer put under a real SysListView32 before anything else
// subclasses it. It answers the group messages of the common controls 6 as they are documented:
// LVM_ENABLEGROUPVIEW, LVM_ISGROUPVIEWENABLED, LVM_INSERTGROUP, LVM_REMOVEGROUP,
// LVM_REMOVEALLGROUPS, LVM_GETGROUPINFO, LVM_SETGROUPINFO, LVM_HASGROUP, LVM_GETGROUPCOUNT,
// LVM_GETGROUPINFOBYINDEX, LVM_GETGROUPRECT, LVM_SET/GETGROUPMETRICS, LVM_SORTGROUPS,
// LVM_MOVEITEMTOGROUP (which comctl32 6 does not implement either: it changes nothing) and an
// item's iGroupId in LVM_INSERTITEM, LVM_SETITEM and LVM_GETITEM. It keeps what it is told and
// answers from that; every other message goes on to the real list view.
//
// How much it models, and no more:
// - A group record keeps its id, header, footer, subtitle, task, descriptions, title image,
//   alignment and state. An insert takes the state as it is given (the state mask only serves
//   LVM_SETGROUPINFO and LVM_GETGROUPINFO); texts are read up to their terminating zero and given
//   back cut to the caller's buffer. An insert is refused when the id is taken or the record has
//   no id.
// - An item's group is held by the real list view's own item id (LVM_MAPINDEXTOID), so it moves
//   with the item when rows are sorted, inserted or deleted. Removing a group leaves its items
//   without one (I_GROUPIDNONE); an I_GROUPIDCALLBACK is kept as an id like any other.
// - Layout, only while group view is on, in report view with rows of one height: each group that
//   has rows takes one band of a row's height for its header, followed by its rows in index order
//   (none while LVGS_COLLAPSED). Groups without rows and rows without a group take no place. The
//   layout starts where the real list view puts its first row, so it scrolls with it, but the
//   scroll range, keyboard navigation and LVM_ENSUREVISIBLE remain the real list view's, which
//   knows nothing of the bands: the tests keep their lists within one page.
// - Item and subitem rectangles, hit tests (LVHT_EX_GROUP_HEADER on a band) and LVNI_ABOVE /
//   LVNI_BELOW (with LVNI_SAMEGROUPONLY) answer in that layout, and GETGROUPRECT gives the band
//   (LVGGR_HEADER, LVGGR_LABEL) or the band with its rows (LVGGR_GROUP). Mouse messages that reach
//   the window procedure are moved from the layout to the real list view's place of the same row
//   (a point on a band or below the rows goes just below the real rows), so a click reaches the
//   row the layout shows there; the messages the real list view takes from the queue itself
//   (Wine's does while it waits for a right button to come up) are not moved, nor is the right
//   button's release, from which the default WM_CONTEXTMENU takes its point.
// - Painting is the real list view's: no header is drawn, rows are drawn one under another.
// - Group metrics are kept and given back; they change nothing.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

namespace uitest {

// Whether the common controls of this process show groups in a list view: false under Wine 8,
// whose list view has no group view at all.
bool ListViewHasGroups();

class GroupListView {
public:
    GroupListView() = default;
    GroupListView(const GroupListView&) = delete;
    GroupListView& operator=(const GroupListView&) = delete;

    // Puts the layer on hList; later subclasses (the grid's) sit above it.
    bool Install(HWND hList);
    // Puts the layer on hList only where the list view has no group view of its own, so that
    // where it has one (Windows) the tests meet the real one.
    bool InstallWhereMissing(HWND hList) { return ListViewHasGroups() || Install(hList); }
    bool Installed() const { return m_hWnd != nullptr; }
    // The next `count` group inserts are refused, as by a control short of memory.
    void RefuseGroupInserts(int count) { m_refusals = count; }

private:
    struct Group {
        int id = 0;
        UINT state = 0;
        UINT align = 0;
        int titleImage = 0;
        std::wstring texts[6];  // header, footer, subtitle, task, top and bottom description
    };
    struct Slot {
        int row;  // -1: the header band of the group
        int groupId;
    };
    struct Layout {
        int top = 0;
        int rowHeight = 0;  // 0: no rows, no layout
        int left = 0;
        int right = 0;
        int rows = 0;
        std::vector<Slot> slots;
        int SlotOfRow(int nRow) const;
        int SlotAt(int y) const;  // -1 outside the slots
    };

    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Real(UINT message, WPARAM wParam, LPARAM lParam);

    Group* Find(int nGroupId);
    LRESULT InsertGroup(int nIndex, const LVGROUP* pGroup);
    LRESULT RemoveGroup(int nGroupId);
    static void Store(Group& group, const LVGROUP& record);
    static void Give(const Group& group, LVGROUP& record);
    LRESULT GroupRect(int nGroupId, RECT* pRect);
    LRESULT Metrics(LVGROUPMETRICS* pMetrics, bool set);

    int ItemGroup(int nRow);
    void SetItemGroup(int nRow, int nGroupId);
    LRESULT Item(UINT message, LVITEMW* pItem);

    Layout MakeLayout();
    LRESULT ItemRect(UINT message, int nRow, RECT* pRect);
    LRESULT HitTest(UINT message, WPARAM wParam, LVHITTESTINFO* pInfo);
    LRESULT NextItem(int nStart, UINT flags);
    LPARAM ToRealPoint(LPARAM lParam);

    HWND m_hWnd = nullptr;
    WNDPROC m_original = nullptr;
    bool m_enabled = false;
    std::vector<Group> m_groups;       // in their order
    std::map<UINT, int> m_itemGroups;  // the list view's item id -> group id
    LVGROUPMETRICS m_metrics = {};
    int m_refusals = 0;
};

}  // namespace uitest
