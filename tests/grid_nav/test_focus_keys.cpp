// The focus cell moved by keys, the keys' other actions, and the type-ahead search in the focus
// column.
#include "controls/grid/CGridColumnTraitImage.h"
#include "tests/grid_nav/NavTestSupport.h"
#include "tests/support/HeldKeys.h"

namespace navtest {
namespace {

using uitest::HeldKeys;

class FocusKeys : public NavFixture {
protected:
    // The port list's layout: seven visible columns in the order 0..6.
    void SetUp() override
    {
        NavFixture::SetUp();
        AddColumns({L"No", L"COM Port", L"Trigger", L"Alias", L"IP Address", L"Port", L"Protocol"});
        AddRows(5);
        grid.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        grid.SetFocus();
    }
    std::vector<int> Selected()
    {
        std::vector<int> rows;
        for (int r = grid.GetNextItem(-1, LVNI_SELECTED); r != -1; r = grid.GetNextItem(r, LVNI_SELECTED))
            rows.push_back(r);
        return rows;
    }
};

TEST_F(FocusKeys, AfterConstructionNoCellHasTheFocusAndDestructionClearsIt)
{
    NavGrid fresh;
    EXPECT_EQ(fresh.focusColumn(), -1);
    EXPECT_EQ(fresh.cellEditor(), nullptr);
    EXPECT_TRUE(fresh.typeAheadText().IsEmpty());
    EXPECT_EQ(fresh.typeAheadTime(), 0);
    EXPECT_EQ(fresh.typeAheadColumn(), -1);
    EXPECT_EQ(fresh.typeAheadRow(), -1);
    EXPECT_EQ(fresh.typeAheadRepeat(), 0);
    EXPECT_EQ(fresh.tooltipMaxWidth(), 32767);

    grid.setFocusColumn(3);
    host.DestroyWindow();
    EXPECT_EQ(grid.focusColumn(), -1);
}

TEST_F(FocusKeys, LeftAndRightStepThroughTheVisibleColumns)
{
    Key(VK_RIGHT);
    EXPECT_EQ(grid.focusColumn(), 0);
    for (int i = 0; i < 6; ++i)
        Key(VK_RIGHT);
    EXPECT_EQ(grid.focusColumn(), 6);
    Key(VK_RIGHT);
    EXPECT_EQ(grid.focusColumn(), 6) << "the last column stays";
    grid.setFocusColumn(0);
    Key(VK_LEFT);
    EXPECT_EQ(grid.focusColumn(), -1) << "the row as a whole";
    Key(VK_LEFT);
    EXPECT_EQ(grid.focusColumn(), -1);
    EXPECT_EQ(host.keyDowns, 0) << "Left and Right never reach the list view";
    Key(VK_DOWN);
    EXPECT_EQ(host.keyDowns, 1);

    ASSERT_TRUE(grid.ShowColumn(1, false));
    grid.setFocusColumn(0);
    Key(VK_LEFT);
    EXPECT_EQ(grid.focusColumn(), -1) << "the hidden column at the front is skipped";
    Key(VK_RIGHT);
    EXPECT_EQ(grid.focusColumn(), 0);

    grid.DeleteAllItems();
    grid.setFocusColumn(3);
    Key(VK_RIGHT);
    EXPECT_EQ(grid.focusColumn(), -1);
    grid.setFocusColumn(3);
    Key(VK_LEFT);
    EXPECT_EQ(grid.focusColumn(), -1);
}

// A focus column whose column was deleted is no longer in the display order: it counts as none.
TEST_F(FocusKeys, AFocusColumnThatNoLongerExistsCountsAsNone)
{
    grid.setFocusColumn(9);
    Key(VK_RIGHT);
    EXPECT_EQ(grid.focusColumn(), 0);
    grid.setFocusColumn(9);
    Key(VK_LEFT);
    EXPECT_EQ(grid.focusColumn(), -1);
}

TEST_F(FocusKeys, RightScrollsTheNewFocusColumnIntoView)
{
    Remake(0, 120);
    AddColumns({L"A", L"B", L"C", L"D", L"E"}, 100);
    AddRows(2);
    grid.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    grid.setFocusColumn(2);
    ASSERT_EQ(grid.GetScrollPos(SB_HORZ), 0);
    Key(VK_RIGHT);
    EXPECT_EQ(grid.focusColumn(), 3);
    RECT client = {};
    grid.GetClientRect(&client);
    RECT item = {};
    grid.GetHeaderCtrl()->GetItemRect(3, &item);
    const int nScroll = grid.GetScrollPos(SB_HORZ);
    EXPECT_GT(nScroll, 0);
    EXPECT_GE(item.left - nScroll, 0);
    EXPECT_LE(item.right - nScroll, client.right);
}

TEST_F(FocusKeys, CtrlASelectsEveryRowUnlessTheListAllowsOnlyOne)
{
    {
        HeldKeys ctrl{VK_CONTROL};
        Key('A');
    }
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2, 3, 4}));
    Key('A');
    EXPECT_EQ(Selected().size(), 5u);

    Remake(LVS_SINGLESEL);
    AddColumns({L"A", L"B"});
    AddRows(3);
    grid.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    {
        HeldKeys ctrl{VK_CONTROL};
        Key('A');
    }
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
}

