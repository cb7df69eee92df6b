// Column traits: their defaults, comparisons, image states, click classification, editor
// rectangles and editors, and their part of custom draw.
#include "tests/grid/GridTestSupport.h"

using namespace gridtest;

namespace {

// The Edit trait made concrete for tests of the image behaviour it inherits.
class ImageTrait : public CGridColumnTraitEdit {
public:
    int starts = 0;
    CWnd* StartCellEdit(CGridListCtrlEx& owner, int nRow, int nCol) override
    {
        ++starts;
        return CGridColumnTraitEdit::StartCellEdit(owner, nRow, nCol);
    }
};

class CountingBaseTrait : public CGridColumnTrait {
public:
    int starts = 0;
    CWnd* StartCellEdit(CGridListCtrlEx&, int, int) override
    {
        ++starts;
        return nullptr;
    }
};

class TraitFixture : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32, 4, 0));
        for (int i = 0; i < 10; ++i) {
            HICON hIcon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
            images.Add(hIcon);
        }
    }
    void SetImage(int nRow, int nCol, int nImage)
    {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = nRow;
        item.iSubItem = nCol;
        item.iImage = nImage;
        ASSERT_TRUE(grid.SetItem(&item));
    }
    CPoint Centre(int nRow, int nCol, int nPart)
    {
        CRect rect;
        EXPECT_TRUE(grid.GetSubItemRect(nRow, nCol, nPart, rect));
        return rect.CenterPoint();
    }

    CImageList images;
};

HWND FirstChild(HWND hWnd, const wchar_t* className)
{
    for (HWND h = ::GetWindow(hWnd, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        ::GetClassNameW(h, name, 32);
        if (lstrcmpiW(name, className) == 0)
            return h;
    }
    return nullptr;
}

}  // namespace

TEST(ColumnTraitDefaults, EveryTraitStartsWithItsDocumentedFields)
{
    CGridColumnTrait base;
    EXPECT_TRUE(base.Visible);
    EXPECT_EQ(0, base.SavedWidth);
    EXPECT_EQ(-1, base.SavedPosition);
    EXPECT_FALSE(base.AlwaysHidden);
    EXPECT_FALSE(base.AlwaysVisible);
    EXPECT_TRUE(base.Sortable);
    EXPECT_TRUE(base.Editable);
    EXPECT_TRUE(base.Resizable);
    EXPECT_EQ(-1, base.MinWidth);
    EXPECT_EQ(-1, base.MaxWidth);

    CGridColumnTraitText text;
    EXPECT_EQ(0xFFFFFFFFu, text.TextColor);
    EXPECT_EQ(0xFFFFFFFFu, text.BackColor);
    EXPECT_FALSE(text.SortAsNumber);

    CGridColumnTraitEdit edit;
    EXPECT_EQ(0x800180u, edit.EditorStyle);
    EXPECT_EQ(0xFFFFFFFFu, edit.TextLimit);
    EXPECT_TRUE(edit.GetImageStates().empty());
    EXPECT_FALSE(edit.SortByImage || edit.ToggleOnClick || edit.SingleClickEdit || edit.ImageClickEdits);

    CGridColumnTraitCombo combo;
    EXPECT_EQ(0x300442u, combo.ComboStyle);
    EXPECT_EQ(7u, combo.MaxVisibleItems);
    EXPECT_EQ(200u, combo.MaxDropDownWidth);
    EXPECT_EQ(0u, combo.ShowDropDownOnFocus);
    EXPECT_EQ(nullptr, combo.GetEditor());
}

TEST(ColumnTraitBase, EditsNothingClassifiesNothingAndFindsAllTextsEqual)
{
    TestGrid grid;  // no window is needed
    CountingBaseTrait trait;
    EXPECT_EQ(0, trait.ClassifyClick(grid, 0, 0, CPoint(1, 1), false));
    EXPECT_EQ(0, trait.CGridColumnTrait::CompareCellTexts(L"a", L"b", true));
    EXPECT_EQ(nullptr, trait.BeginEditAtPoint(grid, 0, 0, CPoint(5, 5)));
    EXPECT_EQ(1, trait.starts);
    EXPECT_FALSE(trait.IsCellReadOnly(grid, 0, 0, CPoint(-1, -1)));
    trait.Editable = false;
    EXPECT_TRUE(trait.IsCellReadOnly(grid, 0, 0, CPoint(-1, -1)));
    CGridColumnTrait plain;
    EXPECT_EQ(nullptr, plain.StartCellEdit(grid, 0, 0));
}

