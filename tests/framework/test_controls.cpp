#include "framework/controls.h"
#include "test_strings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A top-level window of the class library that the controls are created in.
class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&icc));
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"controls", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr));
    }

    CWnd m_parent;
};

std::vector<int> Parts(CStatusBar& bar)
{
    int count = static_cast<int>(bar.SendMessage(SB_GETPARTS, 0, 0));
    std::vector<int> edges(static_cast<size_t>(count > 0 ? count : 0));
    if (count > 0)
        bar.SendMessage(SB_GETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

CString RawPaneText(CStatusBar& bar, int pane, WORD* pType = nullptr)
{
    CString text;
    LRESULT r = bar.SendMessage(SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text.GetBuffer(300)));
    text.ReleaseBuffer();
    if (pType)
        *pType = HIWORD(r);
    return text;
}

}  // namespace

// ---- list view ------------------------------------------------------------------------------

class ListCtrlTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 500, 300),
                                  &m_parent, 1019));
        ASSERT_EQ(0, m_list.InsertColumn(0, L"No", LVCFMT_LEFT, 60));
        ASSERT_EQ(1, m_list.InsertColumn(1, L"COM Port", LVCFMT_CENTER, 90));
        ASSERT_EQ(2, m_list.InsertColumn(2, L"Alias", LVCFMT_LEFT, 120, 2));
        for (int i = 0; i < 5; ++i) {
            CString text;
            text.Format(L"%4d", i + 1);
            ASSERT_EQ(i, m_list.InsertItem(i, text));
            text.Format(L"COM%d", i + 1);
            ASSERT_TRUE(m_list.SetItemText(i, 1, text));
            ASSERT_TRUE(m_list.SetItemData(i, static_cast<DWORD_PTR>(100 + i)));
        }
    }

    CListCtrl m_list;
};

TEST_F(ListCtrlTest, HeaderWrapperIsOneTemporaryObject)
{
    CHeaderCtrl* pHeader = m_list.GetHeaderCtrl();
    ASSERT_NE(nullptr, pHeader);
    EXPECT_EQ(pHeader, m_list.GetHeaderCtrl());
    HDITEMW item = {};
    wchar_t text[32] = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    ASSERT_TRUE(pHeader->GetItem(2, &item));
    EXPECT_STREQ(L"Alias", text);
    item.mask = HDI_FORMAT;
    ASSERT_TRUE(pHeader->GetItem(1, &item));
    EXPECT_EQ(HDF_CENTER, item.fmt & HDF_JUSTIFYMASK);  // as the column was inserted
    CRect rect;
    ASSERT_TRUE(pHeader->GetItemRect(1, &rect));
    EXPECT_EQ(60, rect.left);
    EXPECT_EQ(150, rect.right);
}

TEST_F(ListCtrlTest, TextRoundTripsWhateverItsLength)
{
    EXPECT_STREQ(L"   3", m_list.GetItemText(2, 0));
    EXPECT_STREQ(L"COM3", m_list.GetItemText(2, 1));
    EXPECT_STREQ(L"", m_list.GetItemText(2, 2));
    CString longText(L'x', 1000);
    longText += L"\xC815\xBCF4";
    ASSERT_TRUE(m_list.SetItemText(4, 2, longText));
    EXPECT_STREQ(longText, m_list.GetItemText(4, 2));
    EXPECT_STREQ(L"", m_list.GetItemText(99, 0));
    wchar_t small[4] = {};
    EXPECT_EQ(3, m_list.GetItemText(1, 1, small, 4));  // cut to the buffer
    EXPECT_STREQ(L"COM", small);
}

TEST_F(ListCtrlTest, ItemDataKeepsAllBits)
{
    EXPECT_EQ(102u, m_list.GetItemData(2));
    const DWORD_PTR wide = static_cast<DWORD_PTR>(0x123456789ABCDEF0ull);
    ASSERT_TRUE(m_list.SetItemData(3, wide));
    EXPECT_EQ(wide, m_list.GetItemData(3));
    EXPECT_EQ(0u, m_list.GetItemData(50));
    EXPECT_STREQ(L"COM4", m_list.GetItemText(3, 1));  // setting data leaves the text
}