TEST_F(FocusKeys, CtrlAddFitsEveryColumnAndCtrlCCopies)
{
    grid.SetItemText(2, 3, L"a text wider than sixty pixels");
    {
        HeldKeys ctrl{VK_CONTROL};
        Key(VK_ADD);
        Key('C');
    }
    EXPECT_GT(grid.GetColumnWidth(3), 100);
    EXPECT_LT(grid.GetColumnWidth(0), 60);
    EXPECT_EQ(grid.copies, 1);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE hText = ::GetClipboardData(CF_UNICODETEXT);
    const auto* pszText = static_cast<const wchar_t*>(hText ? ::GlobalLock(hText) : nullptr);
    const std::wstring copied = pszText ? pszText : L"";
    if (pszText)
        ::GlobalUnlock(hText);
    ::CloseClipboard();
    EXPECT_NE(copied.find(L"r0-c0"), std::wstring::npos) << "the selected row is on the clipboard";
    Key('C');
    Key(VK_ADD);
    EXPECT_EQ(grid.copies, 1);
}

class F2Keys : public FocusKeys {
protected:
    void SetUp() override
    {
        FocusKeys::SetUp();
        grid.DeleteColumn(3);
        auto* pEdit = new CGridColumnTraitEdit;
        ASSERT_EQ(grid.InsertColumnWithTrait(3, L"Alias", LVCFMT_LEFT, 60, 3, pEdit), 3);
        for (int r = 0; r < 5; ++r)
            grid.SetItemText(r, 3, L"alias");
    }
};

TEST_F(F2Keys, F2OpensTheEditorOfTheFocusCellWhenItEdits)
{
    grid.setFocusColumn(1);  // a text column: no editor
    Key(VK_F2);
    EXPECT_EQ(grid.cellEditor(), nullptr);
    grid.setFocusColumn(-1);
    Key(VK_F2);
    EXPECT_EQ(grid.cellEditor(), nullptr);
    grid.SetItemState(-1, 0, LVIS_FOCUSED);
    grid.setFocusColumn(3);
    Key(VK_F2);
    EXPECT_EQ(grid.cellEditor(), nullptr);
    EXPECT_EQ(host.beginEdits, 0);

    grid.SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED);
    grid.SetItemText(2, 3, L"COM7 alias");
    Key(VK_F2);
    CWnd* pEditor = grid.cellEditor();
    ASSERT_NE(pEditor, nullptr);
    EXPECT_TRUE(pEditor->IsWindowVisible());
    EXPECT_EQ(::GetFocus(), pEditor->m_hWnd);
    EXPECT_EQ(uitest::WindowText(pEditor->m_hWnd), L"COM7 alias");
    EXPECT_EQ(host.beginEdits, 1);
}

