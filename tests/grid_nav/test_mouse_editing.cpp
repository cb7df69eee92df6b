// Clicks that move the focus cell and open editors, the parent's consent, storing an edit's
// result, and what scrolling does to an open editor.
#include "tests/grid_nav/NavTestSupport.h"
#include "tests/support/Cursor.h"
#include "tests/support/HeldKeys.h"

namespace navtest {
namespace {

using uitest::HeldKeys;

class MouseEditing : public NavFixture {
protected:
    // Columns 0..2 text, 3 and 4 Edit (counting their ends), 5 combo; rows "rN-cM".
    void SetUp() override
    {
        NavFixture::SetUp();
        AddColumns({L"A", L"B", L"C"});
        edit3 = new Finishing<CGridColumnTraitEdit>;
        edit4 = new Finishing<CGridColumnTraitEdit>;
        combo = new Finishing<CGridColumnTraitCombo>;
        combo->AddListItem(1, L"TCP");
        combo->AddListItem(2, L"UDP");
        ASSERT_EQ(grid.InsertColumnWithTrait(3, L"D", LVCFMT_LEFT, 60, 3, edit3), 3);
        ASSERT_EQ(grid.InsertColumnWithTrait(4, L"E", LVCFMT_LEFT, 60, 4, edit4), 4);
        ASSERT_EQ(grid.InsertColumnWithTrait(5, L"F", LVCFMT_LEFT, 60, 5, combo), 5);
        AddRows(4);
    }
    void Down(CPoint pt, UINT keys = 0)
    {
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(pt.x, pt.y));
        grid.SendMessage(WM_LBUTTONUP, keys, MAKELPARAM(pt.x, pt.y));
        uitest::PumpMessages();
    }
    int Focused() { return grid.GetNextItem(-1, LVNI_FOCUSED); }
    std::vector<int> Selected()
    {
        std::vector<int> rows;
        for (int r = grid.GetNextItem(-1, LVNI_SELECTED); r != -1; r = grid.GetNextItem(r, LVNI_SELECTED))
            rows.push_back(r);
        return rows;
    }
    // An LVN_ENDLABELEDITW from the grid to its parent, as an editor sends it.
    LRESULT EndEdit(NMLVDISPINFOW& info)
    {
        info.hdr.hwndFrom = grid.m_hWnd;
        info.hdr.idFrom = kListId;
        info.hdr.code = LVN_ENDLABELEDITW;
        return host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&info));
    }
    CWnd* OpenWithF2(int nRow, int nCol)
    {
        grid.SetFocus();
        grid.SetItemState(nRow, LVIS_FOCUSED, LVIS_FOCUSED);
        grid.setFocusColumn(nCol);
        grid.SendMessage(WM_KEYDOWN, VK_F2, 1);
        return grid.cellEditor();
    }

    Finishing<CGridColumnTraitEdit>* edit3 = nullptr;
    Finishing<CGridColumnTraitEdit>* edit4 = nullptr;
    Finishing<CGridColumnTraitCombo>* combo = nullptr;
};

TEST_F(MouseEditing, TheFirstClickFocusesTheCellAndASecondOneEditsIt)
{
    host.GetDlgItem(kListId + 1)->SetFocus();
    Down(CellCenter(2, 3));
    EXPECT_EQ(::GetFocus(), grid.m_hWnd);
    EXPECT_EQ(Selected(), std::vector<int>{2});
    EXPECT_EQ(Focused(), 2);
    EXPECT_EQ(grid.focusColumn(), 3);
    EXPECT_EQ(grid.cellEditor(), nullptr);

    Down(CellCenter(2, 3));
    CWnd* pEditor = grid.cellEditor();
    ASSERT_NE(pEditor, nullptr);
    EXPECT_TRUE(pEditor->IsWindowVisible());
    EXPECT_EQ(uitest::WindowText(pEditor->m_hWnd), L"r2-c3");
    DWORD start = 0;
    DWORD end = 0;
    pEditor->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u) << "the whole text is selected";

    Down(CellCenter(2, 4));
    EXPECT_EQ(grid.focusColumn(), 4);
    EXPECT_EQ(grid.cellEditor(), nullptr) << "the open editor ended and no new one opened";
    EXPECT_EQ(host.endEdits.size(), 1u);
}