TEST_F(ListCtrlTest, SelectedItemsAreFoundInOrder)
{
    EXPECT_EQ(-1, m_list.GetNextItem(-1, LVNI_SELECTED));
    ASSERT_TRUE(m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
    ASSERT_TRUE(m_list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(2u, m_list.GetSelectedCount());
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED), m_list.GetItemState(3, LVIS_SELECTED));
    EXPECT_EQ(1, m_list.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ(3, m_list.GetNextItem(1, LVNI_SELECTED));
    ASSERT_TRUE(m_list.SetItemState(-1, 0, LVIS_SELECTED));  // -1: every item
    EXPECT_EQ(0u, m_list.GetSelectedCount());
}

TEST_F(ListCtrlTest, RectanglesAndHitTestsAgree)
{
    CRect item, sub;
    ASSERT_TRUE(m_list.GetItemRect(2, &item, LVIR_BOUNDS));
    ASSERT_TRUE(m_list.GetSubItemRect(2, 1, LVIR_BOUNDS, sub));
    EXPECT_EQ(60, sub.left - item.left);
    EXPECT_EQ(90, sub.Width());
    EXPECT_EQ(item.top, sub.top);
    CRect label;
    ASSERT_TRUE(m_list.GetItemRect(2, &label, LVIR_LABEL));
    EXPECT_EQ(2, m_list.HitTest(label.CenterPoint()));
    LVHITTESTINFO info = {};
    info.pt = sub.CenterPoint();
    EXPECT_EQ(2, m_list.SubItemHitTest(&info));
    EXPECT_EQ(2, info.iItem);
    EXPECT_EQ(1, info.iSubItem);
    UINT flags = 0;
    EXPECT_EQ(-1, m_list.HitTest(CPoint(10, 290), &flags));
    EXPECT_NE(0u, flags & LVHT_NOWHERE);
}

TEST_F(ListCtrlTest, ColumnOrderRoundTrips)
{
    int order[3] = {2, 0, 1};
    ASSERT_TRUE(m_list.SetColumnOrderArray(3, order));
    int read[3] = {-1, -1, -1};
    ASSERT_TRUE(m_list.GetColumnOrderArray(read));  // the count comes from the header
    EXPECT_EQ(2, read[0]);
    EXPECT_EQ(0, read[1]);
    EXPECT_EQ(1, read[2]);
    EXPECT_EQ(2, m_list.GetHeaderCtrl()->OrderToIndex(0));
}

namespace {
int CALLBACK DescendingByData(LPARAM a, LPARAM b, LPARAM)
{
    return a < b ? 1 : (a > b ? -1 : 0);
}
}  // namespace

TEST_F(ListCtrlTest, SortItemsReordersRowsWithTheirTexts)
{
    ASSERT_TRUE(m_list.SortItems(DescendingByData, 0));
    EXPECT_STREQ(L"COM5", m_list.GetItemText(0, 1));
    EXPECT_EQ(104u, m_list.GetItemData(0));
    EXPECT_STREQ(L"COM1", m_list.GetItemText(4, 1));
}

TEST_F(ListCtrlTest, ItemsMoveIntoGroups)
{
    m_list.SendMessage(LVM_ENABLEGROUPVIEW, TRUE);
    if (!m_list.IsGroupViewEnabled())
        GTEST_SKIP() << "this list view has no group view";
    LVGROUP group = {};
    group.cbSize = sizeof(group);
    group.mask = LVGF_HEADER | LVGF_GROUPID;
    group.pszHeader = const_cast<LPWSTR>(L"Seven");
    group.iGroupId = 7;
    ASSERT_NE(-1, m_list.InsertGroup(-1, &group));
    EXPECT_EQ(1, m_list.GetGroupCount());
    LVITEMW item = {};
    item.mask = LVIF_GROUPID;
    item.iItem = 2;
    item.iGroupId = 7;
    ASSERT_TRUE(m_list.SetItem(&item));
    item.iGroupId = 0;
    ASSERT_TRUE(m_list.GetItem(&item));
    EXPECT_EQ(7, item.iGroupId);
    EXPECT_NE(0, m_list.RemoveGroup(7));
    EXPECT_EQ(0, m_list.GetGroupCount());
}

// ---- status bar -----------------------------------------------------------------------------

TEST_F(ControlsTest, StatusBarTranslatesBarStylesIntoWindowStyles)
{
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&m_parent, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR));
    const DWORD style = bar.GetStyle();
    const DWORD required = CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE | SBARS_SIZEGRIP;
    EXPECT_EQ(required, style & required);
    EXPECT_EQ(0u, style & static_cast<DWORD>(CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP));
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE), style & (WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(59393, bar.GetDlgCtrlID());
    EXPECT_EQ(m_parent.m_hWnd, ::GetParent(bar.m_hWnd));
}

