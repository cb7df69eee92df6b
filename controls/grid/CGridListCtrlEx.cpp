// The grid's core: set-up, visual theme, fonts and margin factor, the column-trait table, custom
// draw through the traits, the empty-list text and destruction.
#include "controls/grid/CGridListCtrlEx.h"

#include "controls/grid/CGridColumnTraitText.h"
#include "controls/grid/CGridRowTraitText.h"
#include "controls/grid/ColumnStateStore.h"
#include "controls/grid/GridPlatform.h"

#include "framework/debug.h"

namespace {

// The functions of "UxTheme.dll" the grid looks up by name.
using IsAppThemedFn = BOOL(WINAPI*)();
using IsThemeActiveFn = BOOL(WINAPI*)();
using OpenThemeDataFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataFn = HRESULT(WINAPI*)(HANDLE);
using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

template <class Fn>
Fn ThemeProc(HMODULE hModule, LPCSTR lpProcName)
{
    FARPROC proc = GetGridPlatform().GetThemeProc(hModule, lpProcName);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CGridListCtrlEx, CListCtrl)
    ON_NOTIFY_REFLECT_EX(LVN_BEGINLABELEDITW, &CGridListCtrlEx::OnBeginLabelEdit)
    ON_NOTIFY_REFLECT_EX(LVN_ENDLABELEDITW, &CGridListCtrlEx::OnEndLabelEdit)
    ON_NOTIFY_REFLECT_EX(LVN_GETDISPINFOW, &CGridListCtrlEx::OnGetDisplayInfo)
    ON_MESSAGE(LVM_DELETECOLUMN, &CGridListCtrlEx::OnDeleteColumn)
    ON_MESSAGE(LVM_INSERTCOLUMNW, &CGridListCtrlEx::OnInsertColumn)
    ON_MESSAGE(LVM_SETCOLUMNWIDTH, &CGridListCtrlEx::OnSetColumnWidth)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CGridListCtrlEx::OnCustomDraw)
    ON_NOTIFY_EX(HDN_BEGINTRACKA, 0, &CGridListCtrlEx::OnHeaderBeginTrack)
    ON_NOTIFY_EX(HDN_BEGINTRACKW, 0, &CGridListCtrlEx::OnHeaderBeginTrack)
    ON_NOTIFY_EX(HDN_ENDTRACKA, 0, &CGridListCtrlEx::OnHeaderEndTrack)
    ON_NOTIFY_EX(HDN_ENDTRACKW, 0, &CGridListCtrlEx::OnHeaderEndTrack)
    ON_NOTIFY_EX(HDN_ITEMCHANGINGA, 0, &CGridListCtrlEx::OnHeaderItemChanging)
    ON_NOTIFY_EX(HDN_ITEMCHANGINGW, 0, &CGridListCtrlEx::OnHeaderItemChanging)
    ON_NOTIFY_EX(HDN_BEGINDRAG, 0, &CGridListCtrlEx::OnHeaderBeginDrag)
    ON_NOTIFY_EX(HDN_ENDDRAG, 0, &CGridListCtrlEx::OnHeaderEndDrag)
    ON_NOTIFY_EX(HDN_DIVIDERDBLCLICKA, 0, &CGridListCtrlEx::OnHeaderDividerDblClick)
    ON_NOTIFY_EX(HDN_DIVIDERDBLCLICKW, 0, &CGridListCtrlEx::OnHeaderDividerDblClick)
    ON_NOTIFY_EX(TTN_GETDISPINFOA, 0, &CGridListCtrlEx::OnToolNeedText)
    ON_NOTIFY_EX(TTN_GETDISPINFOW, 0, &CGridListCtrlEx::OnToolNeedText)
    ON_NOTIFY_REFLECT_EX(LVN_COLUMNCLICK, &CGridListCtrlEx::OnColumnClick)
    ON_NOTIFY_REFLECT_EX(NM_CLICK, &CGridListCtrlEx::OnClick)
    ON_NOTIFY_REFLECT_EX(NM_DBLCLK, &CGridListCtrlEx::OnDblClick)
    ON_NOTIFY_REFLECT_EX(LVN_ODFINDITEMW, &CGridListCtrlEx::OnOwnerDataFindItem)
    ON_NOTIFY_REFLECT_EX(LVN_BEGINDRAG, &CGridListCtrlEx::OnBeginDrag)
    ON_NOTIFY_REFLECT_EX(LVN_ITEMCHANGED, &CGridListCtrlEx::OnItemChanged)
    ON_WM_CONTEXTMENU()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_CHAR()
    ON_WM_PAINT()
    ON_WM_CREATE()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_COPY, &CGridListCtrlEx::OnCopy)
    ON_MESSAGE(WM_SETFONT, &CGridListCtrlEx::OnSetFont)
