// The grid's core: construction and ownership, set-up and themes, the column-trait table, custom
// draw through the traits, fonts, the empty-list text, cell rectangles and destruction.
#include "tests/grid/GridTestSupport.h"

#include "controls/grid/ColumnStateStore.h"
#include "framework/debug.h"

using namespace gridtest;

namespace {

class CountedStore : public ColumnStateStore {
public:
    explicit CountedStore(int id) : m_id(id) {}
    ~CountedStore() override { DeletionLog().push_back(m_id); }
    int GetIntValue(LPCWSTR, int nDefault) override { return nDefault; }
    void SetIntValue(LPCWSTR, int) override {}
    void RemoveValues() override {}
    ColumnStateStore* GetDefaultState() override { return nullptr; }
    bool HasDefaultState() override { return false; }
    void ResetToDefault() override {}
    void GetProfiles(CStringArray&) override {}
    void GetActiveProfile(CString&) override {}
    void SelectProfile(LPCWSTR) override {}

private:
    int m_id;
};

using CountedTrait = Counted<CGridColumnTraitText>;

class CountedRowTrait : public CGridRowTraitText {
public:
    explicit CountedRowTrait(int id) : m_id(id) {}
    ~CountedRowTrait() override { DeletionLog().push_back(m_id); }

private:
    int m_id;
};

// ---- a visual-style library and system versions of the test's choosing ----

struct FakeSystem {
    WORD osVersion = 0x0601;
    bool commonControls6 = true;
    bool uxThemeLoads = true;
    const char* missingFunction = "";
    std::vector<std::wstring> themesSet;
    bool noThemeData = false;       // OpenThemeData finds none for the class
    HRESULT setThemeResult = S_OK;  // what SetWindowTheme answers
};
FakeSystem g_fake;

BOOL WINAPI FakeTrue()
{
    return TRUE;
}
HANDLE WINAPI FakeOpenThemeData(HWND, LPCWSTR)
{
    if (g_fake.noThemeData)
        return nullptr;
    return reinterpret_cast<HANDLE>(0x1234);
}
HRESULT WINAPI FakeCloseThemeData(HANDLE)
{
    return S_OK;
}
HRESULT WINAPI FakeSetWindowTheme(HWND, LPCWSTR name, LPCWSTR)
{
    g_fake.themesSet.push_back(name);
    return g_fake.setThemeResult;
}

template <class Fn>
FARPROC AsProc(Fn fn)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(fn));
}

GridPlatform FakePlatform()
{
    GridPlatform p = {};
    p.ReadOsVersion = [] { return g_fake.osVersion; };
    p.IsCommonControls6 = [] { return g_fake.commonControls6; };
    p.LoadThemeLibrary = [] { return g_fake.uxThemeLoads ? reinterpret_cast<HMODULE>(0x10000) : nullptr; };
    p.GetThemeProc = [](HMODULE, LPCSTR name) -> FARPROC {
        if (lstrcmpA(name, g_fake.missingFunction) == 0)
            return nullptr;
        if (lstrcmpA(name, "OpenThemeData") == 0)
            return AsProc(&FakeOpenThemeData);
        if (lstrcmpA(name, "CloseThemeData") == 0)
            return AsProc(&FakeCloseThemeData);
        if (lstrcmpA(name, "SetWindowTheme") == 0)
            return AsProc(&FakeSetWindowTheme);
        return AsProc(&FakeTrue);  // IsAppThemed, IsThemeActive
    };
    p.FreeThemeLibrary = [](HMODULE) {};
    p.ListViewDrawsFocusAlways = SystemGridPlatform().ListViewDrawsFocusAlways;
    return p;
}

struct PlatformScope {
    explicit PlatformScope(const GridPlatform& platform) : old(SetGridPlatform(platform)) {}
    ~PlatformScope() { SetGridPlatform(old); }
    GridPlatform old;
};

// A grid attached to a fresh dialog's list, as the port list page attaches its own.
struct AttachedGrid {
    explicit AttachedGrid(DWORD listStyle = LVS_REPORT)
    {
        EXPECT_TRUE(host.Make(listStyle));
        EXPECT_TRUE(grid.SubclassDlgItem(kListId, &host));
    }
    ~AttachedGrid() { host.DestroyWindow(); }
    GridHost host;
    TestGrid grid;
};

}  // namespace

