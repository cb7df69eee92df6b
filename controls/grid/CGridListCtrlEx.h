// A list control in report view that behaves as a grid.
//
// Every column carries a column trait (CGridColumnTrait) that draws its cells, compares them for
// sorting, says whether they may be edited and opens their in-place editor; one row trait
// (CGridRowTrait) draws the rows as a whole. The grid owns all its traits: it deletes a column's
// trait with the column, all of them when its window is destroyed, and the row trait when it is
// replaced and in its destructor. A column inserted without a trait (through CListCtrl's own
// InsertColumn, say) gets a CGridColumnTraitText.
//
// Every message handler and extension point is a virtual operation, in a fixed order, so that a
// derived list changes one by overriding it and calling the base. The handlers of reflected
// notifications return FALSE, so that the list's parent still sees them.
//
// The operations of column visibility and state, the focus cell and editing, sorting, the
// clipboard and drag and drop are declared here in their places; what they do so far is listed
// in docs/grid.md.
#pragma once

#include "controls/grid/COleDropTargetWnd.h"
#include "controls/grid/CGridColumnTrait.h"
#include "controls/grid/CGridRowTrait.h"

#include "framework/framework.h"

#include <oleidl.h>

class ColumnStateStore;
class COleDataObject;
class COleDataSource;

class CGridListCtrlEx : public CListCtrl {
public:
    CGridListCtrlEx();
    ~CGridListCtrlEx() override;

