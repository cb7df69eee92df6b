// The grid's context menus: the header menu's items, ids and texts, acting on the choice, where
// the right mouse button and the keyboard open which menu.
#include "tests/grid_nav/NavTestSupport.h"

namespace navtest {
namespace {

const std::vector<std::wstring> kPortColumns = {L"No",         L"COM Port", L"Trigger", L"Alias",
                                                L"IP Address", L"Port",     L"Protocol"};

class Menus : public NavFixture {
protected:
    void SetUp() override
    {
        NavFixture::SetUp();
        AddColumns(kPortColumns);
        AddRows(4);
    }
    void TearDown() override
    {
        grid.setStateStore(nullptr, false);
        NavFixture::TearDown();
    }
    HWND Header() { return grid.GetHeaderCtrl()->m_hWnd; }
    // The screen point in the middle of a header item.
    CPoint HeaderItemCenter(int nCol)
    {
        RECT rect = {};
        grid.GetHeaderCtrl()->GetItemRect(nCol, &rect);
        CPoint pt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        ::ClientToScreen(Header(), &pt);
        return pt;
    }
    void ContextMenu(HWND hWndFrom, CPoint screen)
    {
        grid.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWndFrom), MAKELPARAM(screen.x, screen.y));
    }
    CPoint ToScreen(CPoint client)
    {
        grid.ClientToScreen(&client);
        return client;
    }
};

// What the port list shows under Wine 8 (common controls 5.81): the base menu.
TEST_F(Menus, ARightClickOnTheHeaderShowsOneCheckedItemPerColumnAndHidesTheChosenOne)
{
    MenuRecorder recorder;
    recorder.answer = 7;  // "Alias"
    const CPoint at = HeaderItemCenter(3);
    CPoint client = at;
    ::ScreenToClient(Header(), &client);
    // The user's right click on the header: the header turns it into WM_CONTEXTMENU for the list.
    ::SendMessageW(Header(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(client.x, client.y));
    ::SendMessageW(Header(), WM_RBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    uitest::PumpMessages();

    ASSERT_EQ(recorder.menus.size(), 1u);
    const auto& items = recorder.menus[0];
    ASSERT_EQ(items.size(), 7u);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].id, 4 + i);
        EXPECT_EQ(items[i].text, kPortColumns[i]);
        EXPECT_TRUE(items[i].checked);
        EXPECT_FALSE(items[i].disabled);
    }
    EXPECT_EQ(recorder.calls[0].hWndOwner, grid.m_hWnd);
    EXPECT_EQ(recorder.calls[0].nFlags & TPM_RETURNCMD, static_cast<UINT>(TPM_RETURNCMD));
    EXPECT_EQ(recorder.calls[0].x, at.x);
    EXPECT_EQ(recorder.calls[0].y, at.y);
    ASSERT_FALSE(grid.menuCalls.empty());
    EXPECT_EQ(grid.menuCalls.back().what, "header");
    EXPECT_EQ(grid.menuCalls.back().col, 3);

    EXPECT_FALSE(grid.IsColumnVisible(3));
    EXPECT_EQ(grid.GetColumnWidth(3), 0);
    ContextMenu(Header(), HeaderItemCenter(4));
    ASSERT_EQ(recorder.menus.size(), 2u);
    EXPECT_FALSE(recorder.menus[1][3].checked);
    EXPECT_TRUE(grid.IsColumnVisible(3)) << "choosing the item again shows the column";
}

TEST_F(Menus, LockedColumnsAreDisabledAndAlwaysHiddenOnesLeftOut)
{
    grid.GetColumnTrait(0)->AlwaysVisible = true;
    auto* pHidden = new CGridColumnTraitText;
    pHidden->AlwaysHidden = true;
    ASSERT_EQ(grid.InsertColumnWithTrait(7, L"Secret", LVCFMT_LEFT, 40, 7, pHidden), 7);
    MenuRecorder recorder;
    ContextMenu(Header(), HeaderItemCenter(1));
    ASSERT_EQ(recorder.menus.size(), 1u);
    const auto& items = recorder.menus[0];
    ASSERT_EQ(items.size(), 7u);
    EXPECT_TRUE(items[0].checked);
    EXPECT_TRUE(items[0].disabled);
    for (const auto& item : items)
        EXPECT_NE(item.text, L"Secret");
}