TEST(GridConstruction, StartsWithTheDocumentedValuesAndATextRowTrait)
{
    TestGrid grid;
    EXPECT_EQ(0, grid.GetColumnTraitCount());
    EXPECT_EQ(-1, grid.focusColumn());
    EXPECT_EQ(-1, grid.sortColumn());
    EXPECT_EQ(1.0, grid.marginFactor());
    EXPECT_EQ(32767, grid.tooltipMaxWidth());
    EXPECT_NE(nullptr, dynamic_cast<CGridRowTraitText*>(grid.GetRowTrait()));
    EXPECT_STREQ(L"There are no Ports to show in this view.", grid.emptyListText());
}

TEST(GridConstruction, DeletesItsTraitsLastToFirstAndOnlyAStoreItOwns)
{
    DeletionLog().clear();
    CountedStore notOwned(99);
    {
        TestGrid grid;
        grid.InsertColumnTraitAt(0, new CountedTrait(1));
        grid.InsertColumnTraitAt(1, new CountedTrait(2));
        grid.InsertColumnTraitAt(2, new CountedTrait(3));
        grid.SetRowTrait(new CountedRowTrait(10));
        grid.setStateStore(new CountedStore(20), true);
    }
    EXPECT_EQ((std::vector<int>{3, 2, 1, 10, 20}), DeletionLog());

    DeletionLog().clear();
    {
        TestGrid grid;
        grid.setStateStore(&notOwned, false);
    }
    EXPECT_TRUE(DeletionLog().empty());
}

TEST(GridConstruction, ReplacingTheRowTraitDeletesTheOldOneOnceAndNeverTheNewOne)
{
    DeletionLog().clear();
    TestGrid grid;
    grid.SetRowTrait(new CountedRowTrait(1));
    auto* second = new CountedRowTrait(2);
    grid.SetRowTrait(second);
    EXPECT_EQ(std::vector<int>{1}, DeletionLog());
    grid.SetRowTrait(second);  // the trait it holds already
    EXPECT_EQ(std::vector<int>{1}, DeletionLog());
    EXPECT_EQ(second, grid.GetRowTrait());
}

TEST(GridSetUp, AttachingAReportListSetsItsStylesAndSilencesTheListsOwnTooltip)
{
    GridHost host;
    ASSERT_TRUE(host.Make());
    HWND hList = ::GetDlgItem(host.m_hWnd, kListId);
    HWND hTip = reinterpret_cast<HWND>(::SendMessageW(hList, LVM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(nullptr, hTip);
    static int deactivations;
    static WNDPROC tipProc;
    deactivations = 0;
    tipProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        hTip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == TTM_ACTIVATE && w == FALSE)
                ++deactivations;
            return ::CallWindowProcW(tipProc, h, m, w, l);
        })));

    TestGrid grid;
    ASSERT_TRUE(grid.SubclassDlgItem(kListId, &host));
    EXPECT_TRUE(grid.GetStyle() & LVS_SHOWSELALWAYS);
    const DWORD wanted = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES;
    EXPECT_EQ(wanted, grid.GetExtendedStyle() & wanted);
    // Wine reports Windows 7 and common controls 5.81: double buffering, no visual style.
    EXPECT_TRUE(grid.GetExtendedStyle() & LVS_EX_DOUBLEBUFFER);
    EXPECT_FALSE(IsCommonControls6());
    EXPECT_FALSE(grid.IsExplorerThemed());
    EXPECT_EQ(1, deactivations);
    EXPECT_TRUE(grid.m_nFlags & WF_TOOLTIPS) << "the grid's own cell tooltips";
    host.DestroyWindow();
}

TEST(GridSetUp, AGridCreatedThroughItsObjectIsSetUpToo)
{
    GridHost host;
    ASSERT_TRUE(host.Make());
    TestGrid grid;
    ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 200, 100), &host, 2000));
    EXPECT_TRUE(grid.GetStyle() & LVS_SHOWSELALWAYS);
    EXPECT_TRUE(grid.GetExtendedStyle() & LVS_EX_GRIDLINES);
    // Without a font of its own the list is scaled from the default GUI font.
    grid.SetMarginFactor(1.0);
    LOGFONTW gui = {};
    ASSERT_NE(0, ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui));
    EXPECT_EQ(gui.lfHeight, FontHeight(static_cast<HFONT>(grid.cellFontObject().GetSafeHandle())));
    host.DestroyWindow();
}

