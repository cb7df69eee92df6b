// The cell editors, opened by the traits over a real grid and driven with the keys and focus
// changes a user's typing produces: one result notification to the list's parent, then the editor
// closes and deletes itself, exactly once.
#include "tests/grid/GridTestSupport.h"

using namespace gridtest;

namespace {

int g_editorsDeleted = 0;

// The editors as the traits make them, counting their deletion (by themselves, after their window).
class CountedEditorText : public CGridEditorText {
public:
    using CGridEditorText::CGridEditorText;
    ~CountedEditorText() override { ++g_editorsDeleted; }
};

class CountedEditorCombo : public CGridEditorComboBox {
public:
    using CGridEditorComboBox::CGridEditorComboBox;
    ~CountedEditorCombo() override { ++g_editorsDeleted; }
};

class CountingEditTrait : public CGridColumnTraitEdit {
public:
    CWnd* CreateCellEditorWindow(CGridListCtrlEx& owner, int nRow, int nCol, DWORD dwStyle, const RECT& rect) override
    {
        auto* pEditor = new CountedEditorText(nRow, nCol);
        if (!pEditor->Create(dwStyle | WS_CHILD, rect, &owner, 0)) {
            delete pEditor;
            return nullptr;
        }
        return pEditor;
    }
};

class CountingComboTrait : public CGridColumnTraitCombo {
public:
    CWnd* CreateCellEditorWindow(CGridListCtrlEx& owner, int nRow, int nCol, DWORD dwStyle, const RECT& rect) override
    {
        auto* pEditor = new CountedEditorCombo(nRow, nCol, MaxDropDownWidth, MaxVisibleItems, ShowDropDownOnFocus);
        if (!pEditor->Create(dwStyle | WS_CHILD, rect, &owner, 0)) {
            delete pEditor;
            return nullptr;
        }
        return pEditor;
    }
};

class EditorFixture : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        g_editorsDeleted = 0;
        Fill(1, 3);
        text = new CountingEditTrait;
        combo = new CountingComboTrait;
        combo->AddListItem(10, L"COM");  // item data that is not the index
        combo->AddListItem(11, L"Encryption");
        grid.InsertColumnWithTrait(1, L"Alias", LVCFMT_LEFT, 100, 1, text);
        grid.InsertColumnWithTrait(2, L"Protocol", LVCFMT_LEFT, 100, 2, combo);
        grid.SetItemText(0, 1, L"abc");
        grid.SetItemText(0, 2, L"COM");
        grid.SetItemText(1, 2, L"Raw");
    }

    // Opens the editor of a cell as the grid does: made by the trait, then shown and focused.
    CWnd* Open(CGridColumnTrait* trait, int nRow, int nCol)
    {
        CWnd* editor = trait->StartCellEdit(grid, nRow, nCol);
        EXPECT_NE(nullptr, editor);
        if (editor == nullptr)
            return nullptr;
        hEditor = editor->m_hWnd;
        editor->ShowWindow(SW_SHOW);
        editor->SetFocus();
        uitest::PumpMessages();
        return editor;
    }

    // The editor's window is gone and its object deleted itself once.
    bool Closed()
    {
        return PumpUntil([&] { return !::IsWindow(hEditor) && g_editorsDeleted == 1; });
    }

    HWND ComboEdit() const { return ::GetWindow(hEditor, GW_CHILD); }

    CountingEditTrait* text = nullptr;
    CountingComboTrait* combo = nullptr;
    HWND hEditor = nullptr;
};

}  // namespace

class TextEditor : public EditorFixture {};

