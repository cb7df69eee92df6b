// The report list control.
#include "controls/ReportCtrl.h"

#include "controls/CellCompare.h"
#include "controls/ReportCtrlResource.h"
#include "controls/RowSort.h"

#include <memory>
#include <numeric>
#include <vector>

namespace {

// Whatever view the window had, it becomes a visible, scrolling report view without label editing.
const DWORD kRemovedStyles = LVS_EDITLABELS | LVS_NOSCROLL | 0x2;  // 0x2: the view bit that makes icon views
const DWORD kAddedStyles = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LVS_REPORT;
const DWORD kReportExStyle = LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES;

const int kImageWidth = 16;
const int kImageGrow = 4;
const COLORREF kImageMask = RGB(255, 0, 255);

// Inserts color at nCol; a shorter array is first padded with "the list's own colour".
void InsertColumnColor(CArray<COLORREF, COLORREF>& colors, int nCol, COLORREF color)
{
    if (colors.GetSize() < nCol)
        colors.InsertAt(colors.GetSize(), CLR_NONE, nCol - colors.GetSize());
    colors.InsertAt(nCol, color);
}

// The colour of column nCol, or fallback where the record has none.
COLORREF ColumnColor(const CArray<COLORREF, COLORREF>& colors, int nCol, COLORREF fallback)
{
    if (nCol < 0 || nCol >= colors.GetSize() || colors[nCol] == CLR_NONE)
        return fallback;
    return colors[nCol];
}

// What a sort carries from a row's old position to its new one.
struct RowSnapshot {
    UINT state = 0;  // selected, focused and the raw state image (check box)
    LPARAM data = 0;
    std::vector<int> images;
    std::vector<CString> texts;
};

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CReportCtrl, CListCtrl)
    ON_WM_PAINT()
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CReportCtrl::OnCustomDraw)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, &CReportCtrl::OnColumnClick)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONDBLCLK()
END_MESSAGE_MAP()
// clang-format on

CReportCtrl::~CReportCtrl()
{
    // The window goes while the object is still a CReportCtrl, so that OnDestroy frees the
    // records and the image lists (the base destructor would only see a CWnd). A window of
    // another thread, or one in its last message, is left to the base.
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this &&
        ::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId()) {
        const MSG* pMsg = AfxGetCurrentMessage();
        if (!(pMsg->hwnd == m_hWnd && pMsg->message == WM_NCDESTROY))
            DestroyWindow();
    }
    DeleteAllRecords();
    if (m_hWnd == nullptr)
        ReleaseSmallImageList();
    else
        m_imageList.Detach();  // the window outlives the object and destroys the lists it holds
}

// ---- creation ---------------------------------------------------------------------------------

BOOL CReportCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    RECT rc = rect;
    if (rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0 && pParentWnd != nullptr &&
        pParentWnd->m_hWnd != nullptr && !::GetClientRect(pParentWnd->m_hWnd, &rc))
        return FALSE;
    const BOOL created = CListCtrl::Create(dwStyle, rc, pParentWnd, nID);
    m_bCreating = false;
    return created;
}

BOOL CReportCtrl::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.style = static_cast<LONG>((static_cast<DWORD>(cs.style) & ~kRemovedStyles) | kAddedStyles);
    m_bCreating = true;
    return CListCtrl::PreCreateWindow(cs);
}

void CReportCtrl::PreSubclassWindow()
{
    if (m_bCreating) {
        m_bCreating = false;  // PreCreateWindow has set the style; OnCreate sets the extended one
    } else {
        const DWORD dwStyle = GetStyle();
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>((dwStyle & ~kRemovedStyles) | kAddedStyles));
        SetExtendedStyle(kReportExStyle);
    }
    CListCtrl::PreSubclassWindow();
}

int CReportCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CListCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetExtendedStyle(GetExtendedStyle() | kReportExStyle);
    return 0;
}

void CReportCtrl::OnDestroy()
{
    DeleteAllItems();
    ReleaseSmallImageList();
    m_imageList2.DeleteImageList();
    CListCtrl::OnDestroy();
}

// ---- image list -------------------------------------------------------------------------------

BOOL CReportCtrl::InitImageList()
{
    ReleaseSmallImageList();
    if (m_hWnd == nullptr || !m_imageList.Create(IDB_REPORT_STATES, kImageWidth, kImageGrow, kImageMask))
        return FALSE;
    SetImageList(&m_imageList, LVSIL_SMALL);
    return TRUE;
}