END_MESSAGE_MAP()
// clang-format on

CGridListCtrlEx::CGridListCtrlEx()
    : RowTrait(new CGridRowTraitText), EmptyListText(L"There are no Ports to show in this view.")
{
}

CGridListCtrlEx::~CGridListCtrlEx()
{
    for (int nCol = GetColumnTraitCount() - 1; nCol >= 0; --nCol)
        DeleteColumnTrait(nCol);
    delete RowTrait;
    RowTrait = nullptr;
    if (OwnsStateStore)
        delete StateStore;
    StateStore = nullptr;
    delete DropTarget;
    DropTarget = nullptr;
}

// ---- set-up ---------------------------------------------------------------------------------

void CGridListCtrlEx::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    SetUpControl();
}

int CGridListCtrlEx::OnCreate(LPCREATESTRUCT /*lpCreateStruct*/)
{
    const int result = static_cast<int>(Default());
    if (result != 0)
        return result;
    SetUpControl();
    return 0;
}

void CGridListCtrlEx::AddExtendedStyle(DWORD dwBit)
{
    SetExtendedStyle(GetExtendedStyle() | dwBit);
}

void CGridListCtrlEx::RemoveExtendedStyle(DWORD dwBit)
{
    SetExtendedStyle(GetExtendedStyle() & ~dwBit);
}

void CGridListCtrlEx::SetUpControl()
{
    ASSERT((GetStyle() & LVS_TYPEMASK) == LVS_REPORT);
    ASSERT(!(GetStyle() & LVS_OWNERDRAWFIXED));

    ModifyStyle(0, LVS_SHOWSELALWAYS);
    AddExtendedStyle(LVS_EX_FULLROWSELECT);
    AddExtendedStyle(LVS_EX_HEADERDRAGDROP);
    AddExtendedStyle(LVS_EX_GRIDLINES);
    AddExtendedStyle(LVS_EX_SUBITEMIMAGES);
    if (IsOSVersionAtLeast(0x0501))
        AddExtendedStyle(LVS_EX_DOUBLEBUFFER);

    ApplyExplorerTheme();
    // The "Explorer" style of Windows 8 and later separates the rows by itself.
    if (IsOSVersionAtLeast(0x0602) && ExplorerThemed)
        RemoveExtendedStyle(LVS_EX_GRIDLINES);

    // The grid shows its own cell tooltips; the list's own would compete with them.
    EnableToolTips(TRUE);
    if (HWND hWndToolTip = reinterpret_cast<HWND>(SendMessage(LVM_GETTOOLTIPS)))
        ::SendMessageW(hWndToolTip, TTM_ACTIVATE, FALSE, 0);

    RegisterDropTarget();
}

// ---- visual theme -----------------------------------------------------------------------------

bool CGridListCtrlEx::IsOSVersionAtLeast(WORD version)
{
    return GridOsVersion() >= version;
}

bool CGridListCtrlEx::IsThemingActive()
{
    const GridPlatform& platform = GetGridPlatform();
    HMODULE hUxTheme = platform.LoadThemeLibrary();
    if (hUxTheme == nullptr)
        return false;
    auto isAppThemed = ThemeProc<IsAppThemedFn>(hUxTheme, "IsAppThemed");
    auto isThemeActive = ThemeProc<IsThemeActiveFn>(hUxTheme, "IsThemeActive");
    const bool active =
        isAppThemed != nullptr && isThemeActive != nullptr && isAppThemed() && isThemeActive() && IsCommonControls6();
    platform.FreeThemeLibrary(hUxTheme);
    return active;
}