TEST_F(TextEditor, OpensOnTheCellsTextAllSelectedAndEnterWithoutTypingReportsNoChange)
{
    CWnd* editor = Open(text, 0, 1);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(L"abc", uitest::WindowText(hEditor));
    DWORD start = 1, end = 0;
    ::SendMessageW(hEditor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(3u, end);
    uitest::PressKey(hEditor, VK_RETURN);
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(0u, host.endEdits[0].mask);
    EXPECT_TRUE(host.endEdits[0].textNull);
}

TEST_F(TextEditor, TypingAndEnterReportTheTextOnceThenTheEditorIsGone)
{
    Open(text, 0, 1);
    uitest::TypeText(hEditor, L"x");
    uitest::PressKey(hEditor, VK_RETURN);
    uitest::PumpMessages();
    ASSERT_EQ(1u, host.endEdits.size());
    const EndEdit& e = host.endEdits[0];
    EXPECT_EQ(static_cast<UINT>(LVIF_TEXT), e.mask);
    EXPECT_EQ(L"x", e.text);
    EXPECT_EQ(1, e.cchTextMax);
    EXPECT_EQ(0, e.item);
    EXPECT_EQ(1, e.subItem);
    EXPECT_EQ(grid.m_hWnd, e.hwndFrom);
    EXPECT_EQ(static_cast<UINT_PTR>(kListId), e.idFrom);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(1u, host.endEdits.size());
}

TEST_F(TextEditor, EscapeCancelsWhatWasTyped)
{
    Open(text, 0, 1);
    uitest::TypeText(hEditor, L"zz");
    uitest::PressKey(hEditor, VK_ESCAPE);
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(0u, host.endEdits[0].mask);
    EXPECT_TRUE(host.endEdits[0].textNull);
    EXPECT_EQ(0, host.endEdits[0].cchTextMax);
    EXPECT_STREQ(L"abc", grid.GetItemText(0, 1));
}

TEST_F(TextEditor, TabAcceptsAndMovesOnToTheNextControlWithoutASecondReport)
{
    Open(text, 0, 1);
    uitest::TypeText(hEditor, L"tab");
    uitest::PressKey(hEditor, VK_TAB);
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(L"tab", host.endEdits[0].text);
    EXPECT_EQ(::GetDlgItem(host.m_hWnd, kNextId), ::GetFocus());
}

TEST_F(TextEditor, LosingTheFocusOrTheWheelAcceptsOnce)
{
    Open(text, 0, 1);
    uitest::TypeText(hEditor, L"f");
    uitest::PumpMessages();
    ::SetFocus(::GetDlgItem(host.m_hWnd, kNextId));
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(L"f", host.endEdits[0].text);

    host.endEdits.clear();
    g_editorsDeleted = 0;
    Open(text, 1, 1);
    uitest::TypeText(hEditor, L"w");
    ::PostMessageW(hEditor, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(L"w", host.endEdits[0].text);
}

TEST_F(TextEditor, AnEditorThatWantsEnterKeepsEditing)
{
    text->EditorStyle |= ES_WANTRETURN;
    Open(text, 0, 1);
    uitest::PressKey(hEditor, VK_RETURN);
    uitest::PumpMessages();
    EXPECT_TRUE(host.endEdits.empty());
    EXPECT_TRUE(::IsWindowVisible(hEditor));
    uitest::PressKey(hEditor, VK_ESCAPE);
    EXPECT_TRUE(Closed());
}

class ComboEditor : public EditorFixture {};

TEST_F(ComboEditor, OpensWithTheCellsEntrySelectedAndEnterWithoutChangeReportsNothingNew)
{
    CWnd* editor = Open(combo, 0, 2);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(0, static_cast<CComboBox*>(editor)->GetCurSel());
    EXPECT_EQ(ComboEdit(), ::GetFocus()) << "the combo box hands its focus to its edit field";
    EXPECT_TRUE(host.endEdits.empty());
    uitest::PressKey(ComboEdit(), VK_RETURN);
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(0u, host.endEdits[0].mask);
}

TEST_F(ComboEditor, ChoosingAnEntryReportsItsTextAndItemData)
{
    Open(combo, 0, 2);
    uitest::PressKey(ComboEdit(), VK_DOWN);  // the next entry, with CBN_SELCHANGE
    uitest::PumpMessages();
    uitest::PressKey(ComboEdit(), VK_RETURN);
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    const EndEdit& e = host.endEdits[0];
    EXPECT_EQ(static_cast<UINT>(LVIF_TEXT | LVIF_PARAM), e.mask);
    EXPECT_EQ(L"Encryption", e.text);
    EXPECT_EQ(11, e.lParam);
    EXPECT_EQ(0, e.item);
    EXPECT_EQ(2, e.subItem);
}

TEST_F(ComboEditor, ATextNotAmongTheEntriesStaysAndTypingToItReportsNoItemData)
{
    CWnd* editor = Open(combo, 1, 2);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(L"Raw", uitest::WindowText(ComboEdit()));
    EXPECT_EQ(CB_ERR, static_cast<CComboBox*>(editor)->GetCurSel());
    ::SendMessageW(ComboEdit(), EM_SETSEL, 3, 3);
    uitest::TypeText(ComboEdit(), L"x");
    uitest::PressKey(ComboEdit(), VK_TAB);
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(L"Rawx", host.endEdits[0].text);
    EXPECT_EQ(-1, host.endEdits[0].lParam);
}

TEST_F(ComboEditor, AnyCharacterTypedCountsAsAChangeEvenBackToTheOldText)
{
    Open(combo, 0, 2);
    ::SendMessageW(ComboEdit(), EM_SETSEL, 3, 3);
    uitest::TypeText(ComboEdit(), L"x\b");
    uitest::PressKey(ComboEdit(), VK_RETURN);
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(static_cast<UINT>(LVIF_TEXT | LVIF_PARAM), host.endEdits[0].mask);
    EXPECT_EQ(L"COM", host.endEdits[0].text);
}

TEST_F(ComboEditor, TheFocusLeavingTheEditFieldAcceptsOnceAndEscapeCancels)
{
    Open(combo, 0, 2);
    uitest::PressKey(ComboEdit(), VK_DOWN);
    uitest::PumpMessages();
    ::SetFocus(::GetDlgItem(host.m_hWnd, kNextId));
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(L"Encryption", host.endEdits[0].text);

    host.endEdits.clear();
    g_editorsDeleted = 0;
    Open(combo, 0, 2);
    uitest::PressKey(ComboEdit(), VK_DOWN);
    uitest::PressKey(ComboEdit(), VK_ESCAPE);
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(0u, host.endEdits[0].mask);
}

TEST_F(ComboEditor, DestroyingAnOpenEditorReportsACancelledEditOnce)
{
    CWnd* editor = Open(combo, 0, 2);
    ASSERT_NE(nullptr, editor);
    HWND hEdit = ComboEdit();
    uitest::PressKey(hEdit, VK_DOWN);
    uitest::PumpMessages();
    ::DestroyWindow(hEditor);
    EXPECT_FALSE(::IsWindow(hEdit));
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(0u, host.endEdits[0].mask);
    EXPECT_TRUE(Closed());
}

TEST_F(ComboEditor, ADropDownListHasNoEditFieldAndEndsByKeysOrTheFocusMovingOn)
{
    combo->ComboStyle = (combo->ComboStyle & ~3u) | CBS_DROPDOWNLIST;
    for (UINT key : {VK_RETURN, VK_ESCAPE, VK_TAB}) {
        host.endEdits.clear();
        g_editorsDeleted = 0;
        CWnd* editor = Open(combo, 0, 2);
        ASSERT_NE(nullptr, editor);
        EXPECT_EQ(nullptr, ComboEdit());
        EXPECT_EQ(hEditor, ::GetFocus());
        uitest::PressKey(hEditor, key);
        EXPECT_TRUE(Closed()) << key;
        EXPECT_EQ(1u, host.endEdits.size()) << key;
    }
    // The focus moving elsewhere accepts the entry chosen.
    host.endEdits.clear();
    g_editorsDeleted = 0;
    auto* editor = static_cast<CComboBox*>(Open(combo, 0, 2));
    ASSERT_NE(nullptr, editor);
    uitest::PressKey(hEditor, VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return editor->GetCurSel() == 1; }));
    ::SetFocus(::GetDlgItem(host.m_hWnd, kNextId));
    ASSERT_TRUE(Closed());
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(L"Encryption", host.endEdits[0].text);
}

