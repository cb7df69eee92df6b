// The grid as an OLE drop target and drag source: its registration, drops of its own rows and of
// foreign data, the drop-position highlight and the scrolling near the edges, and whole drags
// made with the mouse.
#include "tests/grid_sort/SortTestSupport.h"

#include "controls/grid/COleDataSourceWnd.h"
#include "controls/grid/GridTransferText.h"
#include "tests/support/Cursor.h"

#include <atomic>

using namespace sorttest;

namespace {

using Texts = std::vector<std::wstring>;

class GridDropping : public ListFixture<SortGrid> {
protected:
    void SetUp() override
    {
        ListFixture<SortGrid>::SetUp();
        Fill(grid, 2, 6);
    }

    // Puts the cursor at a client point of the grid, where the message position the grid reads
    // is too.
    void CursorAt(CPoint client)
    {
        CPoint screen = client;
        grid.ClientToScreen(&screen);
        ASSERT_TRUE(uitest::PutCursorAt(host.m_hWnd, screen))
            << "the cursor did not get to " << screen.x << "," << screen.y;
    }

    std::vector<int> RowsWithState(UINT state)
    {
        std::vector<int> rows;
        for (int r = 0; r < grid.GetItemCount(); ++r)
            if ((grid.GetItemState(r, state) & state) == state)
                rows.push_back(r);
        return rows;
    }

    CPoint BelowTheLastRow()
    {
        CRect last;
        grid.GetItemRect(grid.GetItemCount() - 1, &last, LVIR_BOUNDS);
        return CPoint(20, last.bottom + 10);
    }
};

}  // namespace

TEST_F(GridDropping, IsRegisteredOnceAsTheDropTargetOfItsWindow)
{
    ASSERT_NE(nullptr, grid.dropTarget());
    EXPECT_EQ(&grid, grid.dropTarget()->OwnerList);
    EXPECT_EQ(grid.m_hWnd, grid.dropTarget()->GetRegisteredWindow());
    auto* pTarget = grid.dropTarget();
    EXPECT_TRUE(grid.RegisterDropTarget());
    EXPECT_EQ(pTarget, grid.dropTarget()) << "registered once";

    COleDropTarget other;
    EXPECT_FALSE(other.Register(&grid)) << "the window has its target";

    grid.SendMessage(WM_DESTROY);
    EXPECT_EQ(nullptr, grid.dropTarget());
    EXPECT_TRUE(other.Register(&grid)) << "the registration ended with the target";

    // A registration that fails leaves a target that answers every drag with "no drop", and is
    // not tried again.
    EXPECT_FALSE(grid.RegisterDropTarget());
    ASSERT_NE(nullptr, grid.dropTarget());
    EXPECT_EQ(nullptr, grid.dropTarget()->OwnerList);
    EXPECT_EQ(DROPEFFECT_NONE, grid.dropTarget()->OnDragEnter(&grid, nullptr, 0, CPoint(5, 5)));
    EXPECT_EQ(DROPEFFECT_NONE, grid.dropTarget()->OnDragOver(&grid, nullptr, 0, CPoint(5, 5)));
    EXPECT_FALSE(grid.dropTarget()->OnDrop(&grid, nullptr, DROPEFFECT_MOVE, CPoint(5, 5)));
    EXPECT_TRUE(grid.RegisterDropTarget());
    EXPECT_EQ(nullptr, grid.dropTarget()->OwnerList);
    EXPECT_EQ(grid.m_hWnd, other.GetRegisteredWindow());
    other.Revoke();
}

TEST_F(GridDropping, DropsOfItsOwnRowsMoveThemBeforeTheRowUnderThePoint)
{
    SelectRows(grid, {0, 1});
    COleDataSourceWnd<CGridListCtrlEx> drag(grid.dropTarget());
    ASSERT_TRUE(grid.dropTarget()->DragFromOwner);
    EXPECT_TRUE(grid.OnDrop(nullptr, DROPEFFECT_MOVE, CellCenter(grid, 4, 1)));
    EXPECT_EQ((Texts{L"r2", L"r3", L"r4", L"r0", L"r1", L"r5"}), Column0(grid));
    EXPECT_EQ((std::vector<int>{4}), RowsWithState(LVIS_FOCUSED));
    CRect row;
    CRect client;
    grid.GetItemRect(4, &row, LVIR_BOUNDS);
    grid.GetClientRect(&client);
    EXPECT_TRUE(row.top >= client.top && row.bottom <= client.bottom) << "wholly visible";
}