    void PreSubclassWindow() override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOW* pTI) const override;

    // ---- the grid's virtual operations, in their fixed order ----

    // The font of the text the grid and its traits draw: CellFont, else the list's own font
    // (null when the list has none and draws in the system font).
    virtual CFont* GetGridFont();
    // Scales the list's font by factor (the rows grow with it) and keeps the unscaled font as
    // CellFont for the header, the tooltips and the cells' text. Each call starts from the font
    // the list has at that moment.
    virtual void SetMarginFactor(double factor);
    virtual CGridRowTrait* GetRowTrait();
    // Takes ownership of the trait and deletes the one it replaces.
    virtual void SetRowTrait(CGridRowTrait* pRowTrait);
    virtual bool ScrollColumnIntoView(int nCol, bool bPartlyIsEnough);
    virtual bool AutoSizeColumn(int nCol, bool bIncludeHeading);
    virtual void SetHeaderSortArrow(int nCol, bool bAscending);
    virtual bool ShowColumn(int nCol, bool bShow);
    virtual bool IsColumnVisible(int nCol);
    virtual bool IsColumnResizable(int nCol);
    virtual bool IsColumnLocked(int nCol);
    virtual bool IsColumnOutOfMenu(int nCol);
    // The first column in display order whose trait is visible; -1 when none is.
    virtual int FirstVisibleColumn();
    // Inserts at position 0 a hidden column of width 0 with a bare, always hidden trait.
    virtual int InsertPlainColumn();
    // Puts a trait into the table at nCol (0 to the count; the count appends).
    virtual void InsertColumnTraitAt(int nCol, CGridColumnTrait* pTrait);
    // Inserts a column and gives it the trait (owned by the grid from now on, also on failure,
    // when it is deleted). Returns the new column's index, or -1.
    virtual int InsertColumnWithTrait(int nCol, LPCWSTR lpszHeading, int nFormat, int nWidth, int nSubItem,
                                      CGridColumnTrait* pTrait);
    // The trait of a column; nCol must be a column of the list (else the array's invalid-argument fault).
    virtual CGridColumnTrait* GetColumnTrait(int nCol);
    virtual int GetColumnTraitCount();
    virtual void SetFocusCell(int nCol, bool bRedraw);
    virtual CWnd* OpenCellEditor(int nRow, int nCol, CPoint pt);
    virtual CWnd* OpenCellEditorNoPoint(int nRow, int nCol);
    // The trait of a cell: its column's; null for a column that has none.
    virtual CGridColumnTrait* GetCellTrait(int nRow, int nCol);
    virtual void LoadColumnState(ColumnStateStore* pStore, bool bOwnsStore);
    virtual void ApplyColumnState(ColumnStateStore* pStore);
    virtual void StoreColumnState(ColumnStateStore* pStore);
    virtual void LoadColumnWidth(int nPlace, int nCol, ColumnStateStore* pStore);
    virtual void StoreColumnWidth(int nPlace, int nCol, ColumnStateStore* pStore);
    // Hooks of the header menu; the grid offers no commands.
    virtual bool GetColumnCommandText(int nCol, CString& text);
    virtual void OnColumnCommand(int nCol);
    virtual bool GetListCommandText(CString& text);
    virtual void OnListCommand();
    virtual bool GetResetColumnsText(CString& text);
    virtual void ResetColumns();
    virtual CString GetProfilesMenuText(CStringArray& profiles, CString& title);
    virtual void SwitchColumnProfile(const CString& profile);
    virtual void SaveStateOnShowColumn();
    virtual void SaveStateOnColumnResize();
    virtual void SaveStateOnKillFocus();
    virtual void FillCallbackItem(LVITEMW& item);
    // Hooks for callback cells; the grid knows no texts or images of its own.
    virtual bool QueryCellText(int nRow, int nCol, CString& text);
    virtual bool QueryCellImage(int nRow, int nCol, int& nImage);
    virtual bool GetCellText(int nRow, int nCol, CString& text);
    // Hook: whether the cell at the point shows a tooltip; the grid allows every one.
    virtual bool AllowCellTooltip(CPoint pt, TOOLINFOW* pTI);
    // Drawing hooks for derived lists: true (with the colours or the font) overrides the traits'.
    // The grid answers false and leaves the outputs alone.
    virtual bool QueryCellColors(int nRow, int nCol, COLORREF& textColor, COLORREF& backColor);
    // QueryCellColors for the cell of a custom-draw record, into the record's colours.
    virtual bool QueryCellColorsForDraw(NMLVCUSTOMDRAW* pLVCD);
    virtual bool QueryCellFont(int nRow, int nCol, LOGFONTW& font);
    virtual bool QueryCellFontForDraw(NMLVCUSTOMDRAW* pLVCD, LOGFONTW& font);
    virtual bool QueryRowColors(int nRow, COLORREF& textColor, COLORREF& backColor);
    virtual bool QueryRowFont(int nRow, LOGFONTW& font);
    // Shows one row as hot (a drop position while dragging), or none with -1.
    virtual void SetHotTracking(int nRow);
    virtual bool GetCellTextWithTitle(int nRow, int nCol, CString& text);
    virtual bool GetRowText(int nRow, CString& text);
    virtual bool GetSelectionText(CString& text, bool bTitles);
    virtual bool GetSelectionTextNoTitles(CString& text);
    // Hooks for the check boxes of owner-data lists: the grid knows no check states, and setting
    // one repaints the list for the owner to draw it.
    virtual bool IsOwnerDataRowChecked(int nRow);
    virtual void SetOwnerDataRowCheck(int nRow, bool bChecked);
    virtual int FindRowByPrefix(int nCol, int nStartRow, const CString& prefix);
    // Deletes the trait of a column (when there is one) and removes it from the table.
    virtual void DeleteColumnTrait(int nCol);
    virtual void MoveFocusColumn(bool bForward);
    virtual bool SortByColumn(int nCol, bool bAscending);
    virtual bool RegisterDropTarget();
    virtual DWORD StartDragSelection(COleDataSource* pDataSource);
    virtual DWORD OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DWORD OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual bool OnDrop(COleDataObject* pDataObject, DWORD dropEffect, CPoint point);
    virtual bool DropWithinList(COleDataObject* pDataObject, DWORD dropEffect, CPoint point);
    virtual bool DropFromOutside(COleDataObject* pDataObject, DWORD dropEffect, CPoint point);
    virtual bool MoveSelectionTo(int nTargetRow);
    // The row trait's custom draw of the record.
    virtual void DrawRowViaTrait(int nRow, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult);
    // The column trait's custom draw of the record's cell; a hidden column's cells are not drawn.
    virtual void DrawCellViaTrait(int nRow, int nCol, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult);
    virtual int ClassifyCellClick(int nRow, int nCol, CPoint pt, bool bDblClick);
    virtual CWnd* StartCellEditing(int nRow, int nCol, CPoint pt);
    virtual CWnd* StartCellEditingNoPoint(int nRow, int nCol);
    virtual bool OnCellEditingEnded(int nRow, int nCol, CWnd* pEditor, NMLVDISPINFOW* pDispInfo);
    // Hooks for derived lists: context menus of the empty area and of a cell; the grid shows none.
    virtual void ShowGridMenu(CWnd* pWnd, CPoint point);
    virtual void ShowHeaderMenu(CWnd* pWnd, CPoint point, int nCol);
    virtual void ShowKeyboardMenu(CWnd* pWnd, CPoint point);
    virtual void ShowCellMenu(CWnd* pWnd, CPoint point, int nRow, int nCol);
    // Styles, visual theme, tooltips and drop target of a list just attached or created.
    virtual void SetUpControl();
    virtual void CopySelectionToClipboard();

    // ---- message handlers (the message map calls each of them virtually) ----
    virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);
    virtual LRESULT OnDeleteColumn(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnInsertColumn(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnClick(NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnGetDisplayInfo(NMHDR* pNMHDR, LRESULT* pResult);
    virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    virtual LRESULT OnSetColumnWidth(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnHeaderDividerDblClick(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnHeaderBeginTrack(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnHeaderBeginDrag(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnHeaderEndTrack(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnHeaderItemChanging(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnHeaderEndDrag(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnToolNeedText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnOwnerDataFindItem(NMHDR* pNMHDR, LRESULT* pResult);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnContextMenu(CWnd* pWnd, CPoint point);
    virtual void OnDestroy();
    virtual void OnPaint();
    virtual void OnKillFocus(CWnd* pNewWnd);
    virtual LRESULT OnCopy(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    virtual BOOL OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);

    // ---- services of the grid (not virtual) ----

    // True when the running Windows is at least version (major << 8) | minor.
    static bool IsOSVersionAtLeast(WORD version);
    // True when "UxTheme.dll" reports the application themed and a theme active, and the common
    // controls are version 6.
    bool IsThemingActive();
    // Gives the window the visual style themeName when the theme has data for themeClass;
    // S_FALSE when UxTheme or one of its functions is missing or the class has no theme data.
    HRESULT CallThemeApi(HWND hWnd, LPCWSTR lpszThemeClass, LPCWSTR lpszThemeName);
    // The "Explorer" style for the list on a themed Vista or later; sets ExplorerThemed.
    HRESULT ApplyExplorerTheme();
    // Number of columns (items of the list's header).
    int GetColumnCount();
    // A column's heading, up to 255 characters.
    CString GetColumnTitle(int nCol);
    // The rectangle of a part of a cell (LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL) in client
    // coordinates; 0 when the cell (or, for LVIR_ICON, its image) has none.
    int GetCellPartRect(int nRow, int nCol, int nPart, RECT& rect);
    // True when the cell's text comes from the owner (an owner-data list, or LPSTR_TEXTCALLBACKW).
    bool IsCellCallback(int nRow, int nCol);
    // The cell's image index; -1 for none.
    int GetCellImage(int nRow, int nCol);
    // The sort arrow of the header without common controls 6: a new 16 x 16 bitmap, not selected
    // into any device context; null when it cannot be made.
    HBITMAP DrawSortArrowBitmap(bool bAscending);
    // Appends one show/hide item per column in index order (id nFirstId + index, the heading as
    // text, checked when visible, disabled when always visible; none for an always hidden
    // column); returns the number of column traits.
    int AppendColumnMenuItems(CMenu& menu, int nFirstId);
    // Fills profiles and appends a separator and the profiles' popup (ids from nFirstId, the
    // active profile checked); appends nothing without profiles. Returns the number of profiles.
    int AppendProfilesSubmenu(CMenu& menu, int nFirstId, CStringArray& profiles);

    int GetFocusColumn() const { return FocusColumn; }
    // The editor window open on a cell, null when none.
    CWnd* GetCellEditor() const { return CellEditor; }
    bool IsExplorerThemed() const { return ExplorerThemed; }

protected:
    // Adds or removes one extended style bit, reading the style and writing it back whole.
    void AddExtendedStyle(DWORD dwBit);
    void RemoveExtendedStyle(DWORD dwBit);
    // Ends the drop-position highlight of a drag that left the grid or was dropped on it from
    // elsewhere; a foreign drag's focused row gets its focus back.
    void EndDropHighlight();
    // Shows the row that a drop within the grid ended on and gives it the focus, which the end
    // of the drag keeps.
    void FocusDroppedRow(int nRow);

    CArray<CGridColumnTrait*, CGridColumnTrait*> ColumnTraits;  // one per column, at its index
    ColumnStateStore* StateStore = nullptr;
    bool OwnsStateStore = false;
    CGridRowTrait* RowTrait = nullptr;
    int FocusColumn = -1;
    CString TypeAheadText;
    __int64 TypeAheadTime = 0;
    int TypeAheadColumn = -1;
    int TypeAheadRow = -1;
    int TypeAheadRepeat = 0;
    int SortColumn = -1;
    bool SortAscending = false;
    CWnd* CellEditor = nullptr;
    bool ExplorerThemed = false;
    int TooltipMaxWidth = 32767;
    CFont GridFont;  // the list's own font: CellFont scaled by the margin factor
    CFont CellFont;  // the unscaled font: header, tooltips, the cells' text
    // -1.0 while the grid hands its own font to the list.
    double MarginFactor = 1.0;
    const CString EmptyListText;
    bool EmptyTextShown = true;
    COleDropTargetWnd<CGridListCtrlEx>* DropTarget = nullptr;
    // The focused row when a drag from elsewhere entered the grid; -1 when none.
    int ForeignDragFocusRow = -1;
    // The row a drop of the grid's own drag gave the focus; -1 when none.
    int DropFocusRow = -1;

    DECLARE_MESSAGE_MAP()
};