TEST(ColumnTraitCompare, TextsCompareFoldingOnlyAToZ)
{
    CGridColumnTraitText trait;
    EXPECT_EQ(0, trait.CompareCellTexts(L"abc", L"ABC", true));
    EXPECT_LT(trait.CompareCellTexts(L"a", L"B", true), 0);
    EXPECT_GT(trait.CompareCellTexts(L"B", L"a", true), 0);
    EXPECT_GT(trait.CompareCellTexts(L"a", L"B", false), 0);
    EXPECT_LT(trait.CompareCellTexts(L"", L"a", true), 0);
    EXPECT_GT(trait.CompareCellTexts(L"\x00E9", L"\x00C9", true), 0);
    EXPECT_LT(trait.CompareCellTexts(nullptr, L"a", true), 0);
}

TEST(ColumnTraitCompare, NumbersCompareByTheCRuntimesReadingSaturated)
{
    CGridColumnTraitText trait;
    trait.SortAsNumber = true;
    EXPECT_LT(trait.CompareCellTexts(L"9", L"10", true), 0);
    EXPECT_LT(trait.CompareCellTexts(L"10", L"9", false), 0);
    EXPECT_EQ(0, trait.CompareCellTexts(L"abc", L"0", true));
    EXPECT_EQ(0, trait.CompareCellTexts(L"   5", L"5", true));
    EXPECT_LT(trait.CompareCellTexts(L"-3", L"2", true), 0);
    EXPECT_EQ(0, trait.CompareCellTexts(L"+7", L"7", true));
    EXPECT_EQ(0, trait.CompareCellTexts(L"4001x", L"4001", true));
    EXPECT_EQ(0, trait.CompareCellTexts(L"99999999999", L"2147483647", true));
    EXPECT_EQ(0, trait.CompareCellTexts(L"-99999999999", L"-2147483648", true));
    EXPECT_GT(trait.CompareCellTexts(L"2147483647", L"-2147483648", true), 0);
}

TEST(ColumnTraitCompare, RowsCompareByImageFirstWhenAskedThenByText)
{
    ImageTrait trait;
    LVITEMW left = {};
    LVITEMW right = {};
    left.iImage = 1;
    right.iImage = 3;
    left.pszText = const_cast<LPWSTR>(L"b");
    right.pszText = const_cast<LPWSTR>(L"a");
    EXPECT_GT(trait.CompareRows(left, right, true), 0) << "only the texts count";
    trait.SortByImage = true;
    EXPECT_EQ(-2, trait.CompareRows(left, right, true));
    EXPECT_EQ(2, trait.CompareRows(left, right, false));
    right.iImage = 1;
    EXPECT_GT(trait.CompareRows(left, right, true), 0);
}

TEST_F(TraitFixture, ImageStatesCycleAndMarkCellsReadOnly)
{
    Fill(3, 3);
    auto* trait = new ImageTrait;
    trait->AddImageIndex(5, L"five", true);
    trait->AddImageIndex(7, L"seven", true);
    trait->AddImageIndex(9, L"nine", true);
    grid.InsertColumnWithTrait(3, L"I", LVCFMT_LEFT, 80, 3, trait);
    for (const auto& [image, next] : std::vector<std::pair<int, int>>{{7, 9}, {9, 5}, {4, -1}}) {
        SetImage(0, 3, image);
        EXPECT_EQ(next, trait->NextImageIndex(grid, 0, 3)) << image;
    }

    auto* single = new ImageTrait;
    single->AddImageIndex(1, L"x", false);
    grid.InsertColumnWithTrait(4, L"R", LVCFMT_LEFT, 80, 4, single);
    EXPECT_EQ(-1, single->NextImageIndex(grid, 0, 4));
    SetImage(0, 4, 1);
    EXPECT_TRUE(single->IsCellReadOnly(grid, 0, 4, CPoint(-1, -1)));
    const CPoint outside(-50, -50);
    EXPECT_FALSE(single->IsCellReadOnly(grid, 0, 4, outside)) << "a click beside the label stays possible";
    SetImage(0, 4, 2);
    EXPECT_FALSE(single->IsCellReadOnly(grid, 0, 4, CPoint(-1, -1)));
    SetImage(0, 4, -1);
    EXPECT_FALSE(single->IsCellReadOnly(grid, 0, 4, CPoint(-1, -1)));
    single->Editable = false;
    EXPECT_TRUE(single->IsCellReadOnly(grid, 0, 4, CPoint(-1, -1)));
}