TEST_F(GridDropping, ADropBelowTheLastRowMovesTheSelectionToTheEnd)
{
    SelectRows(grid, {1, 2});
    COleDataSourceWnd<CGridListCtrlEx> drag(grid.dropTarget());
    EXPECT_TRUE(grid.OnDrop(nullptr, DROPEFFECT_MOVE, BelowTheLastRow()));
    EXPECT_EQ((Texts{L"r0", L"r3", L"r4", L"r5", L"r1", L"r2"}), Column0(grid));
    EXPECT_EQ((std::vector<int>{5}), RowsWithState(LVIS_FOCUSED)) << "the last moved row shows the focus";

    // Nothing to move: still taken as a drop.
    SelectRows(grid, {3});
    EXPECT_TRUE(grid.OnDrop(nullptr, DROPEFFECT_MOVE, CellCenter(grid, 3, 0)));
    EXPECT_EQ((Texts{L"r0", L"r3", L"r4", L"r5", L"r1", L"r2"}), Column0(grid));
}

TEST_F(GridDropping, RefusesDataFromElsewhereButOffersAMoveForAnyData)
{
    SelectRows(grid, {0, 1});
    ASSERT_FALSE(grid.dropTarget()->DragFromOwner);
    EXPECT_FALSE(grid.OnDrop(nullptr, DROPEFFECT_MOVE, CellCenter(grid, 4, 0)));
    EXPECT_EQ((Texts{L"r0", L"r1", L"r2", L"r3", L"r4", L"r5"}), Column0(grid));

    COleDataObject noData;
    EXPECT_EQ(DROPEFFECT_MOVE, grid.OnDragEnter(&noData, 0, CPoint(5, 5)));
    // The drag source's guard ends with the drag.
    {
        COleDataSourceWnd<CGridListCtrlEx> drag(grid.dropTarget());
        EXPECT_TRUE(grid.dropTarget()->DragFromOwner);
    }
    EXPECT_FALSE(grid.dropTarget()->DragFromOwner);
}

TEST_F(GridDropping, DraggingOverARowHighlightsItAsTheDropPosition)
{
    CursorAt(CellCenter(grid, 2, 1));
    EXPECT_EQ(DROPEFFECT_MOVE, grid.OnDragOver(nullptr, 0, CPoint()));
    EXPECT_EQ((std::vector<int>{2}), RowsWithState(LVIS_DROPHILITED | LVIS_FOCUSED));
    EXPECT_EQ((std::vector<int>{2}), RowsWithState(LVIS_DROPHILITED));
    const DWORD tracking = LVS_EX_TRACKSELECT | LVS_EX_TWOCLICKACTIVATE;
    EXPECT_EQ(tracking, grid.GetExtendedStyle() & tracking);

    CursorAt(CellCenter(grid, 3, 0));
    EXPECT_EQ(DROPEFFECT_MOVE, grid.OnDragOver(nullptr, 0, CPoint()));
    EXPECT_EQ((std::vector<int>{3}), RowsWithState(LVIS_DROPHILITED));
}

namespace {

class GridScrollingWhileDragging : public GridDropping {
protected:
    void SetUp() override
    {
        GridDropping::SetUp();
        for (int r = 6; r < 60; ++r) {
            CString text;
            text.Format(L"r%d", r);
            grid.InsertItem(r, text);
        }
    }
};

}  // namespace

TEST_F(GridScrollingWhileDragging, ScrollsOneRowNearTheTopAfterAPauseUntilTheTop)
{
    grid.EnsureVisible(59, FALSE);
    grid.EnsureVisible(3, FALSE);
    const int top = grid.GetTopIndex();
    ASSERT_GT(top, 0);
    CRect client;
    grid.GetClientRect(&client);
    CRect headerRect;
    grid.GetHeaderCtrl()->GetClientRect(&headerRect);

    CursorAt(CPoint(20, headerRect.bottom + 2));
    DWORD start = ::GetTickCount();
    EXPECT_EQ(DROPEFFECT_SCROLL, grid.OnDragOver(nullptr, 0, CPoint()));
    EXPECT_GE(::GetTickCount() - start, 90u);
    EXPECT_EQ(top - 1, grid.GetTopIndex());

    grid.EnsureVisible(0, FALSE);
    ASSERT_EQ(0, grid.GetTopIndex());
    EXPECT_EQ(DROPEFFECT_MOVE, grid.OnDragOver(nullptr, 0, CPoint())) << "at the top it highlights";
}