TEST(GridSetUp, TheExplorerStyleDependsOnTheWindowsVersionTheCommonControlsAndUxTheme)
{
    PlatformScope scope(FakePlatform());
    struct Case {
        WORD os;
        bool cc6;
        bool loads;
        const char* missing;
        bool themed;
        bool gridLines;
        bool noThemeData = false;
        HRESULT setThemeResult = S_OK;
    };
    const Case cases[] = {
        {0x0602, true, true, "", true, false},   // Windows 8: styled, the style separates rows itself
        {0x0601, true, true, "", true, true},    // Windows 7
        {0x0600, true, true, "", true, true},    // Vista
        {0x0501, true, true, "", false, true},   // XP: no style
        {0x0602, false, true, "", false, true},  // common controls 5
        {0x0602, true, false, "", false, true},  // no UxTheme.dll
        {0x0602, true, true, "IsAppThemed", false, true},
        {0x0602, true, true, "IsThemeActive", false, true},
        {0x0602, true, true, "OpenThemeData", false, true},
        {0x0602, true, true, "CloseThemeData", false, true},
        {0x0602, true, true, "SetWindowTheme", false, true},
        {0x0602, true, true, "", false, true, true},           // no theme data for "ListView"
        {0x0602, true, true, "", false, true, false, E_FAIL},  // the style is refused
    };
    for (const Case& c : cases) {
        g_fake = FakeSystem{c.os, c.cc6, c.loads, c.missing, {}, c.noThemeData, c.setThemeResult};
        SetGridPlatform(FakePlatform());  // forgets the cached version
        AttachedGrid attached;
        SCOPED_TRACE(testing::Message() << std::hex << c.os << " cc6=" << c.cc6 << " loads=" << c.loads
                                        << " missing=" << c.missing << " no theme data=" << c.noThemeData
                                        << " SetWindowTheme=" << c.setThemeResult);
        EXPECT_EQ(c.themed, attached.grid.IsExplorerThemed());
        EXPECT_EQ(c.gridLines, (attached.grid.GetExtendedStyle() & LVS_EX_GRIDLINES) != 0);
        const bool asked = c.themed || c.setThemeResult != S_OK;
        EXPECT_EQ(asked ? std::vector<std::wstring>{L"Explorer"} : std::vector<std::wstring>{}, g_fake.themesSet);
    }
}

TEST(GridSetUp, AListThatIsNoReportViewOrIsOwnerDrawnIsAProgrammingError)
{
#ifdef NDEBUG
    GTEST_SKIP() << "a release build checks no preconditions";
#endif
    int failures = 0;
    AfxAssertHandler old = AfxSetAssertHandler([&](const char*, int) { ++failures; });
    {
        AttachedGrid listView(LVS_LIST);
        EXPECT_EQ(1, failures);
    }
    {
        AttachedGrid ownerDrawn(LVS_REPORT | LVS_OWNERDRAWFIXED);
        EXPECT_EQ(2, failures);
    }
    {
        AttachedGrid report(LVS_REPORT);
        EXPECT_EQ(2, failures);
    }
    AfxSetAssertHandler(old);
}

class GridColumns : public GridFixture {};

TEST_F(GridColumns, ATraitInsertedPastTheLastColumnIsAppendedAndToldOnce)
{
    Fill(2, 0);
    auto* trait = new Counted<CGridColumnTraitEdit>(7);
    EXPECT_EQ(2, grid.InsertColumnWithTrait(5, L"X", LVCFMT_LEFT, 100, 5, trait));
    EXPECT_EQ(trait, grid.GetColumnTrait(2));
    EXPECT_EQ(1, trait->insertCalls);
    EXPECT_EQ(2, trait->insertColumn);
    EXPECT_EQ(3, grid.GetColumnTraitCount());
}