TEST_F(TraitFixture, ClicksEditTheFocusCellOrSwitchImagesOrToggleCheckBoxes)
{
    Fill(2, 3);
    grid.SetImageList(&images, LVSIL_SMALL);
    auto* trait = new ImageTrait;
    grid.InsertColumnWithTrait(2, L"I", LVCFMT_LEFT, 80, 2, trait);
    grid.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    grid.setFocusColumn(2);
    const CPoint label = Centre(1, 2, LVIR_LABEL);
    EXPECT_EQ(1, trait->ClassifyClick(grid, 1, 2, label, false));
    EXPECT_EQ(0, trait->ClassifyClick(grid, 0, 2, label, false)) << "another row";
    grid.setFocusColumn(1);
    EXPECT_EQ(0, trait->ClassifyClick(grid, 1, 2, label, false)) << "another column";
    EXPECT_EQ(0, trait->ClassifyClick(grid, 1, 2, label, true)) << "a double click";
    trait->SingleClickEdit = true;
    EXPECT_EQ(1, trait->ClassifyClick(grid, 0, 2, label, false));
    trait->SingleClickEdit = false;

    trait->ToggleOnClick = true;
    trait->AddImageIndex(0, L"Off", true);
    SetImage(1, 2, 0);
    const CPoint icon = Centre(1, 2, LVIR_ICON);
    EXPECT_EQ(0, trait->ClassifyClick(grid, 1, 2, icon, false)) << "one image has none to switch to";
    trait->AddImageIndex(1, L"On", true);
    EXPECT_EQ(2, trait->ClassifyClick(grid, 1, 2, icon, false));

    grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    auto* first = new ImageTrait;
    first->ToggleOnClick = true;
    grid.InsertColumnWithTrait(0, L"C", LVCFMT_LEFT, 120, 0, first);
    CRect row;
    ASSERT_TRUE(grid.GetItemRect(1, &row, LVIR_BOUNDS));
    EXPECT_EQ(1, first->ClassifyClick(grid, 1, 0, CPoint(row.left + 3, row.CenterPoint().y), false));
}

TEST_F(TraitFixture, EditsBeginOnTheLabelOrFromTheKeyboardAndImageClicksReportTheNextImage)
{
    Fill(2, 3);
    grid.SetImageList(&images, LVSIL_SMALL);
    auto* trait = new ImageTrait;
    grid.InsertColumnWithTrait(2, L"I", LVCFMT_LEFT, 80, 2, trait);
    CWnd* keyboard = trait->BeginEditAtPoint(grid, 1, 2, CPoint(-1, -1));
    EXPECT_NE(nullptr, keyboard);
    CWnd* atLabel = trait->BeginEditAtPoint(grid, 1, 2, Centre(1, 2, LVIR_LABEL));
    EXPECT_NE(nullptr, atLabel);
    EXPECT_EQ(nullptr, trait->BeginEditAtPoint(grid, 1, 2, CPoint(-5, -5)));

    trait->AddImageIndex(0, L"Off", true);
    trait->AddImageIndex(1, L"On", true);
    SetImage(1, 2, 0);
    EXPECT_EQ(nullptr, trait->BeginEditAtPoint(grid, 1, 2, Centre(1, 2, LVIR_ICON)));
    ASSERT_EQ(1u, host.endEdits.size());
    const EndEdit& e = host.endEdits[0];
    EXPECT_EQ(static_cast<UINT>(LVIF_IMAGE | LVIF_TEXT), e.mask);
    EXPECT_EQ(1, e.image);
    EXPECT_EQ(L"On", e.text);
    EXPECT_EQ(2, e.cchTextMax);
    EXPECT_EQ(1, e.item);
    EXPECT_EQ(2, e.subItem);
    EXPECT_EQ(grid.m_hWnd, e.hwndFrom);
    EXPECT_EQ(static_cast<UINT_PTR>(kListId), e.idFrom);
    keyboard->DestroyWindow();
    atLabel->DestroyWindow();
}