TEST_F(FocusKeys, SpaceTogglesTheFocusedRowOfAnOwnerDataListWithCheckBoxes)
{
    Remake(LVS_OWNERDATA);
    AddColumns({L"A", L"B"});
    grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    grid.SetItemCount(4);
    grid.SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED);
    grid.checkedRows[2] = true;
    grid.ownerDataChecks.clear();
    Key(VK_SPACE);
    EXPECT_EQ(grid.ownerDataChecks, (std::vector<std::pair<int, bool>>{{2, false}}));
}

// Space on a cell that shows an image switches it to the trait's next image.
TEST_F(FocusKeys, SpaceOnACellWithAnImageSwitchesTheImage)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32, 3, 0));
    HBITMAP hBitmap = ::CreateBitmap(48, 16, 1, 32, nullptr);
    ASSERT_NE(images.Add(CBitmap::FromHandle(hBitmap), static_cast<CBitmap*>(nullptr)), -1);
    grid.SetImageList(&images, LVSIL_SMALL);
    grid.DeleteColumn(2);
    auto* pImage = new CGridColumnTraitEdit;
    pImage->AddImageIndex(0, L"off", true);
    pImage->AddImageIndex(1, L"on", true);
    ASSERT_EQ(grid.InsertColumnWithTrait(2, L"State", LVCFMT_LEFT, 60, 2, pImage), 2);
    grid.SetItem(0, 2, LVIF_IMAGE | LVIF_TEXT, L"off", 0, 0, 0, 0);
    grid.setFocusColumn(2);
    Key(VK_SPACE);
    EXPECT_EQ(grid.GetCellImage(0, 2), 1);
    EXPECT_EQ(grid.GetItemText(0, 2), L"on");
    grid.SetImageList(nullptr, LVSIL_SMALL);
    ::DeleteObject(hBitmap);
}

class TypeAhead : public NavFixture {
protected:
    void SetUp() override
    {
        NavFixture::SetUp();
        AddColumns({L"A", L"B", L"C", L"D"});
        AddRows(5);
        const wchar_t* texts[] = {L"alpha", L"Bravo", L"beta", L"charlie", L"BETA2"};
        for (int r = 0; r < 5; ++r)
            grid.SetItemText(r, 3, texts[r]);
        grid.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        grid.setFocusColumn(3);
        m_oldClock = AfxSetClock([this] { return now; });
    }
    void TearDown() override
    {
        AfxSetClock(m_oldClock);
        NavFixture::TearDown();
    }
    int Focused() { return grid.GetNextItem(-1, LVNI_FOCUSED); }
    std::vector<int> Selected()
    {
        std::vector<int> rows;
        for (int r = grid.GetNextItem(-1, LVNI_SELECTED); r != -1; r = grid.GetNextItem(r, LVNI_SELECTED))
            rows.push_back(r);
        return rows;
    }

    long long now = 1000000;

private:
    AfxClock m_oldClock;
};

TEST_F(TypeAhead, TheSameLetterStepsThroughTheRowsThatBeginWithItAndWraps)
{
    Char(L'b');
    EXPECT_EQ(Focused(), 1);
    EXPECT_EQ(Selected(), std::vector<int>{1});
    Char(L'b');
    EXPECT_EQ(Focused(), 2);
    Char(L'b');
    EXPECT_EQ(Focused(), 4);
    now += 1;
    Char(L'b');
    EXPECT_EQ(Focused(), 1);
    EXPECT_EQ(Selected(), std::vector<int>{1});
}

TEST_F(TypeAhead, FurtherLettersWithinTwoSecondsNarrowTheSearch)
{
    Char(L'b');
    now += 1;
    Char(L'E');
    EXPECT_EQ(Focused(), 2) << "\"bE\" matches \"beta\" from the focused row on";
    EXPECT_EQ(grid.typeAheadText(), L"bE");

    // Another focused row starts a new search.
    grid.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    Char(L'c');
    EXPECT_EQ(grid.typeAheadText(), L"c");
    EXPECT_EQ(Focused(), 3);
}