TEST_F(Menus, ProfilesFollowTheColumnItemsAndResetComesLast)
{
    FakeStore store;
    store.hasDefault = true;
    store.profiles = {L"P1", L"p2", L"P2"};
    store.activeProfile = L"P2";
    grid.setStateStore(&store, false);
    MenuRecorder recorder;
    recorder.answer = 14;  // the third profile
    ContextMenu(Header(), HeaderItemCenter(0));
    ASSERT_EQ(recorder.menus.size(), 1u);
    const auto& items = recorder.menus[0];
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[6].id, 10u);
    EXPECT_TRUE(items[7].separator);
    EXPECT_EQ(items[8].text, L"Column Profiles");
    ASSERT_EQ(items[8].popup.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(items[8].popup[i].id, 12 + i);
        EXPECT_EQ(items[8].popup[i].text, store.profiles[i]);
        EXPECT_EQ(items[8].popup[i].checked, i == 2) << "only the exact name of the active profile";
    }
    EXPECT_EQ(items[9].id, 3u);
    EXPECT_EQ(items[9].text, L"Reset columns");
    for (const auto& item : items)
        EXPECT_NE(item.id, 11u);
    EXPECT_EQ(store.activeProfile, L"P2") << "id 14 switched to the third profile";

    // Without profiles a separator stands before the reset item; without a default state there
    // is no reset item.
    store.profiles.clear();
    ContextMenu(Header(), HeaderItemCenter(0));
    ASSERT_EQ(recorder.menus[1].size(), 9u);
    EXPECT_TRUE(recorder.menus[1][7].separator);
    EXPECT_EQ(recorder.menus[1][8].id, 3u);
    store.hasDefault = false;
    ContextMenu(Header(), HeaderItemCenter(0));
    EXPECT_EQ(recorder.menus[2].size(), 7u);
}

class CommandGrid : public NavGrid {
public:
    bool listCommand = false;
    std::vector<std::string> ran;
    bool GetColumnCommandText(int nCol, CString& text) override
    {
        text.Format(L"Sort by %d", nCol);
        return true;
    }
    void OnColumnCommand(int nCol) override { ran.push_back("column " + std::to_string(nCol)); }
    bool GetListCommandText(CString& text) override
    {
        text = L"List command";
        return listCommand;
    }
    void OnListCommand() override { ran.push_back("list"); }
};

TEST(MenusHooks, ColumnAndListCommandsComeFirstAndReplaceTheColumnItems)
{
    GridHost host;
    ASSERT_TRUE(host.Make());
    CommandGrid grid;
    ASSERT_TRUE(grid.SubclassDlgItem(kListId, &host));
    grid.InsertColumn(0, L"A", LVCFMT_LEFT, 60);
    grid.InsertColumn(1, L"B", LVCFMT_LEFT, 60);
    MenuRecorder recorder;
    recorder.answer = 1;
    grid.ShowHeaderMenu(&grid, CPoint(10, 10), 1);
    ASSERT_EQ(recorder.menus.size(), 1u);
    ASSERT_EQ(recorder.menus[0].size(), 4u);
    EXPECT_EQ(recorder.menus[0][0].text, L"Sort by 1");
    EXPECT_EQ(recorder.menus[0][0].id, 1u);
    EXPECT_TRUE(recorder.menus[0][1].separator);
    EXPECT_EQ(recorder.menus[0][2].id, 4u);

    grid.listCommand = true;
    recorder.answer = 2;
    grid.ShowHeaderMenu(&grid, CPoint(10, 10), 0);
    ASSERT_EQ(recorder.menus[1].size(), 2u);
    EXPECT_EQ(recorder.menus[1][1].text, L"List command");
    EXPECT_EQ(recorder.menus[1][1].id, 2u);
    EXPECT_EQ(grid.ran, (std::vector<std::string>{"column 1", "list"}));
    host.DestroyWindow();
}