TEST_F(GridColumns, AnAlwaysHiddenColumnIsInsertedInvisibleWithWidthZero)
{
    Fill(1, 0);
    auto* trait = new CGridColumnTraitText;
    trait->AlwaysHidden = true;
    ASSERT_EQ(1, grid.InsertColumnWithTrait(1, L"H", LVCFMT_LEFT, 100, 1, trait));
    EXPECT_EQ(0, grid.GetColumnWidth(1));
    EXPECT_FALSE(trait->Visible);
    ASSERT_EQ(0, grid.InsertPlainColumn());
    EXPECT_EQ(0, grid.GetColumnWidth(0));
    EXPECT_FALSE(grid.GetColumnTrait(0)->Visible);
}

TEST_F(GridColumns, EveryColumnInsertedOrDeletedKeepsOneTraitPerColumnInPlace)
{
    auto* t0 = new CountedTrait(1);
    auto* t1 = new CountedTrait(2);
    grid.InsertColumnWithTrait(0, L"A", LVCFMT_LEFT, 50, 0, t0);
    grid.InsertColumnWithTrait(1, L"B", LVCFMT_LEFT, 50, 1, t1);

    // CListCtrl's own insertion (LVM_INSERTCOLUMNW) gets a text trait.
    ASSERT_EQ(0, grid.InsertColumn(0, L"plain"));
    EXPECT_NE(nullptr, dynamic_cast<CGridColumnTraitText*>(grid.GetColumnTrait(0)));
    EXPECT_EQ(t0, grid.GetColumnTrait(1));
    EXPECT_EQ(t1, grid.GetColumnTrait(2));
    EXPECT_EQ(3, grid.GetColumnTraitCount());
    EXPECT_EQ(3, grid.GetColumnCount());

    ASSERT_TRUE(grid.DeleteColumn(1));
    EXPECT_EQ(std::vector<int>{1}, DeletionLog());
    EXPECT_EQ(t1, grid.GetColumnTrait(1));
    EXPECT_EQ(2, grid.GetColumnTraitCount());
    EXPECT_EQ(2, grid.GetColumnCount());

    EXPECT_FALSE(grid.DeleteColumn(99));
    EXPECT_EQ(2, grid.GetColumnTraitCount());
    EXPECT_EQ(std::vector<int>{1}, DeletionLog());
}

TEST_F(GridColumns, AFailedInsertionDeletesTheTraitAndLeavesTheTable)
{
    Fill(2, 0);
    grid.failInsertColumn = true;  // the list answers -1
    EXPECT_EQ(-1, grid.InsertColumnWithTrait(1, L"X", LVCFMT_LEFT, 50, 1, new CountedTrait(5)));
    EXPECT_EQ(std::vector<int>{5}, DeletionLog());
    EXPECT_EQ(2, grid.GetColumnTraitCount());
    grid.failInsertColumn = false;

    // A negative place fails the same way, with the trait handed over.
    EXPECT_EQ(-1, grid.InsertColumnWithTrait(-1, L"X", LVCFMT_LEFT, 50, 1, new CountedTrait(6)));
    EXPECT_EQ((std::vector<int>{5, 6}), DeletionLog());
    EXPECT_EQ(2, grid.GetColumnTraitCount());
}

TEST_F(GridColumns, AColumnWithoutATraitHasNoCellTraitAndSettingItsWidthIsHarmless)
{
    Fill(2, 1);
    EXPECT_EQ(nullptr, grid.GetCellTrait(0, 2));
    EXPECT_EQ(nullptr, grid.GetCellTrait(0, -1));
    EXPECT_FALSE(grid.SetColumnWidth(7, 40));
    EXPECT_THROW(grid.GetColumnTrait(2), CInvalidArgException*);
}

TEST_F(GridColumns, HeadingsAreReadUpTo255Characters)
{
    const std::wstring heading(300, L'h');
    grid.InsertColumn(0, heading.c_str());
    EXPECT_EQ(255, grid.GetColumnTitle(0).GetLength());
}

class GridCustomDraw : public GridFixture {};