TEST_F(GridScrollingWhileDragging, ScrollsNearTheBottomUntilTheEnd)
{
    CRect client;
    grid.GetClientRect(&client);
    CursorAt(CPoint(20, client.bottom - 2));
    EXPECT_EQ(DROPEFFECT_SCROLL, grid.OnDragOver(nullptr, 0, CPoint()));
    EXPECT_EQ(1, grid.GetTopIndex());

    grid.EnsureVisible(59, FALSE);
    const int top = grid.GetTopIndex();
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(DROPEFFECT_MOVE, grid.OnDragOver(nullptr, 0, CPoint()));
    EXPECT_GE(::GetTickCount() - start, 90u);
    EXPECT_EQ(top, grid.GetTopIndex());
}

TEST_F(GridDropping, NoSelectionStartsNoDrag)
{
    SelectRows(grid, {});
    COleDataSource data;
    EXPECT_EQ(DROPEFFECT_NONE, grid.StartDragSelection(&data));
    FORMATETC text = {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_NE(S_OK, data.GetInterface()->QueryGetData(&text)) << "nothing was offered";
}

namespace {

// A foreign drop target that takes a copy of the text (as an editor would).
class TextTarget : public COleDropTarget {
public:
    std::wstring text;
    volatile LONG entered = 0;
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) override
    {
        ::InterlockedExchange(&entered, 1);
        return DROPEFFECT_COPY;
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) override { return DROPEFFECT_COPY; }
    BOOL OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT effect, CPoint) override
    {
        if (effect != DROPEFFECT_COPY)
            return FALSE;  // the source does not offer a copy
        HGLOBAL hGlobal = pData->GetGlobalData(CF_UNICODETEXT);
        if (hGlobal == nullptr)
            return FALSE;
        text = static_cast<const wchar_t*>(::GlobalLock(hGlobal));
        ::GlobalUnlock(hGlobal);
        ::GlobalFree(hGlobal);
        return TRUE;
    }
};

class GridDragging : public GridDropping {
protected:
    POINT Screen(CPoint client)
    {
        grid.ClientToScreen(&client);
        return client;
    }
    // Whether the grid shows a row as the drop position; asked from the hand's thread.
    std::function<bool()> Highlighted(int nRow)
    {
        HWND hList = grid.m_hWnd;
        return [hList, nRow] { return ListView_GetItemState(hList, nRow, LVIS_DROPHILITED) != 0; };
    }
    void Drag(POINT from, POINT to, std::function<bool()> arrived, bool escape = false)
    {
        DragWithTheMouse(from, to, std::move(arrived), escape);
    }
    // Text dragged by another window, which starts an OLE drag of its own when the button goes
    // down on it, as an editor does; the hand carries it to a point. Answers the drag's effect.
    DROPEFFECT DragTextFrom(CWnd& source, POINT to, std::function<bool()> arrived, bool escape)
    {
        CRect from;
        source.GetWindowRect(&from);
        Hand hand(from.CenterPoint(), to, escape, std::move(arrived));
        DROPEFFECT effect = DROPEFFECT_NONE;
        bool started = false;
        const DWORD start = ::GetTickCount();
        while (!hand.Done() && ::GetTickCount() - start < 3 * kHandWaitMs) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.hwnd == source.m_hWnd && msg.message == WM_LBUTTONDOWN) {
                    COleDataSource data;
                    data.CacheGlobalData(CF_UNICODETEXT, GridTextToGlobal(L"dragged from elsewhere"));
                    effect = data.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
                    started = true;
                } else {
                    ::TranslateMessage(&msg);
                    ::DispatchMessageW(&msg);
                }
            }
            ::Sleep(5);
        }
        uitest::PumpMessages();
        EXPECT_TRUE(started) << "the other window's drag did not start";
        return effect;
    }
};

}  // namespace