TEST_F(ControlsTest, StatusBarHasNoSizeGripUnderAFixedParent)
{
    CWnd fixed;
    ASSERT_TRUE(fixed.CreateEx(0, nullptr, L"fixed", WS_POPUP | WS_CAPTION, 0, 0, 300, 200, nullptr, nullptr));
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&fixed, 0x50008200, 59393));
    EXPECT_EQ(0u, bar.GetStyle() & SBARS_SIZEGRIP);
    EXPECT_NE(0u, bar.GetStyle() & CCS_NORESIZE);
}

TEST_F(ControlsTest, StatusBarStaysWhereItsOwnerPutsIt)
{
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&m_parent, 0x50008200, 59393));
    ASSERT_TRUE(bar.MoveWindow(0, 100, 300, 20));
    bar.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));  // what a parent's resize sends
    CRect rect;
    bar.GetWindowRect(&rect);
    m_parent.ScreenToClient(&rect);
    EXPECT_EQ(CRect(0, 100, 300, 120), rect);
}

TEST_F(ControlsTest, StatusBarIndicatorsLoadTheirTexts)
{
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&m_parent, 0x50008200, 59393));
    const UINT ids[] = {IDS_TEST_PANE0, IDS_TEST_PANE1};
    ASSERT_TRUE(bar.SetIndicators(ids, 2));
    EXPECT_EQ(2, bar.GetCount());
    EXPECT_STREQ(L"\x3145\x3145", RawPaneText(bar, 0));
    EXPECT_STREQ(L"Second pane", RawPaneText(bar, 1));
    EXPECT_STREQ(L"Second pane", bar.GetPaneText(1));
    std::vector<int> edges = Parts(bar);
    ASSERT_EQ(2u, edges.size());
    EXPECT_GT(edges[0], 0);
    EXPECT_GT(edges[1], edges[0]);
}

TEST_F(ControlsTest, StatusBarRefusesAMissingIndicatorString)
{
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&m_parent, 0x50008200, 59393));
    const UINT good[] = {IDS_TEST_PANE0};
    ASSERT_TRUE(bar.SetIndicators(good, 1));
    const UINT bad[] = {IDS_TEST_PANE1, IDS_TEST_MISSING};
    EXPECT_FALSE(bar.SetIndicators(bad, 2));
    EXPECT_EQ(1, bar.GetCount());
    EXPECT_STREQ(L"\x3145\x3145", bar.GetPaneText(0));
}

TEST_F(ControlsTest, StatusBarPaneInfoSetsWidthAndKeepsText)
{
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&m_parent, 0x50008200, 59393));
    const UINT ids[] = {IDS_TEST_PANE0, IDS_TEST_PANE1};
    ASSERT_TRUE(bar.SetIndicators(ids, 2));
    ASSERT_TRUE(bar.SetPaneText(0, L"  Ready"));
    bar.SetPaneInfo(0, IDS_TEST_PANE0, SBPS_NORMAL, 500);
    std::vector<int> edges = Parts(bar);
    ASSERT_EQ(2u, edges.size());
    EXPECT_GE(edges[0], 500);
    EXPECT_LE(edges[0], 520);
    EXPECT_STREQ(L"  Ready", RawPaneText(bar, 0));
    UINT id = 0, style = 0;
    int width = 0;
    bar.GetPaneInfo(0, id, style, width);
    EXPECT_EQ(static_cast<UINT>(IDS_TEST_PANE0), id);
    EXPECT_EQ(static_cast<UINT>(SBPS_NORMAL), style);
    EXPECT_EQ(500, width);

    bar.SetPaneInfo(1, IDS_TEST_PANE1, SBT_POPOUT, 80);
    WORD type = 0;
    EXPECT_STREQ(L"Second pane", RawPaneText(bar, 1, &type));
    EXPECT_EQ(static_cast<WORD>(SBT_POPOUT), static_cast<WORD>(type & SBT_POPOUT));
}

TEST_F(ControlsTest, StatusBarRejectsPaneIndexesOutsideItsPanes)
{
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&m_parent, 0x50008200, 59393));
    const UINT ids[] = {IDS_TEST_PANE0};
    ASSERT_TRUE(bar.SetIndicators(ids, 1));
    UINT id = 0, style = 0;
    int width = 0;
    EXPECT_THROW(bar.GetPaneInfo(1, id, style, width), CInvalidArgException*);
    EXPECT_THROW(bar.SetPaneInfo(-1, 0, 0, 10), CInvalidArgException*);
    EXPECT_FALSE(bar.SetPaneText(1, L"x"));
    EXPECT_STREQ(L"", bar.GetPaneText(5));
}

// ---- the other controls ---------------------------------------------------------------------