TEST_F(MouseEditing, AShiftClickSelectsWithoutEditingAndEmptySpaceLeavesTheFocusColumn)
{
    Down(CellCenter(1, 3));
    ASSERT_EQ(grid.focusColumn(), 3);
    {
        // Without Shift this click on the focus cell would edit it.
        HeldKeys shift{VK_SHIFT};
        Down(CellCenter(1, 3), MK_SHIFT);
        Down(CellCenter(3, 3), MK_SHIFT);
    }
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(grid.cellEditor(), nullptr);
    EXPECT_EQ(host.beginEdits, 0);

    Down(CPoint(20, 140));  // below the last row
    EXPECT_EQ(grid.focusColumn(), 3);
}

TEST_F(MouseEditing, WithoutFullRowSelectAClickOnAnyCellStillSelectsTheRow)
{
    grid.SetExtendedStyle(grid.GetExtendedStyle() & ~LVS_EX_FULLROWSELECT);
    Down(CellCenter(0, 1));
    Down(CellCenter(2, 4));
    EXPECT_EQ(Focused(), 2);
    EXPECT_EQ(Selected(), std::vector<int>{2});
    EXPECT_EQ(grid.focusColumn(), 4);
    {
        HeldKeys ctrl{VK_CONTROL};
        Down(CellCenter(3, 2), MK_CONTROL);
    }
    EXPECT_EQ(Focused(), 3);
    EXPECT_EQ(Selected(), (std::vector<int>{2})) << "with Ctrl the selection stays as it was";
}

TEST_F(MouseEditing, ADoubleClickOnAnEditCellOpensNothingAndKeepsTheFocusColumn)
{
    Down(CellCenter(1, 2));
    ASSERT_EQ(grid.focusColumn(), 2);
    const CPoint pt = CellCenter(1, 3);
    grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    uitest::PumpMessages();
    EXPECT_EQ(grid.cellEditor(), nullptr);
    EXPECT_EQ(grid.focusColumn(), 2);
}