TEST_F(TypeAhead, AfterTwoSecondsANewSearchStarts)
{
    Char(L'b');
    ASSERT_EQ(Focused(), 1);
    now += 2;
    Char(L'e');
    EXPECT_EQ(grid.typeAheadText(), L"e");
    EXPECT_EQ(Focused(), 1) << "no row begins with \"e\": nothing changes";
    EXPECT_EQ(Selected(), std::vector<int>{1});
}

TEST_F(TypeAhead, RepeatedLettersCountAsTypedWhenTheSearchGoesOn)
{
    grid.SetItemText(3, 3, L"bbo");
    Char(L'b');
    Char(L'b');
    ASSERT_EQ(Focused(), 2);
    Char(L'o');
    EXPECT_EQ(grid.typeAheadText(), L"bbo");
    EXPECT_EQ(Focused(), 3);
}

TEST_F(TypeAhead, CtrlDropsTheCharacterAndTheTypedText)
{
    Char(L'b');
    ASSERT_EQ(Focused(), 1);
    {
        HeldKeys ctrl{VK_CONTROL};
        Char(L'b');
    }
    EXPECT_TRUE(grid.typeAheadText().IsEmpty());
    EXPECT_EQ(Focused(), 1);
    EXPECT_EQ(Selected(), std::vector<int>{1});
}

TEST_F(TypeAhead, InColumnZeroTheListSearchesItself)
{
    grid.SetItemText(3, 0, L"zulu");
    grid.setFocusColumn(0);
    Char(L'z');
    EXPECT_TRUE(grid.typeAheadText().IsEmpty());
    EXPECT_EQ(Focused(), 3) << "the list view's own incremental search on the first column";
}

TEST_F(TypeAhead, ThePrefixSearchWrapsAndComparesWithoutCase)
{
    EXPECT_EQ(grid.FindRowByPrefix(3, 3, L"b"), 4);
    EXPECT_EQ(grid.FindRowByPrefix(3, 5, L"b"), 1) << "a start past the last row searches all";
    EXPECT_EQ(grid.FindRowByPrefix(3, -5, L"b"), 1);
    EXPECT_EQ(grid.FindRowByPrefix(3, 0, L"BETA2X"), -1) << "a prefix longer than the text";
    EXPECT_EQ(grid.FindRowByPrefix(3, 0, L"CHAR"), 3);
    EXPECT_EQ(grid.FindRowByPrefix(3, 2, L"alp"), 0);
    EXPECT_EQ(grid.FindRowByPrefix(3, 4, L"ch"), 3) << "the row just before the start";
}

TEST_F(TypeAhead, AnOwnerDataListFindsRowsByTheirFirstCellsPrefix)
{
    Remake(LVS_OWNERDATA);
    AddColumns({L"A", L"B"});
    grid.cellText = [](int nRow, int /*nCol*/, CString& text) {
        const wchar_t* texts[] = {L"one", L"two", L"three", L"four"};
        text = texts[nRow];
        return true;
    };
    grid.SetItemCount(4);
    NMLVFINDITEMW find = {};
    find.hdr.hwndFrom = grid.m_hWnd;
    find.hdr.code = LVN_ODFINDITEMW;
    find.lvfi.flags = LVFI_PARTIAL;
    find.lvfi.psz = L"t";
    find.iStart = 2;
    LRESULT result = 0;
    EXPECT_FALSE(grid.OnOwnerDataFindItem(&find.hdr, &result));
    EXPECT_EQ(result, -1);
    find.lvfi.flags = LVFI_STRING | LVFI_PARTIAL;
    EXPECT_TRUE(grid.OnOwnerDataFindItem(&find.hdr, &result));
    EXPECT_EQ(result, 1) << "the search starts one before iStart";
    find.lvfi.psz = L"TH";
    EXPECT_TRUE(grid.OnOwnerDataFindItem(&find.hdr, &result));
    EXPECT_EQ(result, 2);
    find.lvfi.psz = nullptr;
    EXPECT_FALSE(grid.OnOwnerDataFindItem(&find.hdr, &result)) << "a string search without a string";
    EXPECT_EQ(result, -1);
}

}  // namespace
}  // namespace navtest