HRESULT CGridListCtrlEx::CallThemeApi(HWND hWnd, LPCWSTR lpszThemeClass, LPCWSTR lpszThemeName)
{
    const GridPlatform& platform = GetGridPlatform();
    HMODULE hUxTheme = platform.LoadThemeLibrary();
    if (hUxTheme == nullptr)
        return S_FALSE;
    HRESULT hr = S_FALSE;
    auto openThemeData = ThemeProc<OpenThemeDataFn>(hUxTheme, "OpenThemeData");
    auto closeThemeData = ThemeProc<CloseThemeDataFn>(hUxTheme, "CloseThemeData");
    auto setWindowTheme = ThemeProc<SetWindowThemeFn>(hUxTheme, "SetWindowTheme");
    if (openThemeData != nullptr && closeThemeData != nullptr && setWindowTheme != nullptr) {
        if (HANDLE hTheme = openThemeData(hWnd, lpszThemeClass)) {
            closeThemeData(hTheme);
            hr = setWindowTheme(hWnd, lpszThemeName, nullptr);
        }
    }
    platform.FreeThemeLibrary(hUxTheme);
    return hr;
}

HRESULT CGridListCtrlEx::ApplyExplorerTheme()
{
    if (IsThemingActive() && IsOSVersionAtLeast(0x0600)) {
        const HRESULT hr = CallThemeApi(m_hWnd, L"ListView", L"Explorer");
        ExplorerThemed = hr == S_OK;
        if (ExplorerThemed && IsOSVersionAtLeast(0x0501))
            AddExtendedStyle(LVS_EX_DOUBLEBUFFER);
        return hr;
    }
    ExplorerThemed = false;
    return S_FALSE;
}

// ---- fonts ------------------------------------------------------------------------------------

CFont* CGridListCtrlEx::GetGridFont()
{
    if (CellFont.GetSafeHandle() != nullptr)
        return &CellFont;
    return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
}

void CGridListCtrlEx::SetMarginFactor(double factor)
{
    // A list without a font of its own draws in the default GUI font's metrics.
    LOGFONTW logFont = {};
    HFONT hListFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (hListFont == nullptr || ::GetObjectW(hListFont, sizeof logFont, &logFont) == 0)
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);

    CellFont.DeleteObject();
    CellFont.CreateFontIndirect(&logFont);

    logFont.lfHeight = static_cast<LONG>(logFont.lfHeight * factor);
    logFont.lfWidth = static_cast<LONG>(logFont.lfWidth * factor);
    GridFont.DeleteObject();
    GridFont.CreateFontIndirect(&logFont);

    // The list's font change comes back through OnSetFont, which must not scale it again.
    MarginFactor = -1.0;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GridFont.GetSafeHandle()), TRUE);
    MarginFactor = factor;

    // The list hands its font on to its header; the header and the tooltips keep the normal size.
    const WPARAM hCellFont = reinterpret_cast<WPARAM>(CellFont.GetSafeHandle());
    if (HWND hWndHeader = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)))
        ::SendMessageW(hWndHeader, WM_SETFONT, hCellFont, TRUE);
    if (HWND hWndToolTip = reinterpret_cast<HWND>(SendMessage(LVM_GETTOOLTIPS)))
        ::SendMessageW(hWndToolTip, WM_SETFONT, hCellFont, TRUE);
}

LRESULT CGridListCtrlEx::OnSetFont(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const LRESULT result = Default();
    if (MarginFactor >= 0.0)
        SetMarginFactor(MarginFactor);
    return result;
}

// ---- row trait --------------------------------------------------------------------------------

CGridRowTrait* CGridListCtrlEx::GetRowTrait()
{
    return RowTrait;
}

void CGridListCtrlEx::SetRowTrait(CGridRowTrait* pRowTrait)
{
    // Handing back the trait already held changes nothing (deleting it would leave it dangling).
    if (pRowTrait == RowTrait)
        return;
    delete RowTrait;
    RowTrait = pRowTrait;
}