TEST_F(GridDragging, DraggingRowsWithTheMouseMovesThemWithinTheGrid)
{
    SelectRows(grid, {0, 1});
    grid.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    grid.SetFocus();
    Drag(Screen(CellCenter(grid, 0, 0)), Screen(CellCenter(grid, 4, 0)), Highlighted(4));
    EXPECT_EQ((Texts{L"r2", L"r3", L"r4", L"r0", L"r1", L"r5"}), Column0(grid));
    EXPECT_EQ(1, host.Count(LVN_BEGINDRAG)) << "the parent hears of the drag too";
    EXPECT_FALSE(grid.dropTarget()->DragFromOwner);
    EXPECT_EQ(-1, grid.GetFocusColumn());
    EXPECT_EQ(0u, grid.GetExtendedStyle() & LVS_EX_TRACKSELECT) << "the drop highlight is gone";
    EXPECT_TRUE(RowsWithState(LVIS_DROPHILITED).empty());
    EXPECT_EQ((std::vector<int>{4}), RowsWithState(LVIS_FOCUSED)) << "the focus the drop gave stays";
    EXPECT_EQ((std::vector<int>{3, 4}), SelectedRows(grid));
}

TEST_F(GridDragging, ADragCancelledWithEscapeLeavesTheRowsAndGivesTheFocusBack)
{
    SelectRows(grid, {0, 1});
    grid.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    grid.SetFocus();
    Drag(Screen(CellCenter(grid, 1, 0)), Screen(CellCenter(grid, 4, 0)), Highlighted(4), true);
    EXPECT_EQ((Texts{L"r0", L"r1", L"r2", L"r3", L"r4", L"r5"}), Column0(grid));
    EXPECT_EQ((std::vector<int>{1}), RowsWithState(LVIS_FOCUSED));
}

TEST_F(GridDragging, RowsDroppedOnAnotherWindowArriveAsTextAndStayInTheGrid)
{
    CWnd editor;
    ASSERT_TRUE(
        editor.CreateEx(0, L"Edit", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 700, 100, 200, 100, nullptr, nullptr));
    TextTarget target;
    ASSERT_TRUE(target.Register(&editor));
    SelectRows(grid, {2, 3});
    grid.SetFocus();
    Drag(Screen(CellCenter(grid, 2, 0)), POINT{750, 150}, [&target] { return target.entered != 0; });
    EXPECT_EQ(L"r2\tr2b\r\nr3\tr3b", target.text) << "no title line";
    EXPECT_EQ((Texts{L"r0", L"r1", L"r2", L"r3", L"r4", L"r5"}), Column0(grid));
    target.Revoke();
    editor.DestroyWindow();
}

// Text from another window passes over the grid: it shows the drop position meanwhile, and once
// the drag leaves (Escape) or its drop is refused, no hot tracking, highlight or moved focus stays
// behind (with them, resting the mouse on a row would select it).
TEST_F(GridDragging, TextFromAnotherWindowLeavesNoHotTrackingBehind)
{
    CWnd source;
    ASSERT_TRUE(
        source.CreateEx(0, L"Edit", L"text", WS_POPUP | WS_VISIBLE | WS_BORDER, 700, 300, 200, 100, nullptr, nullptr));
    SelectRows(grid, {1});
    grid.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    const DWORD tracking = LVS_EX_TRACKSELECT | LVS_EX_TWOCLICKACTIVATE;
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "cancelled over the grid" : "dropped on the grid");
        std::atomic<bool> shown{false};
        auto highlighted = Highlighted(4);
        auto arrived = [&] {
            shown = shown || highlighted();
            return shown.load();
        };
        const DROPEFFECT effect = DragTextFrom(source, Screen(CellCenter(grid, 4, 0)), arrived, escape);
        ASSERT_TRUE(shown) << "the drag never showed its drop position";
        EXPECT_EQ(DROPEFFECT_NONE, effect);
        EXPECT_EQ(0u, grid.GetExtendedStyle() & tracking);
        EXPECT_TRUE(RowsWithState(LVIS_DROPHILITED).empty());
        EXPECT_EQ(-1, grid.GetHotItem());
        EXPECT_EQ((std::vector<int>{1}), RowsWithState(LVIS_FOCUSED));
        EXPECT_EQ((std::vector<int>{1}), SelectedRows(grid));
        EXPECT_EQ((Texts{L"r0", L"r1", L"r2", L"r3", L"r4", L"r5"}), Column0(grid));
    }
    source.DestroyWindow();
}