void CReportCtrl::ReleaseSmallImageList()
{
    m_cellImages.Reset();
    if (m_imageList.GetSafeHandle() == nullptr)
        return;
    // The list view destroys the image lists it holds when it goes (it does not share them), so
    // it must let go of this one before the list is destroyed here, or it would be destroyed twice.
    if (m_hWnd != nullptr &&
        reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL)) == m_imageList.GetSafeHandle())
        SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    m_imageList.DeleteImageList();
}

// ---- columns, rows and records ----------------------------------------------------------------

int CReportCtrl::GetColumnCount() const
{
    const CHeaderCtrl* pHeader = GetHeaderCtrl();
    const int nCount = pHeader != nullptr ? pHeader->GetItemCount() : 0;
    return nCount > 0 ? nCount : 0;
}

int CReportCtrl::InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    const int nNew = CListCtrl::InsertColumn(nCol, lpszColumnHeading, nFormat, nWidth, nSubItem);
    if (nNew >= 0)
        ResetColumnColors(nNew);
    return nNew;
}

void CReportCtrl::ResetColumnColors(int nCol)
{
    if (nCol < 0)
        return;
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF back = ::GetSysColor(COLOR_WINDOW);
    const int nRows = GetItemCount();
    for (int row = 0; row < nRows; ++row) {
        if (ReportRowData* pRecord = GetRowData(row)) {
            InsertColumnColor(pRecord->textColors, nCol, text);
            InsertColumnColor(pRecord->bkColors, nCol, back);
        }
    }
}

int CReportCtrl::DeleteAllItems()
{
    const int nRows = GetItemCount();
    // Only a lock this call took is released: another window's lock stays.
    const BOOL locked = ::LockWindowUpdate(m_hWnd);
    for (int row = 0; row < nRows; ++row) {
        if (ReportRowData* pRecord = GetRowData(row)) {
            SetItemData(row, 0);
            DeleteRecord(pRecord);
        }
    }
    SendMessage(LVM_DELETEALLITEMS);
    // Records of rows deleted one by one belong to no row now.
    DeleteAllRecords();
    if (locked)
        ::LockWindowUpdate(nullptr);
    return nRows;
}

int CReportCtrl::InsertItem(UINT nMask, int nItem, LPCWSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                            LPARAM lParam)
{
    m_nSortColumn = -1;
    m_bSortAscending = TRUE;
    const int nNew = CListCtrl::InsertItem(nMask, nItem, lpszItem, nState, nStateMask, nImage, lParam);
    if (nNew >= 0)
        AttachRowData(nNew);
    return nNew;
}