TEST_F(TraitFixture, AnImageClickWithToggleReachesEverySelectedRowNotYetShowingTheNewImage)
{
    Fill(2, 4);
    auto* trait = new ImageTrait;
    grid.InsertColumnWithTrait(2, L"I", LVCFMT_LEFT, 80, 2, trait);
    trait->AddImageIndex(0, L"Same", true);
    trait->AddImageIndex(1, L"Same", true);
    SetImage(0, 2, 0);
    EXPECT_EQ(nullptr, trait->OnImageClick(grid, 0, 2));
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(static_cast<UINT>(LVIF_IMAGE), host.endEdits[0].mask) << "equal texts travel not";

    host.endEdits.clear();
    trait->ToggleOnClick = true;
    const int images[] = {0, 1, 0, 0};
    for (int r = 0; r < 4; ++r)
        SetImage(r, 2, images[r]);
    for (int r = 0; r < 3; ++r)
        grid.SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
    trait->OnImageClick(grid, 0, 2);
    ASSERT_EQ(2u, host.endEdits.size());
    EXPECT_EQ(0, host.endEdits[0].item);
    EXPECT_EQ(2, host.endEdits[1].item);
}

TEST_F(TraitFixture, ACheckBoxClickOnASelectedRowCarriesItsStateOverTheSelection)
{
    Fill(1, 4);
    grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    ImageTrait trait;
    grid.SetCheck(0, TRUE);
    EXPECT_EQ(nullptr, trait.OnCheckBoxClick(grid, 0, 0));
    for (int r = 1; r < 4; ++r)
        EXPECT_FALSE(grid.GetCheck(r)) << "an unselected row changes no other";

    for (int r = 0; r < 3; ++r)
        grid.SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
    grid.SetCheck(2, TRUE);
    trait.OnCheckBoxClick(grid, 0, 0);
    EXPECT_TRUE(grid.GetCheck(1));
    EXPECT_TRUE(grid.GetCheck(2));
    EXPECT_FALSE(grid.GetCheck(3)) << "not selected";
}

TEST_F(TraitFixture, TheEditorRectangleIsTheLabelWithRoomForOneLine)
{
    Fill(3, 2);
    grid.SetExtendedStyle(grid.GetExtendedStyle() & ~LVS_EX_GRIDLINES);
    CGridColumnTraitText* trait = static_cast<CGridColumnTraitText*>(grid.GetColumnTrait(1));
    RECT label = {};
    ASSERT_TRUE(grid.GetCellPartRect(1, 1, LVIR_LABEL, label));
    const RECT rect = trait->GetEditorRect(grid, 1, 1);
    const int minHeight = trait->MeasureTextHeight(grid) + 2 * ::GetSystemMetrics(SM_CXEDGE);
    EXPECT_EQ(label.left - 1, rect.left);
    EXPECT_EQ(label.right, rect.right);
    EXPECT_EQ(label.top, rect.top);
    EXPECT_EQ(std::max(static_cast<int>(label.bottom - label.top), minHeight), rect.bottom - rect.top);

    grid.SetExtendedStyle(grid.GetExtendedStyle() | LVS_EX_GRIDLINES);
    const RECT lined = trait->GetEditorRect(grid, 1, 1);
    EXPECT_EQ(std::max(static_cast<int>(label.bottom - label.top) - 1, minHeight), lined.bottom - lined.top);

    // A row that is not there has no rectangle, and nothing is edited.
    CGridColumnTraitEdit edit;
    EXPECT_TRUE(IsNoEditorRect(edit.GetEditorRect(grid, 9, 0)));
    EXPECT_EQ(nullptr, edit.StartCellEdit(grid, 9, 0));
    EXPECT_EQ(nullptr, FirstChild(grid.m_hWnd, L"Edit"));
}