TEST_F(GridCustomDraw, ThePaintStagesAskForRowsCellsAndPostPaintThroughTheParent)
{
    Fill(3, 2);
    auto send = [&](NMLVCUSTOMDRAW cd) { return host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&cd)); };
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, send(MakeCustomDraw(grid, CDDS_PREPAINT, 0, 0)));
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, ::GetWindowLongPtrW(host.m_hWnd, DWLP_MSGRESULT)) << "a dialog's result";
    EXPECT_EQ(CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT, send(MakeCustomDraw(grid, CDDS_ITEMPREPAINT, 0, 0)));
    EXPECT_EQ(0, host.customDrawSeen) << "the parent's own map never sees custom draw";

    // A hidden column's cells are skipped, without asking its trait.
    auto* hidden = new CGridColumnTraitText;
    hidden->TextColor = RGB(255, 0, 0);
    grid.InsertColumnWithTrait(3, L"H", LVCFMT_LEFT, 0, 3, hidden);
    hidden->Visible = false;
    NMLVCUSTOMDRAW cd = MakeCustomDraw(grid, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0, 3);
    LRESULT result = host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&cd));
    EXPECT_TRUE(result & CDRF_SKIPDEFAULT);
    EXPECT_EQ(CLR_DEFAULT, cd.clrText);
}

TEST_F(GridCustomDraw, ARowTraitThatSkipsACellKeepsTheColumnTraitFromIt)
{
    class SkippingRowTrait : public CGridRowTrait {
    public:
        void OnCustomDraw(CGridListCtrlEx&, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult) override
        {
            if (pLVCD->nmcd.dwDrawStage & CDDS_SUBITEM)
                *pResult |= CDRF_SKIPDEFAULT;
            else if (pLVCD->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
                *pResult |= CDRF_NEWFONT;
        }
    };
    Fill(1, 1);
    auto* column = new CGridColumnTraitText;
    column->TextColor = RGB(0, 0, 255);
    grid.InsertColumnWithTrait(1, L"B", LVCFMT_LEFT, 50, 1, column);
    grid.SetRowTrait(new SkippingRowTrait);

    NMLVCUSTOMDRAW item = MakeCustomDraw(grid, CDDS_ITEMPREPAINT, 0, 0);
    EXPECT_EQ(CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT | CDRF_NEWFONT,
              host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&item)));
    NMLVCUSTOMDRAW cell = MakeCustomDraw(grid, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0, 1);
    EXPECT_EQ(CDRF_SKIPDEFAULT, host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&cell)));
    EXPECT_EQ(CLR_DEFAULT, cell.clrText) << "the column trait was not asked";
}

class GridFonts : public GridFixture {};

TEST_F(GridFonts, TheMarginFactorScalesTheListsFontAndCompoundsOnASecondCall)
{
    Fill(2, 1);
    CFont font11;
    ASSERT_TRUE(font11.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    grid.SetFont(&font11);  // before any factor: the list gets a copy of the same height
    EXPECT_EQ(-11, FontHeight(static_cast<HFONT>(grid.cellFontObject().GetSafeHandle())));
    EXPECT_EQ(-11, FontHeight(grid.m_hWnd));
    EXPECT_NE(static_cast<HFONT>(font11), reinterpret_cast<HFONT>(grid.SendMessage(WM_GETFONT)));

    grid.SetMarginFactor(1.2);
    HWND hHeader = reinterpret_cast<HWND>(grid.SendMessage(LVM_GETHEADER));
    HWND hTip = reinterpret_cast<HWND>(grid.SendMessage(LVM_GETTOOLTIPS));
    EXPECT_EQ(-13, FontHeight(grid.m_hWnd));  // -13.2 truncated
    EXPECT_EQ(-11, FontHeight(hHeader));
    EXPECT_EQ(-11, FontHeight(hTip));
    EXPECT_EQ(-11, FontHeight(static_cast<HFONT>(grid.GetGridFont()->GetSafeHandle())));

    grid.SetMarginFactor(1.2);  // starts from the list's -13
    EXPECT_EQ(-13, FontHeight(static_cast<HFONT>(grid.cellFontObject().GetSafeHandle())));
    EXPECT_EQ(-13, FontHeight(hHeader));
    EXPECT_EQ(-15, FontHeight(grid.m_hWnd));
}

TEST(GridFontsOfThePage, ThePagesArialNinePointListGrowsToFourteenPixels)
{
    GridHost host;
    ASSERT_TRUE(host.Make(LVS_REPORT, 300, L"Arial", 9));
    TestGrid grid;
    ASSERT_TRUE(grid.SubclassDlgItem(kListId, &host));
    EXPECT_EQ(-12, FontHeight(grid.m_hWnd));
    grid.SetMarginFactor(1.2);
    EXPECT_EQ(-14, FontHeight(grid.m_hWnd));
    EXPECT_EQ(-12, FontHeight(reinterpret_cast<HWND>(grid.SendMessage(LVM_GETHEADER))));
    host.DestroyWindow();
}

TEST(GridFontsOfThePage, AFontFromOutsideBecomesTheCellFontWithOneMoreFontForTheList)
{
    GridHost host;
    ASSERT_TRUE(host.Make());
    HWND hList = ::GetDlgItem(host.m_hWnd, kListId);
    // Count what reaches the list's own window procedure, under the grid.
    static int fontsToList;
    static WNDPROC listProc;
    fontsToList = 0;
    listProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        hList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_SETFONT)
                ++fontsToList;
            return ::CallWindowProcW(listProc, h, m, w, l);
        })));
    TestGrid grid;
    ASSERT_TRUE(grid.SubclassDlgItem(kListId, &host));
    grid.SetMarginFactor(1.2);
    CFont font20;
    ASSERT_TRUE(font20.CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    fontsToList = 0;
    grid.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(font20)), TRUE);
    EXPECT_EQ(2, fontsToList) << "the font sent, and exactly one scaled font after it";
    EXPECT_EQ(-20, FontHeight(static_cast<HFONT>(grid.cellFontObject().GetSafeHandle())));
    EXPECT_EQ(-24, FontHeight(hList));
    EXPECT_EQ(1.2, grid.marginFactor());
    host.DestroyWindow();
}