TEST_F(ControlsTest, TabControlInsertsAndSelects)
{
    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WC_TABCONTROLW, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &m_parent, 1000));
    EXPECT_EQ(0, tabs.InsertItem(0, L"Port Info"));
    EXPECT_EQ(1, tabs.InsertItem(1, L"Status"));
    EXPECT_EQ(0, tabs.GetCurSel());
    wchar_t text[32] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    ASSERT_TRUE(tabs.SendMessage(TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(L"Status", text);
    tabs.SendMessage(TCM_SETCURSEL, 1);
    EXPECT_EQ(1, tabs.GetCurSel());
}

TEST_F(ControlsTest, ComboBoxItemsTextsAndData)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST | WS_VSCROLL, CRect(0, 0, 100, 200), &m_parent, 1003));
    for (int n : {5, 7, 12}) {
        CString text;
        text.Format(L"COM%d", n);
        int index = combo.AddString(text);
        ASSERT_GE(index, 0);
        ASSERT_NE(CB_ERR, combo.SetItemData(index, static_cast<DWORD_PTR>(0x100000000ull + n)));
    }
    EXPECT_EQ(3, combo.GetCount());
    CString text;
    EXPECT_EQ(5, combo.GetLBText(2, text));
    EXPECT_STREQ(L"COM12", text);
    EXPECT_EQ(static_cast<DWORD_PTR>(0x100000007ull), combo.GetItemData(1));
    EXPECT_EQ(1, combo.FindStringExact(-1, L"COM7"));
    EXPECT_EQ(CB_ERR, combo.FindStringExact(-1, L"COM1"));
    EXPECT_EQ(CB_ERR, combo.GetCurSel());
    EXPECT_EQ(2, combo.SetCurSel(2));
    EXPECT_EQ(2, combo.GetCurSel());
    EXPECT_EQ(CB_ERR, combo.GetLBText(9, text));
    EXPECT_TRUE(text.IsEmpty());
}

TEST_F(ControlsTest, IpAddressFieldsMostSignificantFirst)
{
    CIPAddressCtrl address;
    ASSERT_TRUE(address.Create(WC_IPADDRESSW, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 150, 20), &m_parent, 1007));
    address.SendMessage(IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 0, 1));
    DWORD value = 0;
    EXPECT_EQ(4, address.GetAddress(value));
    EXPECT_EQ(0xC0A80001u, value);
    address.SendMessage(IPM_CLEARADDRESS);
    EXPECT_EQ(0, address.GetAddress(value));
}

namespace {
class RecordingButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        ++drawCount;
        lastItemId = lpDrawItemStruct->CtlID;
    }
    int drawCount = 0;
    UINT lastItemId = 0;
};
}  // namespace

TEST_F(ControlsTest, OwnerDrawnButtonDrawsItself)
{
    RecordingButton button;
    ASSERT_TRUE(
        button.Create(WC_BUTTONW, L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 32, 32), &m_parent, 1022));
    m_parent.ShowWindow(SW_SHOWNA);
    button.Invalidate();
    button.UpdateWindow();
    EXPECT_GE(button.drawCount, 1);
    EXPECT_EQ(1022u, button.lastItemId);
}

TEST_F(ControlsTest, ToolTipToolsAndTexts)
{
    CButton button;
    ASSERT_TRUE(button.Create(WC_BUTTONW, L"Add", WS_CHILD | WS_VISIBLE, CRect(0, 0, 32, 32), &m_parent, 1022));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&button));
    EXPECT_EQ(0, tip.GetToolCount());
    CRect client;
    button.GetClientRect(&client);
    ASSERT_TRUE(tip.AddTool(&button, L"Add port(s)", &client, 1));
    EXPECT_EQ(1, tip.GetToolCount());
    CString text;
    tip.GetText(text, &button, 1);
    EXPECT_STREQ(L"Add port(s)", text);
    tip.UpdateTipText(L"Delete port(s)", &button, 1);
    tip.GetText(text, &button, 1);
    EXPECT_STREQ(L"Delete port(s)", text);

    // The window itself as the tool.
    ASSERT_TRUE(tip.AddTool(&button, L"OK"));
    EXPECT_EQ(2, tip.GetToolCount());
    tip.GetText(text, &button);
    EXPECT_STREQ(L"OK", text);

    tip.SetMaxTipWidth(400);
    EXPECT_EQ(400, tip.GetMaxTipWidth());
    tip.SetTipBkColor(0xFBF0E6);
    EXPECT_EQ(0xFBF0E6u, tip.GetTipBkColor());
}

// ---- menus ----------------------------------------------------------------------------------