TEST_F(TraitFixture, TheTextEditorIsAlignedAndFilledAsItsColumn)
{
    Fill(1, 2);
    auto* centred = new CGridColumnTraitEdit;
    auto* right = new CGridColumnTraitEdit;
    auto* left = new CGridColumnTraitEdit;
    grid.InsertColumnWithTrait(1, L"C", LVCFMT_CENTER, 80, 1, centred);
    grid.InsertColumnWithTrait(2, L"R", LVCFMT_RIGHT, 80, 2, right);
    grid.InsertColumnWithTrait(3, L"L", LVCFMT_LEFT, 80, 3, left);
    grid.SetItemText(1, 1, L"centre text");
    grid.SetMarginFactor(1.2);

    CWnd* editor = centred->StartCellEdit(grid, 1, 1);
    ASSERT_NE(nullptr, editor);
    EXPECT_TRUE(editor->GetStyle() & ES_CENTER);
    EXPECT_FALSE(editor->GetStyle() & ES_RIGHT);
    EXPECT_EQ(MAKELONG(0, 0), editor->SendMessage(EM_GETMARGINS));
    EXPECT_EQ(grid.m_hWnd, ::GetParent(editor->m_hWnd));
    EXPECT_EQ(0, editor->GetDlgCtrlID());
    EXPECT_FALSE(editor->IsWindowVisible());
    EXPECT_EQ(L"centre text", uitest::WindowText(editor->m_hWnd));
    DWORD start = 1, end = 0;
    editor->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(11u, end);
    EXPECT_EQ(grid.GetGridFont()->GetSafeHandle(), reinterpret_cast<HGDIOBJ>(editor->SendMessage(WM_GETFONT)));
    editor->DestroyWindow();

    editor = right->StartCellEdit(grid, 1, 2);
    ASSERT_NE(nullptr, editor);
    EXPECT_TRUE(editor->GetStyle() & ES_RIGHT);
    EXPECT_EQ(MAKELONG(0, 7), editor->SendMessage(EM_GETMARGINS));
    editor->DestroyWindow();

    left->TextLimit = 10;
    editor = left->StartCellEdit(grid, 1, 3);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(MAKELONG(4, 0), editor->SendMessage(EM_GETMARGINS));
    EXPECT_EQ(10, editor->SendMessage(EM_GETLIMITTEXT));
    editor->DestroyWindow();
}

TEST_F(TraitFixture, AnEditorWhoseWindowCannotBeMadeIsNotLeft)
{
    TestGrid noWindow;
    CGridColumnTraitEdit edit;
    CGridColumnTraitCombo combo;
    const RECT rect = {0, 0, 50, 20};
    const long before = LiveAllocations();
    EXPECT_EQ(nullptr, edit.CreateCellEditorWindow(noWindow, 0, 0, edit.EditorStyle, rect));
    EXPECT_EQ(nullptr, combo.CreateCellEditorWindow(noWindow, 0, 0, combo.ComboStyle, rect));
    EXPECT_EQ(before, LiveAllocations());
}

class ComboTraitFixture : public TraitFixture {
protected:
    CGridColumnTraitCombo* AddTriggerColumn()
    {
        auto* trait = new CGridColumnTraitCombo;
        for (int i = 1; i <= 255; ++i) {
            CString text;
            text.Format(L"%d", i);
            EXPECT_TRUE(trait->AddListItem(static_cast<ULONGLONG>(i - 1), text));
        }
        grid.InsertColumnWithTrait(grid.GetColumnCount(), L"Trigger", LVCFMT_CENTER, 60, grid.GetColumnCount(), trait);
        return trait;
    }
};