TEST_F(MouseEditing, ARightClickOnARowSetsTheFocusColumnAndTakesTheFocus)
{
    host.GetDlgItem(kListId + 1)->SetFocus();
    MenuRecorder noMenus;
    const CPoint pt = CellCenter(2, 4);
    // The menu's place is where the cursor is. Queued: the list's own handling of the button
    // waits for it to come up again.
    CPoint screen = pt;
    grid.ClientToScreen(&screen);
    ASSERT_TRUE(uitest::PutCursorAt(grid.m_hWnd, screen));
    grid.PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
    grid.PostMessage(WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    ASSERT_TRUE(PumpUntil([&] { return !grid.menuCalls.empty(); })) << "the context menu follows";
    EXPECT_EQ(grid.focusColumn(), 4);
    EXPECT_EQ(::GetFocus(), grid.m_hWnd);
    EXPECT_EQ(grid.menuCalls.back().what, "cell");
    EXPECT_EQ(grid.menuCalls.back().col, 4);
}

TEST_F(MouseEditing, AClickStillReachesTheParent)
{
    Down(CellCenter(1, 1));
    EXPECT_GE(host.clicks, 1);
}

TEST_F(MouseEditing, ARefusingParentGetsNoEditorAndNoEndOfEdit)
{
    int refusals = 0;
    grid.SetItemData(1, 4711);
    for (LRESULT answer : {1, 2, -1}) {  // any answer but 0 refuses
        SCOPED_TRACE(answer);
        host.beginEditAnswer = answer;
        EXPECT_EQ(OpenWithF2(1, 3), nullptr);
        ++refusals;
        EXPECT_EQ(host.beginEdits, refusals);
        EXPECT_EQ(host.beginEditData, 4711) << "the parent is told the row's data";
        EXPECT_EQ(edit3->finishes, refusals);
        uitest::PumpMessages();
        EXPECT_TRUE(host.endEdits.empty());
        EXPECT_EQ(::FindWindowExW(grid.m_hWnd, nullptr, L"Edit", nullptr), nullptr) << "the editor was closed unseen";
        EXPECT_EQ(grid.GetItemText(1, 3), L"r1-c3");
    }
}

// The combo editor ends an unfinished edit when its window is destroyed: after a refusal the
// parent gets one cancelled end of edit, which stores nothing.
TEST_F(MouseEditing, ARefusedComboEditorReportsOneCancelledEnd)
{
    host.beginEditAnswer = 1;
    EXPECT_EQ(OpenWithF2(1, 5), nullptr);
    EXPECT_GE(combo->finishes, 1);
    uitest::PumpMessages();
    ASSERT_EQ(host.endEdits.size(), 1u);
    EXPECT_EQ(host.endEdits[0].mask, 0u);
    EXPECT_EQ(grid.GetItemText(1, 5), L"r1-c5");
    EXPECT_EQ(::FindWindowExW(grid.m_hWnd, nullptr, L"ComboBox", nullptr), nullptr);
}

TEST_F(MouseEditing, TheListsOwnLabelEditingIsRefused)
{
    Remake(LVS_EDITLABELS);
    AddColumns({L"A"});
    AddRows(2);
    grid.SetFocus();
    EXPECT_EQ(grid.EditLabel(0), nullptr);
    EXPECT_EQ(grid.SendMessage(LVM_GETEDITCONTROL), 0);
    EXPECT_EQ(host.beginEdits, 0) << "the parent never sees the list's own request";
}

TEST_F(MouseEditing, AnAcceptedEditIsInTheCellBeforeTheParentSeesIt)
{
    CWnd* pEditor = OpenWithF2(2, 3);
    ASSERT_NE(pEditor, nullptr);
    const HWND hEditor = pEditor->m_hWnd;
    uitest::TypeText(hEditor, L"X");
    uitest::PumpMessages();
    uitest::PressKey(hEditor, VK_RETURN);
    uitest::PumpMessages();
    ASSERT_EQ(host.endEdits.size(), 1u);
    EXPECT_EQ(host.endEdits[0].text, L"X");
    EXPECT_EQ(host.endEdits[0].cellTextThen, L"X");
    EXPECT_EQ(host.endEdits[0].resultOnEntry, 1);
    EXPECT_EQ(grid.cellEditor(), nullptr);
    EXPECT_EQ(::GetFocus(), grid.m_hWnd);
    EXPECT_EQ(edit3->finishes, 1);
}

TEST_F(MouseEditing, WhatAnEndOfEditStoresDependsOnTheRecordAndTheCell)
{
    NMLVDISPINFOW info = {};
    info.item.iItem = 1;
    info.item.iSubItem = 2;
    EndEdit(info);  // mask 0: cancelled
    EXPECT_EQ(grid.GetItemText(1, 2), L"r1-c2");
    EXPECT_EQ(host.endEdits.back().resultOnEntry, 0);

    grid.SetItemText(1, 2, LPSTR_TEXTCALLBACKW);
    info.item.mask = LVIF_TEXT;
    info.item.pszText = const_cast<wchar_t*>(L"stored by the parent");
    EndEdit(info);
    EXPECT_TRUE(grid.IsCellCallback(1, 2)) << "a callback cell is the parent's to store";

    LVITEMW image = {};
    image.mask = LVIF_IMAGE;
    image.iItem = 2;
    image.iSubItem = 1;
    image.iImage = 1;
    ASSERT_TRUE(grid.SetItem(&image));
    info = {};
    info.item.mask = LVIF_IMAGE;
    info.item.iItem = 2;
    info.item.iSubItem = 1;
    info.item.iImage = 3;
    EndEdit(info);
    EXPECT_EQ(grid.GetCellImage(2, 1), 3);
    image.iItem = 3;
    image.iImage = -1;
    ASSERT_TRUE(grid.SetItem(&image));
    info.item.iItem = 3;
    EndEdit(info);
    EXPECT_EQ(grid.GetCellImage(3, 1), -1) << "only a cell that shows an image takes a new one";

    info.item.mask = LVIF_TEXT;
    info.item.pszText = const_cast<wchar_t*>(L"nowhere");
    info.item.iItem = -1;
    EndEdit(info);
    EXPECT_EQ(host.endEdits.back().resultOnEntry, 0);
}

TEST_F(MouseEditing, ScrollingEndsAnOpenEditWithWhatWasTyped)
{
    CWnd* pEditor = OpenWithF2(1, 4);
    ASSERT_NE(pEditor, nullptr);
    uitest::TypeText(pEditor->m_hWnd, L"typed");
    uitest::PumpMessages();
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    uitest::PumpMessages();
    ASSERT_EQ(host.endEdits.size(), 1u);
    EXPECT_EQ(host.endEdits[0].text, L"typed");
    EXPECT_EQ(grid.GetItemText(1, 4), L"typed");
    EXPECT_EQ(::GetFocus(), grid.m_hWnd);
    EXPECT_EQ(edit4->finishes, 1);
}

// The edit reaches the row it was opened on, and the rows are sorted with it.
TEST_F(MouseEditing, AHeaderClickCommitsAnOpenEditBeforeTheSort)
{
    CWnd* pEditor = OpenWithF2(1, 3);
    ASSERT_NE(pEditor, nullptr);
    pEditor->SetWindowText(L"zz");
    RECT item = {};
    ASSERT_TRUE(grid.GetHeaderCtrl()->GetItemRect(3, &item));
    uitest::ClickAt(grid.GetHeaderCtrl()->m_hWnd, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    uitest::PumpMessages();
    ASSERT_EQ(host.endEdits.size(), 1u);
    EXPECT_EQ(host.endEdits[0].item, 1);
    EXPECT_EQ(grid.sortColumn(), 3);
    std::vector<std::wstring> rows;
    for (int r = 0; r < grid.GetItemCount(); ++r)
        rows.emplace_back(grid.GetItemText(r, 0) + L"/" + grid.GetItemText(r, 3));
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"r0-c0/r0-c3", L"r2-c0/r2-c3", L"r3-c0/r3-c3", L"r1-c0/zz"}));
}