TEST(CMenuItems, BuildAndReadBack)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 32772, L"&Exit"));
    ASSERT_TRUE(menu.AppendMenu(MF_SEPARATOR));
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 0x0010, L"SarventoCtl \xC815\xBCF4(&A)..."));
    EXPECT_EQ(3u, menu.GetMenuItemCount());
    EXPECT_EQ(32772u, ::GetMenuItemID(menu.m_hMenu, 0));
    EXPECT_EQ(0u, ::GetMenuItemID(menu.m_hMenu, 1));
    wchar_t text[64] = {};
    EXPECT_EQ(21, ::GetMenuStringW(menu.m_hMenu, 0x0010, text, 64, MF_BYCOMMAND));
    EXPECT_STREQ(L"SarventoCtl \xC815\xBCF4(&A)...", text);
}

TEST(CMenuItems, LoadedMenu)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    EXPECT_FALSE(menu.LoadMenu(IDR_TEST_MENU));  // one menu per object
    EXPECT_EQ(1u, menu.GetMenuItemCount());
    wchar_t text[16] = {};
    ::GetMenuStringW(menu.m_hMenu, 0, text, 16, MF_BYPOSITION);
    EXPECT_STREQ(L"File", text);
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(IDS_TEST_MISSING));
}

TEST(CMenuItems, DestructorDestroysDetachKeeps)
{
    HMENU hDestroyed = nullptr;
    HMENU hKept = nullptr;
    {
        CMenu destroyed, kept;
        ASSERT_TRUE(destroyed.CreatePopupMenu());
        ASSERT_TRUE(kept.CreatePopupMenu());
        hDestroyed = destroyed.m_hMenu;
        hKept = kept.Detach();
    }
    EXPECT_FALSE(IsMenu(hDestroyed));
    EXPECT_TRUE(IsMenu(hKept));
    CMenu* pTemp = CMenu::FromHandle(hKept);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(hKept, pTemp->m_hMenu);
    EXPECT_TRUE(DestroyMenu(hKept));
    CMenu twice;
    ASSERT_TRUE(twice.CreatePopupMenu());
    EXPECT_TRUE(twice.DestroyMenu());
    EXPECT_FALSE(twice.DestroyMenu());
}

// ---- window DCs -----------------------------------------------------------------------------

TEST_F(ControlsTest, ClientDCBelongsToTheWindow)
{
    {
        CClientDC client(&m_parent);
        ASSERT_NE(nullptr, client.m_hDC);
        EXPECT_EQ(m_parent.m_hWnd, WindowFromDC(client));
    }
    CPaintDC none(nullptr);  // no window: nothing to paint, and no crash
    EXPECT_EQ(nullptr, none.m_hDC);
}

// Wine's list view has no group view, so the group calls are checked by the messages they send.
namespace {
class RecordingList : public CListCtrl {
public:
    struct Sent {
        UINT message;
        WPARAM wParam;
        int groupId;  // for LVM_INSERTGROUP / LVM_SETGROUPINFO
    };
    std::vector<Sent> sent;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= LVM_FIRST && message < LVM_FIRST + 0x100) {
            Sent s = {message, wParam, 0};
            if (message == LVM_INSERTGROUP || message == LVM_SETGROUPINFO)
                s.groupId = reinterpret_cast<const LVGROUP*>(lParam)->iGroupId;
            sent.push_back(s);
        }
        return CListCtrl::WindowProc(message, wParam, lParam);
    }
};
}  // namespace

TEST_F(ControlsTest, ListGroupCallsSendTheGroupMessages)
{
    RecordingList list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 200, 100), &m_parent, 1019));
    list.sent.clear();
    LVGROUP group = {};
    group.cbSize = sizeof(group);
    group.mask = LVGF_GROUPID;
    group.iGroupId = 7;
    list.InsertGroup(3, &group);
    list.SetGroupInfo(7, &group);
    list.RemoveGroup(7);
    ASSERT_EQ(3u, list.sent.size());
    EXPECT_EQ(static_cast<UINT>(LVM_INSERTGROUP), list.sent[0].message);
    EXPECT_EQ(static_cast<WPARAM>(3), list.sent[0].wParam);
    EXPECT_EQ(7, list.sent[0].groupId);
    EXPECT_EQ(static_cast<UINT>(LVM_SETGROUPINFO), list.sent[1].message);
    EXPECT_EQ(static_cast<WPARAM>(7), list.sent[1].wParam);
    EXPECT_EQ(static_cast<UINT>(LVM_REMOVEGROUP), list.sent[2].message);
    EXPECT_EQ(static_cast<WPARAM>(7), list.sent[2].wParam);
}