TEST_F(Menus, TheKeyboardMenuOpensAtTheFocusCellOrAtTheClientCorner)
{
    grid.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    grid.setFocusColumn(2);
    ContextMenu(grid.m_hWnd, CPoint(-1, -1));
    ASSERT_EQ(grid.menuCalls.size(), 1u);
    RECT cell = {};
    ASSERT_TRUE(grid.GetCellPartRect(1, 2, LVIR_BOUNDS, cell));
    grid.ClientToScreen(&cell);
    const int h = cell.bottom - cell.top;
    const int w = cell.right - cell.left;
    EXPECT_EQ(grid.menuCalls[0].what, "cell");
    EXPECT_EQ(grid.menuCalls[0].row, 1);
    EXPECT_EQ(grid.menuCalls[0].col, 2);
    EXPECT_EQ(grid.menuCalls[0].point, CPoint(cell.left + std::min(h / 2, w / 2), cell.top + h / 2));

    grid.SetItemState(-1, 0, LVIS_FOCUSED);
    ContextMenu(grid.m_hWnd, CPoint(-1, -1));
    ASSERT_EQ(grid.menuCalls.size(), 2u);
    EXPECT_EQ(grid.menuCalls[1].what, "grid");
    EXPECT_EQ(grid.menuCalls[1].point, ToScreen(CPoint(0, 0)));
}

TEST_F(Menus, ARightClickOpensTheCellMenuOnACellAndTheGridMenuElsewhere)
{
    host.GetDlgItem(kListId + 1)->SetFocus();
    ContextMenu(grid.m_hWnd, ToScreen(CellCenter(2, 4)));
    EXPECT_EQ(::GetFocus(), grid.m_hWnd);
    ContextMenu(grid.m_hWnd, ToScreen(CPoint(20, 140)));  // below the last row
    ASSERT_EQ(grid.menuCalls.size(), 2u);
    EXPECT_EQ(grid.menuCalls[0].what, "cell");
    EXPECT_EQ(grid.menuCalls[0].row, 2);
    EXPECT_EQ(grid.menuCalls[0].col, 4);
    EXPECT_EQ(grid.menuCalls[0].point, ToScreen(CellCenter(2, 4)));
    EXPECT_EQ(grid.menuCalls[1].what, "grid");
}

TEST_F(Menus, ARightClickOnARowsCheckBoxOpensNoMenu)
{
    grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    // The check box: the point whose hit test reports the state icon alone.
    const CPoint center = CellCenter(1, 0);
    CPoint checkBox(-1, -1);
    for (int x = 0; x < 30 && checkBox.x == -1; ++x) {
        LVHITTESTINFO info = {};
        info.pt = CPoint(x, center.y);
        grid.SubItemHitTest(&info);
        if (info.flags == LVHT_ONITEMSTATEICON && info.iItem == 1)
            checkBox = info.pt;
    }
    ASSERT_NE(checkBox.x, -1) << "no point of row 1 is on its check box alone";
    ContextMenu(grid.m_hWnd, ToScreen(checkBox));
    EXPECT_TRUE(grid.menuCalls.empty());
}

class MenusScrolled : public NavFixture {
protected:
    void SetUp() override
    {
        NavFixture::SetUp();
        Remake(0, 120);
        AddColumns({L"A", L"B", L"C", L"D", L"E"}, 100);
        AddRows(2);
    }
};

TEST_F(MenusScrolled, TheHeaderMenuIsForTheItemUnderTheCursorAfterScrolling)
{
    ASSERT_TRUE(grid.Scroll(CSize(150, 0)));
    ASSERT_GT(grid.GetScrollPos(SB_HORZ), 0);
    MenuRecorder recorder;
    // 20 pixels into the client area: column B (100..200) is there after scrolling by 150.
    CPoint at(20, 5);
    grid.ClientToScreen(&at);
    HWND hWndHeader = grid.GetHeaderCtrl()->m_hWnd;
    grid.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWndHeader), MAKELPARAM(at.x, at.y));
    ASSERT_EQ(grid.menuCalls.size(), 1u);
    EXPECT_EQ(grid.menuCalls[0].what, "header");
    EXPECT_EQ(grid.menuCalls[0].col, (20 + grid.GetScrollPos(SB_HORZ)) / 100);
    EXPECT_NE(grid.menuCalls[0].col, 0);
}

}  // namespace
}  // namespace navtest