TEST_F(MouseEditing, StartingAHeaderResizeEndsAnOpenEdit)
{
    ASSERT_NE(OpenWithF2(1, 3), nullptr);
    NMHEADERW nm = {};
    nm.hdr.hwndFrom = grid.GetHeaderCtrl()->m_hWnd;
    nm.hdr.code = HDN_BEGINTRACKW;
    nm.iItem = 1;
    grid.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    uitest::PumpMessages();
    EXPECT_EQ(host.endEdits.size(), 1u);
    EXPECT_EQ(::GetFocus(), grid.m_hWnd);
}

// The editor ends its edit as the list goes away: the grid keeps no pointer to it.
TEST_F(MouseEditing, AnEditorOpenWhenTheListGoesAwayLeavesNoEditorBehind)
{
    ASSERT_NE(OpenWithF2(1, 3), nullptr);
    host.DestroyWindow();
    uitest::PumpMessages();
    EXPECT_EQ(grid.cellEditor(), nullptr);
}

// The grid's window destroyed with a combo editor open (as when its page goes): the editor ends
// after the grid's columns are gone, once, cancelled.
TEST_F(MouseEditing, AComboEditorOpenWhenTheGridGoesAwayEndsOnceCancelled)
{
    ASSERT_NE(OpenWithF2(1, 5), nullptr);
    grid.DestroyWindow();
    uitest::PumpMessages();
    ASSERT_EQ(host.endEdits.size(), 1u);
    EXPECT_EQ(host.endEdits[0].mask, 0u);
    EXPECT_EQ(grid.cellEditor(), nullptr);
}

}  // namespace
}  // namespace navtest