int CReportCtrl::InsertItem(int nItem, LPCWSTR lpszItem)
{
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CReportCtrl::InsertItem(int nItem, LPCWSTR lpszItem, int nImage)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

void CReportCtrl::AttachRowData(int nItem)
{
    if (nItem < 0 || nItem >= GetItemCount())
        return;
    const int nColumns = GetColumnCount();
    auto pRecord = std::make_unique<ReportRowData>();
    pRecord->textColors.InsertAt(0, ::GetSysColor(COLOR_WINDOWTEXT), nColumns);
    pRecord->bkColors.InsertAt(0, ::GetSysColor(COLOR_WINDOW), nColumns);

    ReportRowData* pOld = GetRowData(nItem);
    m_records.insert(pRecord.get());
    if (!SetItemData(nItem, reinterpret_cast<DWORD_PTR>(pRecord.get()))) {
        m_records.erase(pRecord.get());
        return;
    }
    pRecord.release();
    // A row attached twice keeps only its new record.
    if (pOld != nullptr)
        DeleteRecord(pOld);
}

ReportRowData* CReportCtrl::GetRowData(int nItem) const
{
    auto* pRecord = reinterpret_cast<ReportRowData*>(GetItemData(nItem));
    return pRecord != nullptr && m_records.count(pRecord) != 0 ? pRecord : nullptr;
}

const ReportRowData* CReportCtrl::RecordFromData(LPARAM lParam) const
{
    auto* pRecord = reinterpret_cast<ReportRowData*>(lParam);
    return pRecord != nullptr && m_records.count(pRecord) != 0 ? pRecord : nullptr;
}

void CReportCtrl::DeleteRecord(ReportRowData* pRecord)
{
    if (m_records.erase(pRecord) != 0)
        delete pRecord;
}

void CReportCtrl::DeleteAllRecords()
{
    for (ReportRowData* pRecord : m_records)
        delete pRecord;
    m_records.clear();
}

// ---- drawing ----------------------------------------------------------------------------------

void CReportCtrl::SetCellImages(const std::vector<ReportCellImage>& cells)
{
    if (cells.empty())
        return;
    // What waits to be painted, and then the cells that the list view is to paint: it would
    // invalidate the whole row of each cell set (with full-row selection), and painting a row of
    // images costs many times what its changed cells do. Without the regions the rows stay
    // invalidated whole.
    CRgn repaint;
    bool exact = repaint.CreateRectRgn(0, 0, 0, 0) && ::GetUpdateRgn(m_hWnd, repaint, FALSE) != ERROR;
    for (const ReportCellImage& cell : cells)
        SetItem(cell.row, cell.column, LVIF_IMAGE, nullptr, cell.image, 0, 0, 0);
    if (!exact)
        return;
    HDC hdc = ::GetDC(m_hWnd);
    for (size_t i = 0; exact && i < cells.size(); ++i) {
        if (hdc != nullptr && DrawCellImage(hdc, cells[i]))
            continue;
        CRect rect;
        CRgn cellRegion;
        exact = GetSubItemRect(cells[i].row, cells[i].column, LVIR_BOUNDS, rect) &&
                cellRegion.CreateRectRgnIndirect(&rect) && repaint.CombineRgn(&repaint, &cellRegion, RGN_OR) != ERROR;
    }
    if (hdc != nullptr)
        ::ReleaseDC(m_hWnd, hdc);
    if (!exact)
        return;
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
    ::InvalidateRgn(m_hWnd, repaint, TRUE);
}

bool CReportCtrl::DrawCellImage(HDC hdc, const ReportCellImage& cell)
{
    const UINT ownWay = LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED;
    if (!IsWindowEnabled() || GetItemState(cell.row, ownWay) != 0)
        return false;
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    int cx = 0;
    int cy = 0;
    CRect icon;
    CRect bounds;
    if (images == nullptr || !ImageList_GetIconSize(images, &cx, &cy) ||
        !GetSubItemRect(cell.row, cell.column, LVIR_ICON, icon) ||
        !GetSubItemRect(cell.row, cell.column, LVIR_BOUNDS, bounds))
        return false;
    // The background the list view fills the cell with, as the custom draw sets it.
    COLORREF back = GetTextBkColor();
    if (const ReportRowData* pRecord = GetRowData(cell.row))
        back = ColumnColor(pRecord->bkColors, cell.column, back);
    if (back == CLR_DEFAULT || back == CLR_NONE)
        back = GetBkColor();
    // Grid lines are drawn over the cell's left and bottom edges, after its image: they stay.
    if (GetExtendedStyle() & LVS_EX_GRIDLINES) {
        ++bounds.left;
        --bounds.bottom;
    }
    const int saved = ::SaveDC(hdc);
    const bool drawn = saved != 0 &&
                       ::IntersectClipRect(hdc, bounds.left, bounds.top, bounds.right, bounds.bottom) != ERROR &&
                       m_cellImages.Draw(hdc, images, cell.image, back, icon.left, icon.top + (icon.Height() - cy) / 2);
    if (saved != 0)
        ::RestoreDC(hdc, saved);
    return drawn;
}

void CReportCtrl::GetRowsInView(int& top, int& last) const
{
    top = GetTopIndex();
    last = top + GetCountPerPage();
}

void CReportCtrl::OnPaint()
{
    int top = 0;
    int last = 0;
    GetRowsInView(top, last);
    if (top != m_paintedTop || last != m_paintedLast) {
        m_paintedTop = top;
        m_paintedLast = last;
        ::SendMessageW(::GetParent(m_hWnd), WM_REPORT_ROWSINVIEW, static_cast<WPARAM>(top), last);
    }
    Default();
}

void CReportCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pDraw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    switch (pDraw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
        case CDDS_ITEMPREPAINT:
            // For an item the same value asks for every sub-item (CDRF_NOTIFYSUBITEMDRAW).
            *pResult = CDRF_NOTIFYITEMDRAW;
            break;
        case CDDS_SUBITEM | CDDS_ITEMPREPAINT: {
            // The list's own colours are set explicitly where the record has none: some list views
            // carry the previous sub-item's colours over otherwise.
            COLORREF text = GetTextColor();
            COLORREF back = GetTextBkColor();
            if (const ReportRowData* pRecord = RecordFromData(pDraw->nmcd.lItemlParam)) {
                text = ColumnColor(pRecord->textColors, pDraw->iSubItem, text);
                back = ColumnColor(pRecord->bkColors, pDraw->iSubItem, back);
            }
            pDraw->clrText = text;
            pDraw->clrTextBk = back;
            *pResult = CDRF_DODEFAULT;
            break;
        }
        default:
            break;
    }
}