TEST_F(ComboEditor, TheDropDownListIsAsWideAsItsWidestEntryWithRoomForAScrollBarWhenNeeded)
{
    // A combo box narrower than its entries: the drop-down list is never narrower than the box.
    grid.SetColumnWidth(2, 30);
    auto dropDownWidth = [&](std::vector<std::wstring> entries, UINT maxWidth, int* pWidest) {
        combo->ComboItemList.clear();
        for (size_t i = 0; i < entries.size(); ++i)
            combo->AddListItem(i, entries[i].c_str());
        combo->MaxDropDownWidth = maxWidth;
        g_editorsDeleted = 0;
        auto* editor = static_cast<CComboBox*>(Open(combo, 2, 2));
        const int itemHeight = editor->GetItemHeight(-1);
        HDC hDC = ::GetDC(hEditor);
        HGDIOBJ old = ::SelectObject(hDC, reinterpret_cast<HGDIOBJ>(editor->SendMessage(WM_GETFONT)));
        *pWidest = 0;
        for (const std::wstring& entry : entries) {
            SIZE size = {};
            ::GetTextExtentPoint32W(hDC, entry.c_str(), static_cast<int>(entry.size()), &size);
            *pWidest = std::max<int>(*pWidest, size.cx);
        }
        SIZE zero = {};
        ::GetTextExtentPoint32W(hDC, L"0", 1, &zero);
        *pWidest += zero.cx;
        ::SelectObject(hDC, old);
        ::ReleaseDC(hEditor, hDC);
        editor->ShowDropDown(TRUE);
        const int width = editor->GetDroppedWidth();
        // The window was made as high as the selection field and the visible entries; Wine
        // reports the entries' part of it as the dropped rectangle.
        RECT dropped = {};
        editor->GetDroppedControlRect(&dropped);
        const int visible = std::min<int>(static_cast<int>(combo->MaxVisibleItems), static_cast<int>(entries.size()));
        EXPECT_EQ(visible * editor->GetItemHeight(0) + 2 * ::GetSystemMetrics(SM_CYEDGE), dropped.bottom - dropped.top);
        EXPECT_EQ(itemHeight, editor->GetItemHeight(-1)) << "the selection field keeps its height";
        editor->ShowDropDown(FALSE);
        uitest::PressKey(ComboEdit(), VK_ESCAPE);
        EXPECT_TRUE(Closed());
        return width;
    };
    int widest = 0;
    const int threeEntries = dropDownWidth({L"COM", L"Encryption", L"x"}, 200, &widest);
    EXPECT_EQ(widest, threeEntries) << "three entries fit: no scroll bar";

    std::vector<std::wstring> twenty;
    for (int i = 1; i <= 20; ++i)
        twenty.push_back(std::to_wstring(i * 1111));
    const int twentyEntries = dropDownWidth(twenty, 200, &widest);
    EXPECT_EQ(widest + ::GetSystemMetrics(SM_CXVSCROLL), twentyEntries) << "seven of twenty visible";

    const std::wstring wide(80, L'W');
    int zeroWidth = 0;
    const int capped = dropDownWidth({wide, L"COM"}, 200, &zeroWidth);
    // The widest entry counts as 200 pixels; the rest is the "0".
    HDC hDC = ::GetDC(grid.m_hWnd);
    HGDIOBJ old = ::SelectObject(hDC, grid.GetGridFont()->GetSafeHandle());
    SIZE zero = {};
    ::GetTextExtentPoint32W(hDC, L"0", 1, &zero);
    ::SelectObject(hDC, old);
    ::ReleaseDC(grid.m_hWnd, hDC);
    EXPECT_EQ(200 + zero.cx, capped);
}