TEST_F(ComboTraitFixture, TheComboEditorOffersTheItemsWithTheCellsEntrySelected)
{
    Fill(1, 3);
    CGridColumnTraitCombo* trigger = AddTriggerColumn();
    grid.SetItemText(0, 1, L"255");
    grid.SetItemText(1, 1, L"300");

    CGridEditorComboBox* editor = static_cast<CGridEditorComboBox*>(trigger->StartCellEdit(grid, 0, 1));
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(editor, trigger->GetEditor());
    EXPECT_EQ(255, editor->GetCount());
    EXPECT_EQ(254, editor->GetCurSel());
    EXPECT_EQ(254u, editor->GetItemData(editor->GetCurSel()));
    EXPECT_FALSE(editor->GetExStyle() & WS_EX_RIGHT) << "a centred column";
    trigger->FinishCellEdit();
    EXPECT_EQ(nullptr, trigger->GetEditor());
    editor->DestroyWindow();

    editor = static_cast<CGridEditorComboBox*>(trigger->StartCellEdit(grid, 1, 1));
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(CB_ERR, editor->GetCurSel());
    EXPECT_EQ(L"300", uitest::WindowText(editor->m_hWnd));
    editor->DestroyWindow();

    auto* protocol = new CGridColumnTraitCombo;
    protocol->AddListItem(0, L"COM");
    protocol->AddListItem(1, L"Encryption");
    grid.InsertColumnWithTrait(2, L"Protocol", LVCFMT_RIGHT, 80, 2, protocol);
    grid.SetItemText(0, 2, L"com");
    editor = static_cast<CGridEditorComboBox*>(protocol->StartCellEdit(grid, 0, 2));
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(0, editor->GetCurSel()) << "the combo box finds its entries without regard to case";
    EXPECT_TRUE(editor->GetExStyle() & WS_EX_RIGHT) << "a right-aligned column";
    editor->DestroyWindow();

    auto* empty = new CGridColumnTraitCombo;
    grid.InsertColumnWithTrait(3, L"Free", LVCFMT_LEFT, 80, 3, empty);
    grid.SetItemText(0, 3, L"anything");
    editor = static_cast<CGridEditorComboBox*>(empty->StartCellEdit(grid, 0, 3));
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(0, editor->GetCount());
    EXPECT_EQ(L"anything", uitest::WindowText(editor->m_hWnd));
    editor->DestroyWindow();
}

TEST_F(ComboTraitFixture, EntriesKeepTheirOrderDuplicatesAndItemData)
{
    Fill(1, 1);
    auto* trait = new CGridColumnTraitCombo;
    trait->AddListItem(5, L"b");
    trait->AddListItem(3, L"a");
    trait->AddListItem(5, L"b");
    ASSERT_EQ(3u, trait->ComboItemList.size());
    grid.InsertColumnWithTrait(1, L"X", LVCFMT_LEFT, 80, 1, trait);
    trait->FillEditorList();  // no editor: nothing happens
    auto* editor = static_cast<CGridEditorComboBox*>(trait->StartCellEdit(grid, 0, 1));
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ((std::vector<std::wstring>{L"b", L"a", L"b"}), uitest::ComboBoxItems(editor->m_hWnd));
    EXPECT_EQ(5u, editor->GetItemData(0));
    EXPECT_EQ(3u, editor->GetItemData(1));
    EXPECT_EQ(5u, editor->GetItemData(2));
    editor->DestroyWindow();
}

TEST_F(ComboTraitFixture, TheSelectionFieldIsFittedToTheCellOnlyWhenTheyDiffer)
{
    // A cell of a chosen height, the rest as the trait does it.
    class FixedHeightCombo : public CGridColumnTraitCombo {
    public:
        int height = 0;
        RECT GetEditorRect(CGridListCtrlEx& owner, int nRow, int nCol) override
        {
            RECT rect = CGridColumnTraitCombo::GetEditorRect(owner, nRow, nCol);
            rect.bottom = rect.top + height;
            return rect;
        }
    };
    Fill(1, 1);
    auto* trait = new FixedHeightCombo;
    trait->AddListItem(0, L"x");
    grid.InsertColumnWithTrait(1, L"X", LVCFMT_LEFT, 80, 1, trait);

    // What a combo box of the same kind is made with.
    CComboBox reference;
    ASSERT_TRUE(reference.Create(trait->ComboStyle | WS_CHILD, CRect(0, 0, 80, 20), &grid, 0));
    reference.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(grid.GetGridFont()->GetSafeHandle()), FALSE);
    CRect client;
    reference.GetClientRect(&client);
    const int itemHeight = reference.GetItemHeight(-1);
    reference.DestroyWindow();

    for (int extra : {0, -::GetSystemMetrics(SM_CXBORDER)}) {
        trait->height = client.Height() + extra;
        CComboBox* editor = static_cast<CComboBox*>(trait->StartCellEdit(grid, 0, 1));
        ASSERT_NE(nullptr, editor);
        EXPECT_EQ(itemHeight, editor->GetItemHeight(-1)) << extra;
        editor->DestroyWindow();
    }
    trait->height = client.Height() + 6;
    CComboBox* taller = static_cast<CComboBox*>(trait->StartCellEdit(grid, 0, 1));
    ASSERT_NE(nullptr, taller);
    // How far depends on how the platform sizes a combo box asked for a taller window.
    EXPECT_GT(taller->GetItemHeight(-1), itemHeight);
    taller->DestroyWindow();
}