// ---- column traits ------------------------------------------------------------------------------

int CGridListCtrlEx::GetColumnCount()
{
    HWND hWndHeader = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (hWndHeader == nullptr)
        return 0;
    return static_cast<int>(::SendMessageW(hWndHeader, HDM_GETITEMCOUNT, 0, 0));
}

CString CGridListCtrlEx::GetColumnTitle(int nCol)
{
    wchar_t heading[256] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = heading;
    column.cchTextMax = 256;
    if (!GetColumn(nCol, &column))
        return CString();
    heading[255] = L'\0';
    return CString(heading);
}

int CGridListCtrlEx::InsertPlainColumn()
{
    auto* pTrait = new CGridColumnTrait;
    pTrait->AlwaysHidden = true;
    return InsertColumnWithTrait(0, L"", LVCFMT_LEFT, -1, -1, pTrait);
}

void CGridListCtrlEx::InsertColumnTraitAt(int nCol, CGridColumnTrait* pTrait)
{
    ColumnTraits.InsertAt(nCol, pTrait);
}

int CGridListCtrlEx::InsertColumnWithTrait(int nCol, LPCWSTR lpszHeading, int nFormat, int nWidth, int nSubItem,
                                           CGridColumnTrait* pTrait)
{
    if (pTrait != nullptr) {
        // The grid owns the trait from here on: a place that cannot be had fails the insertion.
        if (nCol < 0) {
            delete pTrait;
            return -1;
        }
        if (pTrait->AlwaysHidden) {
            pTrait->Visible = false;
            nWidth = 0;
        }
        const int nCount = GetColumnCount();
        if (nCol >= nCount)
            nCol = nCount;
        // In place before the column exists, so that OnInsertColumn adds no default trait.
        InsertColumnTraitAt(nCol, pTrait);
    }
    const int nIndex = InsertColumn(nCol, lpszHeading, nFormat, nWidth, nSubItem);
    if (pTrait != nullptr) {
        if (nIndex != -1)
            pTrait->OnInsertColumn(*this, nCol);
        else
            DeleteColumnTrait(nCol);
    }
    return nIndex;
}

CGridColumnTrait* CGridListCtrlEx::GetColumnTrait(int nCol)
{
    return ColumnTraits.GetAt(nCol);
}

int CGridListCtrlEx::GetColumnTraitCount()
{
    return static_cast<int>(ColumnTraits.GetSize());
}

CGridColumnTrait* CGridListCtrlEx::GetCellTrait(int /*nRow*/, int nCol)
{
    // Callers ask "has the cell a trait?": a column outside the table (none yet, or after the
    // window's destruction) has none.
    if (nCol < 0 || nCol >= GetColumnTraitCount())
        return nullptr;
    return GetColumnTrait(nCol);
}

void CGridListCtrlEx::DeleteColumnTrait(int nCol)
{
    if (nCol < 0 || nCol >= GetColumnTraitCount())
        return;
    CGridColumnTrait* pTrait = ColumnTraits.GetAt(nCol);
    ColumnTraits.RemoveAt(nCol);
    delete pTrait;
}

LRESULT CGridListCtrlEx::OnInsertColumn(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const LRESULT result = Default();
    const int nIndex = static_cast<int>(result);
    if (nIndex == -1)
        return -1;
    // InsertColumnWithTrait placed the column's trait already.
    if (GetColumnTraitCount() >= GetColumnCount())
        return result;
    InsertColumnTraitAt(nIndex, new CGridColumnTraitText);
    return nIndex;
}

LRESULT CGridListCtrlEx::OnDeleteColumn(WPARAM wParam, LPARAM /*lParam*/)
{
    const LRESULT result = Default();
    if (result != 0)
        DeleteColumnTrait(static_cast<int>(wParam));
    return result;
}

// ---- custom draw ------------------------------------------------------------------------------