// ---- sorting ----------------------------------------------------------------------------------

void CReportCtrl::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    const int nCol = reinterpret_cast<const NMLISTVIEW*>(pNMHDR)->iSubItem;
    if (nCol != m_nSortColumn)
        SortColumn(nCol, true);
    else
        SortColumn(nCol, !m_bSortAscending);
    *pResult = 0;
}

bool CReportCtrl::CanSortBy(int nCol) const
{
    if (nCol < 0 || (GetStyle() & LVS_NOCOLUMNHEADER))
        return false;
    const CHeaderCtrl* pHeader = GetHeaderCtrl();
    return pHeader != nullptr && nCol < pHeader->GetItemCount() && (pHeader->GetStyle() & HDS_BUTTONS);
}

void CReportCtrl::SortColumn(int nCol, bool bAscending)
{
    if (!CanSortBy(nCol))
        return;
    m_nSortColumn = nCol;
    m_bSortAscending = bAscending ? TRUE : FALSE;
    SortRows();
    ::SendMessageW(::GetParent(m_hWnd), WM_REPORT_SORTED, static_cast<WPARAM>(nCol), bAscending ? 1 : 0);
}

int CReportCtrl::CompareRows(int nRowA, int nRowB) const
{
    return CompareCellTexts(GetItemText(nRowA, m_nSortColumn), GetItemText(nRowB, m_nSortColumn));
}

void CReportCtrl::SortRows()
{
    const int nRows = GetItemCount();
    const int nColumns = GetColumnCount();
    if (nRows < 2)
        return;

    // Each row's cell is read and parsed once; the comparisons, and so the order, are those of
    // CompareRows on the same cells.
    std::vector<CellSortKey> keys;
    keys.reserve(static_cast<size_t>(nRows));
    for (int row = 0; row < nRows; ++row)
        keys.emplace_back(GetItemText(row, m_nSortColumn));
    std::vector<int> order(static_cast<size_t>(nRows));
    std::iota(order.begin(), order.end(), 0);
    const bool ascending = m_bSortAscending != FALSE;
    SortRowIndexes(order, [&](int row, int pivot) {
        const int result = CompareCellKeys(keys[static_cast<size_t>(row)], keys[static_cast<size_t>(pivot)]);
        return ascending ? result < 0 : result > 0;
    });

    // Every row is read whole before any is written.
    const UINT stateMask = LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK;
    std::vector<RowSnapshot> rows(static_cast<size_t>(nRows));
    for (int row = 0; row < nRows; ++row) {
        RowSnapshot& snap = rows[static_cast<size_t>(row)];
        snap.state = GetItemState(row, stateMask);
        snap.data = static_cast<LPARAM>(GetItemData(row));
        for (int col = 0; col < nColumns; ++col) {
            LVITEMW item = {};
            item.mask = LVIF_IMAGE;
            item.iItem = row;
            item.iSubItem = col;
            snap.images.push_back(GetItem(&item) ? item.iImage : -1);
            snap.texts.push_back(GetItemText(row, col));
        }
    }

    // Painted once, when every row is written: the list view would otherwise invalidate a row
    // for each cell written, each time a request to the window server.
    SetRedraw(FALSE);
    for (int pos = 0; pos < nRows; ++pos) {
        const RowSnapshot& snap = rows[static_cast<size_t>(order[static_cast<size_t>(pos)])];
        SetItemState(pos, snap.state, stateMask);
        SetItemData(pos, static_cast<DWORD_PTR>(snap.data));
        for (int col = 0; col < nColumns; ++col)
            SetItem(pos, col, LVIF_IMAGE | LVIF_TEXT, snap.texts[static_cast<size_t>(col)],
                    snap.images[static_cast<size_t>(col)], 0, 0, 0);
    }
    SetRedraw(TRUE);
    Invalidate();
}

// ---- keys and mouse ---------------------------------------------------------------------------

BOOL CReportCtrl::PreTranslateMessage(MSG* pMsg)
{
    // Space would select or check the focused row; the list ignores it.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_SPACE)
        return TRUE;
    return CListCtrl::PreTranslateMessage(pMsg);
}

void CReportCtrl::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CReportCtrl::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CReportCtrl::OnMButtonDown(UINT, CPoint)
{
    Default();
}
void CReportCtrl::OnMButtonDblClk(UINT, CPoint)
{
    Default();
}
void CReportCtrl::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CReportCtrl::OnRButtonDblClk(UINT, CPoint)
{
    Default();
}