TEST_F(ComboEditor, TheDropDownOpensOnTheFirstFocusOnlyWhenAsked)
{
    combo->ShowDropDownOnFocus = 1;
    auto* editor = static_cast<CComboBox*>(Open(combo, 0, 2));
    ASSERT_NE(nullptr, editor);
    EXPECT_TRUE(editor->GetDroppedState());
    editor->ShowDropDown(FALSE);
    editor->SetFocus();
    uitest::PumpMessages();
    EXPECT_FALSE(editor->GetDroppedState());
    EXPECT_TRUE(host.endEdits.empty()) << "the focus moving between the combo box and its edit field ends nothing";
    uitest::PressKey(ComboEdit(), VK_ESCAPE);
    EXPECT_TRUE(Closed());
}

TEST_F(EditorFixture, BothEditorsSitOverTheirCellsAsTheUserSeesThem)
{
    grid.SetRowTrait(new CGridRowTraitXP);
    grid.SetItemText(1, 1, L"Port 4001");
    grid.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    CWnd* textEditor = Open(text, 1, 1);
    ASSERT_NE(nullptr, textEditor);
    uitest::TypeText(hEditor, L"Port 4002");
    uitest::PumpMessages();
    auto* comboEditor = static_cast<CComboBox*>(combo->StartCellEdit(grid, 2, 2));
    ASSERT_NE(nullptr, comboEditor);
    comboEditor->ShowWindow(SW_SHOW);
    comboEditor->ShowDropDown(TRUE);
    uitest::PumpMessages();

    // Each editor covers the rectangle its trait gives the cell (the combo box its selection field).
    const std::pair<CWnd*, RECT> placed[] = {{textEditor, text->GetEditorRect(grid, 1, 1)},
                                             {comboEditor, combo->GetEditorRect(grid, 2, 2)}};
    for (const auto& [editor, cell] : placed) {
        RECT window = {};
        editor->GetWindowRect(&window);
        grid.ScreenToClient(&window);
        EXPECT_EQ(cell.left, window.left);
        EXPECT_EQ(cell.top, window.top);
        EXPECT_EQ(cell.right, window.right);
        EXPECT_TRUE(editor->IsWindowVisible());
    }
    wchar_t dir[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH, dir), 0u);
    EXPECT_TRUE(uitest::SaveScreenshot(host.m_hWnd, std::wstring(dir) + L"grid_editors.png"));
    comboEditor->ShowDropDown(FALSE);
}