void CGridListCtrlEx::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pLVCD = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    *pResult = CDRF_DODEFAULT;
    const int nRow = static_cast<int>(pLVCD->nmcd.dwItemSpec);

    if (pLVCD->nmcd.dwDrawStage & CDDS_SUBITEM) {
        DrawRowViaTrait(nRow, pLVCD, pResult);
        if (*pResult & CDRF_SKIPDEFAULT)
            return;
        DrawCellViaTrait(nRow, pLVCD->iSubItem, pLVCD, pResult);
        if (*pResult & CDRF_SKIPDEFAULT)
            return;
    }
    switch (pLVCD->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            *pResult |= CDRF_NOTIFYITEMDRAW;
            break;
        case CDDS_ITEMPREPAINT:
            *pResult |= CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
            DrawRowViaTrait(nRow, pLVCD, pResult);
            break;
        case CDDS_ITEMPOSTPAINT:
            DrawRowViaTrait(nRow, pLVCD, pResult);
            break;
        default:
            break;
    }
}

void CGridListCtrlEx::DrawRowViaTrait(int /*nRow*/, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult)
{
    if (CGridRowTrait* pRowTrait = GetRowTrait())
        pRowTrait->OnCustomDraw(*this, pLVCD, pResult);
}

void CGridListCtrlEx::DrawCellViaTrait(int nRow, int nCol, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult)
{
    CGridColumnTrait* pTrait = GetCellTrait(nRow, nCol);
    if (pTrait == nullptr)
        return;
    if (!pTrait->Visible) {
        *pResult = CDRF_SKIPDEFAULT;  // the cells of a hidden column are never drawn
        return;
    }
    pTrait->OnCellCustomDraw(*this, pLVCD, pResult);
}

bool CGridListCtrlEx::QueryCellColors(int /*nRow*/, int /*nCol*/, COLORREF& /*textColor*/, COLORREF& /*backColor*/)
{
    return false;
}

bool CGridListCtrlEx::QueryCellColorsForDraw(NMLVCUSTOMDRAW* pLVCD)
{
    return QueryCellColors(static_cast<int>(pLVCD->nmcd.dwItemSpec), pLVCD->iSubItem, pLVCD->clrText, pLVCD->clrTextBk);
}

bool CGridListCtrlEx::QueryCellFont(int /*nRow*/, int /*nCol*/, LOGFONTW& /*font*/)
{
    return false;
}

bool CGridListCtrlEx::QueryCellFontForDraw(NMLVCUSTOMDRAW* pLVCD, LOGFONTW& font)
{
    return QueryCellFont(static_cast<int>(pLVCD->nmcd.dwItemSpec), pLVCD->iSubItem, font);
}

bool CGridListCtrlEx::QueryRowColors(int /*nRow*/, COLORREF& /*textColor*/, COLORREF& /*backColor*/)
{
    return false;
}

bool CGridListCtrlEx::QueryRowFont(int /*nRow*/, LOGFONTW& /*font*/)
{
    return false;
}

void CGridListCtrlEx::SetHotTracking(int nRow)
{
    if (ExplorerThemed) {
        SetHotItem(nRow);
        return;
    }
    SetItemState(-1, 0, LVIS_FOCUSED | LVIS_DROPHILITED);
    SetHotItem(-1);
    if (nRow == -1) {
        RemoveExtendedStyle(LVS_EX_TRACKSELECT);
        RemoveExtendedStyle(LVS_EX_TWOCLICKACTIVATE);
        return;
    }
    if (!(GetExtendedStyle() & (LVS_EX_TRACKSELECT | LVS_EX_TWOCLICKACTIVATE)))
        AddExtendedStyle(LVS_EX_TRACKSELECT | LVS_EX_TWOCLICKACTIVATE);
    SetItemState(nRow, LVIS_FOCUSED | LVIS_DROPHILITED, LVIS_FOCUSED | LVIS_DROPHILITED);
    SetHotItem(nRow);
}

// ---- cells ------------------------------------------------------------------------------------

