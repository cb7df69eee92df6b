// Display information for callback cells and owner-data lists, and the check boxes of owner-data
// lists reported through the grid's hooks.
#include "tests/grid_nav/NavTestSupport.h"

namespace navtest {
namespace {

class Callbacks : public NavFixture {
protected:
    void SetUp() override
    {
        NavFixture::SetUp();
        Remake(LVS_OWNERDATA);
        AddColumns({L"A", L"B"});
        grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_CHECKBOXES);
        grid.SetItemCount(3);
        grid.checkedRows[1] = true;
        grid.ownerDataChecks.clear();
    }
    NMLVDISPINFOW Request(int nRow, int nCol, UINT mask)
    {
        NMLVDISPINFOW info = {};
        info.hdr.hwndFrom = grid.m_hWnd;
        info.hdr.code = LVN_GETDISPINFOW;
        info.item.mask = mask;
        info.item.iItem = nRow;
        info.item.iSubItem = nCol;
        info.item.iImage = 77;
        return info;
    }
    // An LVN_ITEMCHANGED from the grid to its parent, as the list sends it.
    void ItemChanged(int nRow, int nCol, UINT uChanged, UINT uNewState)
    {
        NMLISTVIEW change = {};
        change.hdr.hwndFrom = grid.m_hWnd;
        change.hdr.idFrom = kListId;
        change.hdr.code = LVN_ITEMCHANGED;
        change.iItem = nRow;
        change.iSubItem = nCol;
        change.uChanged = uChanged;
        change.uNewState = uNewState;
        host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&change));
    }
};

TEST_F(Callbacks, RequestsOutsideTheListAreLeftAlone)
{
    for (const auto& [row, col] : std::vector<std::pair<int, int>>{{-1, 0}, {3, 0}, {0, -1}, {0, 2}}) {
        NMLVDISPINFOW info = Request(row, col, LVIF_IMAGE);
        LRESULT result = 0;
        EXPECT_FALSE(grid.OnGetDisplayInfo(&info.hdr, &result));
        EXPECT_EQ(info.item.mask, static_cast<UINT>(LVIF_IMAGE));
        EXPECT_EQ(info.item.iImage, 77);
    }
}

TEST_F(Callbacks, TheFirstColumnOfAnOwnerDataListCarriesTheCheckState)
{
    for (int row : {0, 1}) {
        NMLVDISPINFOW info = Request(row, 0, LVIF_IMAGE);
        LRESULT result = 0;
        EXPECT_FALSE(grid.OnGetDisplayInfo(&info.hdr, &result));
        EXPECT_TRUE(info.item.mask & LVIF_STATE);
        EXPECT_EQ(info.item.stateMask, static_cast<UINT>(LVIS_STATEIMAGEMASK));
        EXPECT_EQ(info.item.state, row == 1 ? 0x2000u : 0x1000u);
        EXPECT_EQ(info.item.iImage, -1) << "no image from the hook";
    }
    NMLVDISPINFOW other = Request(1, 1, LVIF_IMAGE);
    LRESULT result = 0;
    grid.OnGetDisplayInfo(&other.hdr, &result);
    EXPECT_FALSE(other.item.mask & LVIF_STATE);
}

TEST_F(Callbacks, TextsAreCutToTheListsBufferAndNeverWrittenWithoutOne)
{
    grid.cellText = [](int, int, CString& text) {
        text = L"Hello";
        return true;
    };
    grid.cellImage = [](int, int, int& image) {
        image = 4;
        return true;
    };
    wchar_t buffer[8] = L"zzzzzzz";
    NMLVDISPINFOW info = Request(2, 1, LVIF_TEXT | LVIF_IMAGE);
    info.item.pszText = buffer;
    info.item.cchTextMax = 3;
    LRESULT result = 0;
    grid.OnGetDisplayInfo(&info.hdr, &result);
    EXPECT_STREQ(buffer, L"He");
    EXPECT_EQ(info.item.iImage, 4);

    info.item.cchTextMax = 0;
    wcscpy(buffer, L"zzzzzzz");
    grid.OnGetDisplayInfo(&info.hdr, &result);
    EXPECT_STREQ(buffer, L"zzzzzzz");
    info.item.pszText = nullptr;
    info.item.cchTextMax = 8;
    grid.OnGetDisplayInfo(&info.hdr, &result);  // must not write through a null buffer
    // What the list itself shows.
    EXPECT_EQ(grid.GetItemText(0, 1), L"Hello");
}

TEST_F(Callbacks, CheckChangesOfAnOwnerDataListReachTheHook)
{
    ItemChanged(2, 0, LVIF_STATE, 0x2000);
    ItemChanged(0, 0, LVIF_STATE, 0x1000 | LVIS_SELECTED);
    ItemChanged(0, 0, LVIF_STATE, LVIS_SELECTED);  // no state image
    ItemChanged(0, 1, LVIF_STATE, 0x2000);         // not the first column
    ItemChanged(0, 0, LVIF_TEXT, 0x2000);          // not a state change
    EXPECT_EQ(grid.ownerDataChecks, (std::vector<std::pair<int, bool>>{{2, true}, {0, false}}));
}

TEST(CallbacksPlain, AnOrdinaryListsCheckChangesAreTheListsOwn)
{
    GridHost host;
    ASSERT_TRUE(host.Make());
    NavGrid grid;
    ASSERT_TRUE(grid.SubclassDlgItem(kListId, &host));
    grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    grid.InsertColumn(0, L"A", LVCFMT_LEFT, 60);
    grid.InsertItem(0, L"row");
    grid.SetCheck(0, TRUE);
    EXPECT_TRUE(grid.ownerDataChecks.empty());
    host.DestroyWindow();
}

}  // namespace
}  // namespace navtest
