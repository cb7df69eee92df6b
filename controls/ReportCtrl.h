// CReportCtrl: a list view in report view with a colour per cell, a small image list cut from a
// bitmap strip, and sorting by a click on a column header in the cells' natural order (numbers,
// dates, then text).
//
// Every row inserted through the control carries a ReportRowData record as its item data: the
// control makes it, moves it with its row when it sorts and deletes it with the rows. Item data
// that the control did not make (a row inserted through the plain list calls) is never read as a
// record, and never deleted.
#pragma once

#include "controls/CellImageCache.h"
#include "controls/ReportRowData.h"
#include "framework/framework.h"

#include <unordered_set>
#include <vector>

// Sent to the parent after every sort: wParam = the sort column, lParam = 1 ascending, 0 descending.
#define WM_REPORT_SORTED (WM_APP + 10001)
// Sent to the parent when the list is about to paint and other rows are in view than when it
// last painted: wParam = the top row, lParam = the last row that shows, also in part. What the
// parent sets in those rows now is in the picture.
#define WM_REPORT_ROWSINVIEW (WM_APP + 10002)

// One cell's new image, for CReportCtrl::SetCellImages.
struct ReportCellImage {
    int row;
    int column;
    int image;
};

class CReportCtrl : public CListCtrl {
public:
    CReportCtrl() = default;
    ~CReportCtrl() override;
    CReportCtrl(const CReportCtrl&) = delete;
    CReportCtrl& operator=(const CReportCtrl&) = delete;

    // Creates the list as a report view; a null rectangle fills the parent's client area.
    using CListCtrl::Create;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Loads the state pictures (bitmap IDB_REPORT_STATES, 16 pixels wide, magenta transparent)
    // as the small image list, in place of one loaded before; FALSE when they could not be loaded.
    BOOL InitImageList();

    // Inserts a column; on success every row's colours get an entry for it. Returns the new
    // column's index or -1.
    int InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    // Inserts, in every row's colours, a default entry (window text on window background) at
    // nCol; the entries of the later columns move up by one.
    void ResetColumnColors(int nCol);

    // Deletes every row and its record; returns the number of rows there were.
    int DeleteAllItems();
    // Each inserts a row with a fresh record and forgets the last sort (the next header click
    // sorts ascending). They return the new row's index or -1.
    using CListCtrl::InsertItem;
    int InsertItem(UINT nMask, int nItem, LPCWSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    int InsertItem(int nItem, LPCWSTR lpszItem);
    int InsertItem(int nItem, LPCWSTR lpszItem, int nImage);
    // Gives the row a fresh record with default colours for every column, in place of the record
    // it had.
    void AttachRowData(int nItem);

    // Sets the images of cells and puts them on the screen: those of rows the list view draws
    // plainly (not selected, focused, cut or drop-highlighted) at once, each with one copy of
    // its image; the others are painted again, only the cells, not their whole rows as the list
    // view would.
    void SetCellImages(const std::vector<ReportCellImage>& cells);
    // The top row and the last row that shows, also in part.
    void GetRowsInView(int& top, int& last) const;

    // Sorts the rows by the cells of nCol and tells the parent (WM_REPORT_SORTED). Nothing happens
    // for a column that does not exist or a list without clickable column headers.
    void SortColumn(int nCol, bool bAscending);
    // -1, 0 or 1: the natural order of the two rows' cells in the sort column.
    int CompareRows(int nRowA, int nRowB) const;

    // The list has no in-place editor, so there is never an edit to end; callers that end editing
    // before they change the columns or rows may call it all the same.
    void EndEdit(bool bCommit = true) { (void)bCommit; }

protected:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnPaint();
    void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    int GetColumnCount() const;
    bool CanSortBy(int nCol) const;
    void SortRows();
    // The row's record, or null when its item data is not a record of this control.
    ReportRowData* GetRowData(int nItem) const;
    const ReportRowData* RecordFromData(LPARAM lParam) const;
    void DeleteRecord(ReportRowData* pRecord);
    void DeleteAllRecords();
    void ReleaseSmallImageList();
    // Draws a cell's image as the list view paints it, onto the list's DC; false when the list
    // view is to paint it (a row it draws its own way, or no image).
    bool DrawCellImage(HDC hdc, const ReportCellImage& cell);

    int m_nSortColumn = -1;
    BOOL m_bSortAscending = TRUE;
    CImageList m_imageList;
    // The small images over the cells' background, for DrawCellImage.
    CellImageCache m_cellImages;
    // Released with the control; nothing in this program fills it.
    CImageList m_imageList2;
    std::unordered_set<ReportRowData*> m_records;
    // The rows in view when the list last painted.
    int m_paintedTop = -1;
    int m_paintedLast = -1;
    // Set from PreCreateWindow until the new window is subclassed: the list view does not exist
    // yet then, so its extended style is set in OnCreate.
    bool m_bCreating = false;
};