class TraitCustomDraw : public TraitFixture {};

TEST_F(TraitCustomDraw, ColumnColoursAndTheGridsColoursColourTheCellUntilItsPostPaint)
{
    Fill(2, 1);
    auto* trait = static_cast<CGridColumnTraitText*>(grid.GetColumnTrait(1));
    trait->TextColor = RGB(255, 0, 0);
    trait->BackColor = RGB(0, 0, 160);
    MemoryCanvas canvas;
    NMLVCUSTOMDRAW cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0, 1, canvas.dc());
    LRESULT result = 0;
    trait->OnCellCustomDraw(grid, &cd, &result);
    EXPECT_EQ(RGB(255, 0, 0), cd.clrText);
    EXPECT_EQ(RGB(0, 0, 160), cd.clrTextBk);
    EXPECT_EQ(static_cast<LRESULT>(CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT), result);
    cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT | CDDS_SUBITEM;
    result = 0;
    trait->OnCellCustomDraw(grid, &cd, &result);
    EXPECT_EQ(CLR_DEFAULT, cd.clrText);
    EXPECT_EQ(CLR_DEFAULT, cd.clrTextBk);
    EXPECT_EQ(static_cast<LRESULT>(CDRF_NEWFONT), result);

    grid.cellColors = [](int, int, COLORREF& text, COLORREF&) {
        text = RGB(0, 255, 0);
        return true;
    };
    cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0, 1, canvas.dc());
    trait->OnCellCustomDraw(grid, &cd, &result);
    EXPECT_EQ(RGB(0, 255, 0), cd.clrText) << "the grid's colour wins";

    // Stages of the row as a whole are no business of the column.
    cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT, 0, 1, canvas.dc());
    result = 0;
    trait->OnCellCustomDraw(grid, &cd, &result);
    EXPECT_EQ(0, result);
    EXPECT_EQ(CLR_DEFAULT, cd.clrText);
}

TEST_F(TraitCustomDraw, ACellFontIsSelectedForTheCellAndDeletedAfterIt)
{
    Fill(2, 1);
    auto* trait = static_cast<CGridColumnTraitText*>(grid.GetColumnTrait(1));
    grid.cellFont = [](int, int, LOGFONTW& font) {
        font.lfHeight = -14;
        font.lfWeight = FW_BOLD;
        lstrcpyW(font.lfFaceName, L"Arial");
        return true;
    };
    MemoryCanvas canvas;
    HGDIOBJ original = ::GetCurrentObject(canvas.dc(), OBJ_FONT);
    NMLVCUSTOMDRAW cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0, 1, canvas.dc());
    LRESULT result = 0;
    trait->OnCellCustomDraw(grid, &cd, &result);
    HGDIOBJ cellFont = ::GetCurrentObject(canvas.dc(), OBJ_FONT);
    EXPECT_NE(original, cellFont);
    EXPECT_EQ(static_cast<LRESULT>(CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT), result);
    cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT | CDDS_SUBITEM;
    trait->OnCellCustomDraw(grid, &cd, &result);
    EXPECT_EQ(original, ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    EXPECT_EQ(0u, ::GetObjectType(cellFont)) << "the cell's font is deleted";
}