int CGridListCtrlEx::GetCellPartRect(int nRow, int nCol, int nPart, RECT& rect)
{
    CRect cell;
    if (!GetSubItemRect(nRow, nCol, nPart, cell))
        return 0;
    rect = cell;
    const DWORD exStyle = GetExtendedStyle();
    switch (nPart) {
        case LVIR_BOUNDS: {
            // The list gives the whole row as the bounds of column 0, and the bounds of the other
            // columns may reach further than the column: the header's item is the cell's width.
            RECT headerItem = {};
            HWND hWndHeader = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
            if (hWndHeader == nullptr || !::SendMessageW(hWndHeader, HDM_GETITEMRECT, static_cast<WPARAM>(nCol),
                                                         reinterpret_cast<LPARAM>(&headerItem)))
                return 0;
            const int width = headerItem.right - headerItem.left;
            if (nCol != 0) {
                rect.right = rect.left + width;
                return 1;
            }
            CRect label;
            if (!GetSubItemRect(nRow, 0, LVIR_LABEL, label))
                return 0;
            rect.right = label.right;
            rect.left = label.right - width;
            return 1;
        }
        case LVIR_ICON:
            if (nCol > 0 && !(exStyle & LVS_EX_SUBITEMIMAGES))
                return 0;
            return GetCellImage(nRow, nCol) != -1 ? 1 : 0;
        case LVIR_LABEL:
            if (nCol > 0) {
                if ((exStyle & LVS_EX_SUBITEMIMAGES) && GetImageList(LVSIL_SMALL) != nullptr &&
                    GetCellImage(nRow, nCol) != -1) {
                    CRect icon;
                    if (!GetSubItemRect(nRow, nCol, LVIR_ICON, icon))
                        return 0;
                    rect.left += icon.Width();
                }
                return 1;
            }
            if ((exStyle & LVS_EX_CHECKBOXES) || GetImageList(LVSIL_SMALL) != nullptr)
                return 1;
            return GetCellPartRect(nRow, 0, LVIR_BOUNDS, rect);
        default:
            return 1;
    }
}

bool CGridListCtrlEx::IsCellCallback(int nRow, int nCol)
{
    if (GetStyle() & LVS_OWNERDATA)
        return true;
    wchar_t buffer[2] = {};
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_NORECOMPUTE;
    item.iItem = nRow;
    item.iSubItem = nCol;
    item.pszText = buffer;
    item.cchTextMax = 2;
    if (!GetItem(&item))
        return false;
    return item.pszText == LPSTR_TEXTCALLBACKW;
}

int CGridListCtrlEx::GetCellImage(int nRow, int nCol)
{
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nRow;
    item.iSubItem = nCol;
    if (!GetItem(&item))
        return -1;
    return item.iImage;
}

// ---- painting and destruction -----------------------------------------------------------------

void CGridListCtrlEx::OnPaint()
{
    const int nRows = GetItemCount();
    if (EmptyTextShown && !EmptyListText.IsEmpty() && nRows > 0) {
        // The text may still be on screen: everything is painted anew.
        EmptyTextShown = false;
        Invalidate(TRUE);
    }
    if (nRows == 0 && !EmptyListText.IsEmpty()) {
        EmptyTextShown = true;
        CPaintDC dc(this);
        if (dc.m_hDC == nullptr)
            return;
        const int nSaved = dc.SaveDC();
        COLORREF background = GetBkColor();
        if (background == CLR_NONE)
            background = ::GetSysColor(COLOR_WINDOW);
        dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
        dc.SetBkColor(background);
        CRect client;
        GetClientRect(&client);
        CBrush brush;
        if (brush.CreateSolidBrush(background))
            dc.FillRect(&client, &brush);
        if (CFont* pFont = GetGridFont(); pFont != nullptr && pFont->GetSafeHandle() != nullptr)
            dc.SelectObject(pFont);
        dc.DrawText(EmptyListText, &client,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
        dc.RestoreDC(nSaved);
        return;
    }
    Default();
}

void CGridListCtrlEx::OnDestroy()
{
    FocusColumn = -1;
    SortColumn = -1;
    SortAscending = false;
    ExplorerThemed = false;
    EmptyTextShown = true;
    delete DropTarget;
    DropTarget = nullptr;
    for (int nCol = GetColumnTraitCount() - 1; nCol >= 0; --nCol)
        DeleteColumnTrait(nCol);
    CellFont.DeleteObject();
    GridFont.DeleteObject();
    Default();
}