class GridPainting : public GridFixture {
protected:
    // Pixels of the text colour along the middle line of the list's client area, as painted.
    int TextPixelsAcrossTheMiddle()
    {
        grid.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT client = {};
        grid.GetClientRect(&client);
        HDC hDC = ::GetDC(grid.m_hWnd);
        const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
        int found = 0;
        for (int dy = -4; dy <= 4; ++dy)
            for (int x = 0; x < client.right; ++x)
                if (::GetPixel(hDC, x, client.bottom / 2 + dy) == text)
                    ++found;
        ::ReleaseDC(grid.m_hWnd, hDC);
        return found;
    }
};

TEST_F(GridPainting, AnEmptyListShowsItsTextCentredUntilItHasRows)
{
    Fill(2, 0);
    EXPECT_GT(TextPixelsAcrossTheMiddle(), 20);
    grid.InsertItem(0, L"row");
    EXPECT_EQ(0, TextPixelsAcrossTheMiddle());
    EXPECT_FALSE(grid.emptyTextShown());
    grid.DeleteAllItems();
    EXPECT_GT(TextPixelsAcrossTheMiddle(), 20);
    EXPECT_TRUE(grid.emptyTextShown());
    // A list without a background colour of its own is filled with the window colour.
    grid.SetBkColor(CLR_NONE);
    TextPixelsAcrossTheMiddle();
    HDC hDC = ::GetDC(grid.m_hWnd);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), ::GetPixel(hDC, 2, 60));
    ::ReleaseDC(grid.m_hWnd, hDC);
}

TEST_F(GridPainting, DestroyingTheWindowReleasesTraitsAndFontsButKeepsTheRowTrait)
{
    Fill(3, 1);
    grid.SetMarginFactor(1.2);
    grid.setFocusColumn(1);
    CGridRowTrait* rowTrait = grid.GetRowTrait();
    grid.DestroyWindow();
    EXPECT_EQ(0, grid.GetColumnTraitCount());
    EXPECT_EQ(-1, grid.focusColumn());
    EXPECT_EQ(-1, grid.sortColumn());
    EXPECT_EQ(nullptr, grid.dropTarget());
    EXPECT_EQ(nullptr, grid.cellFontObject().GetSafeHandle());
    EXPECT_EQ(nullptr, grid.gridFontObject().GetSafeHandle());
    EXPECT_EQ(rowTrait, grid.GetRowTrait());
}

class GridCells : public GridFixture {};

