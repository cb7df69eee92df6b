// The class-library behaviour the grid is built on, seen through the grid: notifications from the
// list's header and tooltip matched by the sender's control id (0), a handler's TRUE keeping the
// list from its own processing, temporary wrappers, and the owner of a child window.
#include "tests/grid/GridTestSupport.h"

using namespace gridtest;

namespace {

class HeaderWatchingGrid : public TestGrid {
public:
    BOOL eatDividerDblClick = FALSE;
    std::vector<UINT> dividerIds;
    std::vector<UINT> toolIds;

    BOOL OnHeaderDividerDblClick(UINT nID, NMHDR* pNMHDR, LRESULT* pResult) override
    {
        dividerIds.push_back(nID);
        return eatDividerDblClick ? TRUE : TestGrid::OnHeaderDividerDblClick(nID, pNMHDR, pResult);
    }
    BOOL OnToolNeedText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult) override
    {
        toolIds.push_back(nID);
        return TestGrid::OnToolNeedText(nID, pNMHDR, pResult);
    }
};

class LibraryFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.Make());
        ASSERT_TRUE(grid.SubclassDlgItem(kListId, &host));
        grid.InsertColumn(0, L"A", LVCFMT_LEFT, 300);
        grid.InsertItem(0, L"short");
    }
    void TearDown() override { host.DestroyWindow(); }

    GridHost host;
    HeaderWatchingGrid grid;
};

}  // namespace

TEST_F(LibraryFixture, HeaderNotificationsMatchTheHeadersIdAndATrueResultSkipsTheListsOwnHandling)
{
    HWND hHeader = reinterpret_cast<HWND>(grid.SendMessage(LVM_GETHEADER));
    ASSERT_EQ(0, ::GetDlgCtrlID(hHeader));
    NMHEADERW header = {};
    header.hdr.hwndFrom = hHeader;
    header.hdr.idFrom = 1234;  // not what the map matches
    header.hdr.code = HDN_DIVIDERDBLCLICKW;
    header.iItem = 0;

    grid.eatDividerDblClick = TRUE;
    grid.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(std::vector<UINT>{0}, grid.dividerIds);
    EXPECT_EQ(300, grid.GetColumnWidth(0)) << "the list did not size the column";

    grid.eatDividerDblClick = FALSE;
    grid.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(2u, grid.dividerIds.size());
    EXPECT_LT(grid.GetColumnWidth(0), 300) << "the list sized the column to its text itself";
}

TEST_F(LibraryFixture, TooltipNotificationsMatchTheTooltipsIdNotTheToolsId)
{
    HWND hTip = reinterpret_cast<HWND>(grid.SendMessage(LVM_GETTOOLTIPS));
    ASSERT_NE(nullptr, hTip);
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = hTip;
    info.hdr.idFrom = 3001;  // a tool id: row 3, column 1
    info.hdr.code = TTN_GETDISPINFOW;
    grid.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::vector<UINT>{0}, grid.toolIds);
}

TEST_F(LibraryFixture, TheGridFontIsTheListsOwnUntilAFactorIsSet)
{
    CFont* pFont = grid.GetGridFont();
    ASSERT_NE(nullptr, pFont);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(grid.SendMessage(WM_GETFONT)), pFont->GetSafeHandle());
    EXPECT_NE(&grid.cellFontObject(), pFont) << "a temporary wrapper of the list's font";
    grid.SetMarginFactor(1.0);
    EXPECT_EQ(&grid.cellFontObject(), grid.GetGridFont());
}

TEST_F(LibraryFixture, AChildWithoutAnOwnerAnswersItsParentAsOwner)
{
    CEdit child;
    ASSERT_TRUE(child.Create(WS_CHILD, CRect(0, 0, 20, 20), &grid, 0));
    ASSERT_NE(nullptr, child.GetOwner());
    EXPECT_EQ(grid.m_hWnd, child.GetOwner()->m_hWnd);
    child.DestroyWindow();
}