TEST_F(GridCells, CellRectanglesFollowTheHeaderItems)
{
    Fill(3, 2);
    HWND hHeader = reinterpret_cast<HWND>(grid.SendMessage(LVM_GETHEADER));
    RECT header = {};
    CRect label;
    ASSERT_TRUE(grid.GetSubItemRect(1, 0, LVIR_LABEL, label));

    // Column 0: the list's bounds are the whole row; the cell is the header item's width.
    RECT bounds = {};
    ASSERT_EQ(1, grid.GetCellPartRect(1, 0, LVIR_BOUNDS, bounds));
    ::SendMessageW(hHeader, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(header.right - header.left, bounds.right - bounds.left);
    EXPECT_EQ(label.right, bounds.right);

    CRect listBounds;
    ASSERT_TRUE(grid.GetSubItemRect(1, 2, LVIR_BOUNDS, listBounds));
    ASSERT_EQ(1, grid.GetCellPartRect(1, 2, LVIR_BOUNDS, bounds));
    ::SendMessageW(hHeader, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(listBounds.left, bounds.left);
    EXPECT_EQ(header.right - header.left, bounds.right - bounds.left);

    grid.SetExtendedStyle(grid.GetExtendedStyle() & ~LVS_EX_SUBITEMIMAGES);
    EXPECT_EQ(0, grid.GetCellPartRect(1, 2, LVIR_ICON, bounds));

    // Column 0's label without image list or check boxes is its bounds.
    RECT cellLabel = {};
    RECT column0 = {};
    ASSERT_EQ(1, grid.GetCellPartRect(1, 0, LVIR_LABEL, cellLabel));
    ASSERT_EQ(1, grid.GetCellPartRect(1, 0, LVIR_BOUNDS, column0));
    EXPECT_TRUE(::EqualRect(&column0, &cellLabel));
}

TEST(GridCallbackCells, CallbackTextsAndOwnerDataListsAreRecognised)
{
    AttachedGrid plain;
    plain.grid.InsertColumn(0, L"A");
    plain.grid.InsertItem(0, L"text");
    plain.grid.InsertItem(1, LPSTR_TEXTCALLBACKW);
    EXPECT_FALSE(plain.grid.IsCellCallback(0, 0));
    EXPECT_TRUE(plain.grid.IsCellCallback(1, 0));

    AttachedGrid ownerData(LVS_REPORT | LVS_OWNERDATA);
    ownerData.grid.InsertColumn(0, L"A");
    ownerData.grid.SetItemCount(3);
    EXPECT_TRUE(ownerData.grid.IsCellCallback(1, 0));
}

TEST_F(GridCells, HotTrackingMarksOneRowAndStopsCleanly)
{
    Fill(1, 5);
    grid.SetHotTracking(3);
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_TRACKSELECT | LVS_EX_TWOCLICKACTIVATE),
              grid.GetExtendedStyle() & (LVS_EX_TRACKSELECT | LVS_EX_TWOCLICKACTIVATE));
    EXPECT_EQ(static_cast<UINT>(LVIS_FOCUSED | LVIS_DROPHILITED),
              grid.GetItemState(3, LVIS_FOCUSED | LVIS_DROPHILITED));
    EXPECT_EQ(3, grid.GetHotItem());
    grid.SetHotTracking(-1);
    EXPECT_EQ(0u, grid.GetExtendedStyle() & (LVS_EX_TRACKSELECT | LVS_EX_TWOCLICKACTIVATE));
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(0u, grid.GetItemState(row, LVIS_FOCUSED | LVIS_DROPHILITED)) << row;

    // With the "Explorer" style the list's hot item alone shows the row.
    grid.setExplorerThemed(true);
    grid.SetHotTracking(2);
    EXPECT_EQ(2, grid.GetHotItem());
    EXPECT_EQ(0u, grid.GetExtendedStyle() & (LVS_EX_TRACKSELECT | LVS_EX_TWOCLICKACTIVATE));
    EXPECT_EQ(0u, grid.GetItemState(2, LVIS_FOCUSED | LVIS_DROPHILITED));
}

TEST_F(GridCells, ReflectedNotificationsTheGridLetsGoReachTheParentWithTheGridsResult)
{
    Fill(2, 3);
    grid.clickResult = 5;
    RECT row = {};
    ASSERT_TRUE(grid.GetItemRect(1, &row, LVIR_BOUNDS));
    uitest::ClickAt(grid.m_hWnd, row.left + 10, (row.top + row.bottom) / 2);
    ASSERT_TRUE(PumpUntil([&] { return host.clicks > 0; }));
    EXPECT_EQ(5, host.clickResultSeen);
}
