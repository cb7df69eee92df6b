// Common-control wrappers: CStatic, CButton, CEdit, CComboBox, CListCtrl, CHeaderCtrl,
// CTabCtrl, CStatusBar, CProgressCtrl, CIPAddressCtrl, CToolTipCtrl, and the menu wrapper CMenu.
//
// Each control class is a CWnd whose member functions send one message each (GetItemCount() is
// LVM_GETITEMCOUNT); list views use the wide messages only. The additions over plain messages are
// the ones the conventional class library makes and the program relies on:
// - owner-drawn buttons, combo boxes and list views get WM_DRAWITEM (and friends)
//   reflected to their virtual DrawItem (MeasureItem, CompareItem, DeleteItem);
// - CStatusBar turns the control-bar style bits (CBRS_*) into status-bar window styles, loads its
//   indicator texts from the string table and lays its panes out from their widths;
// - CMenu::FromHandle, CListCtrl::GetHeaderCtrl and similar return temporary wrappers for handles
//   no object owns; they belong to the calling thread and never destroy their handle.
#pragma once

#include "framework/cstring.h"
#include "framework/gdi.h"
#include "framework/popupmenu.h"
#include "framework/types.h"
#include "framework/wnd.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

class CHeaderCtrl;
class CToolTipCtrl;

// ---- CStatic ------------------------------------------------------------------------------

class CStatic : public CWnd {};

// ---- CButton ------------------------------------------------------------------------------

class CButton : public CWnd {
public:
    // The button type and its BS_ flags in the low 16 bits of the style.
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }

    // Called for WM_DRAWITEM of an owner-drawn button; a class that makes buttons owner-drawn
    // overrides it.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// ---- CEdit --------------------------------------------------------------------------------

class CEdit : public CWnd {
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_EDITW, nullptr, dwStyle, rect, pParentWnd, nID);
    }
    void SetLimitText(UINT nMax) { SendMessage(EM_SETLIMITTEXT, nMax); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }

    static CEdit* FromHandle(HWND hWnd);
};

// ---- CComboBox ----------------------------------------------------------------------------

class CComboBox : public CWnd {
public:
    using CWnd::Create;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_COMBOBOXW, nullptr, dwStyle, rect, pParentWnd, nID);
    }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect))); }
    // Each returns the new item's index, CB_ERR or CB_ERRSPACE.
    int AddString(LPCWSTR lpszString) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString))); }
    int FindStringExact(int nIndexStart, LPCWSTR lpszFind) const
    {
        return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), reinterpret_cast<LPARAM>(lpszFind)));
    }
    int GetLBTextLen(int nIndex) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex))); }
    int GetLBText(int nIndex, LPWSTR lpszText) const
    {
        return static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszText)));
    }
    // The text of item nIndex; empty (and CB_ERR returned) for an index outside the list.
    int GetLBText(int nIndex, CString& rString) const;
    DWORD_PTR GetItemData(int nIndex) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(nIndex))); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData)
    {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
    }
    int GetItemHeight(int nIndex) const { return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex))); }
    int SetItemHeight(int nIndex, UINT cyItemHeight)
    {
        return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), cyItemHeight));
    }
    void ShowDropDown(BOOL bShowIt = TRUE) { SendMessage(CB_SHOWDROPDOWN, bShowIt); }
    BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
    void GetDroppedControlRect(LPRECT lprect) const { SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(lprect)); }
    int SetDroppedWidth(UINT nWidth) { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, nWidth)); }
    int GetDroppedWidth() const { return static_cast<int>(SendMessage(CB_GETDROPPEDWIDTH)); }
    int InitStorage(int nItems, UINT nBytes)
    {
        return static_cast<int>(SendMessage(CB_INITSTORAGE, static_cast<WPARAM>(nItems), nBytes));
    }

    // Owner-drawn combo boxes: the parent's WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM and
    // WM_DELETEITEM come here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// ---- CHeaderCtrl --------------------------------------------------------------------------

class CHeaderCtrl : public CWnd {
public:
    using CWnd::Create;
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItem(int nPos, HDITEMW* pHeaderItem) const
    {
        return static_cast<BOOL>(SendMessage(HDM_GETITEMW, static_cast<WPARAM>(nPos), reinterpret_cast<LPARAM>(pHeaderItem)));
    }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
    }
    int OrderToIndex(int nOrder) const { return static_cast<int>(SendMessage(HDM_ORDERTOINDEX, static_cast<WPARAM>(nOrder))); }

    static CHeaderCtrl* FromHandle(HWND hWnd);
};

// ---- CToolTipCtrl -------------------------------------------------------------------------

class CToolTipCtrl : public CWnd {
public:
    using CWnd::Create;
    // A tooltip window owned by pParentWnd with the TTS_* styles dwStyle. Without TTS_ALWAYSTIP
    // it shows tips only while its owner is the active window.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // A tool for the window pWnd itself when nIDTool is 0 and lpRectTool null, else the rectangle
    // lpRectTool of pWnd with id nIDTool. Either way the tooltip learns of the mouse only through
    // RelayEvent. LPSTR_TEXTCALLBACKW asks the tool's window for the text.
    BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText = LPSTR_TEXTCALLBACKW, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
    int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
    int GetMaxTipWidth() const { return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH)); }
    void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
    COLORREF GetTipBkColor() const { return static_cast<COLORREF>(SendMessage(TTM_GETTIPBKCOLOR)); }
    void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }
    COLORREF GetTipTextColor() const { return static_cast<COLORREF>(SendMessage(TTM_GETTIPTEXTCOLOR)); }

private:
    // The tool description the TTM_ messages take, sized for every common-controls version.
    static void FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool);
};

// ---- CListCtrl ----------------------------------------------------------------------------

class CListCtrl : public CWnd {
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_LISTVIEWW, nullptr, dwStyle, rect, pParentWnd, nID);
    }

    // Items.
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL SetItemCount(int nItems) { return static_cast<BOOL>(SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(nItems))); }
    BOOL GetItem(LVITEMW* pItem) const { return static_cast<BOOL>(SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(pItem))); }
    BOOL SetItem(const LVITEMW* pItem) { return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(pItem))); }
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCWSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam);
    // Each returns the new item's index, or -1.
    int InsertItem(const LVITEMW* pItem) { return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(pItem))); }
    int InsertItem(int nItem, LPCWSTR lpszItem);
    int InsertItem(UINT nMask, int nItem, LPCWSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(nItem))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL SetItemText(int nItem, int nSubItem, LPCWSTR lpszText);
    // The text of a cell, however long; empty for a cell that does not exist.
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPWSTR lpszText, int nLen) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    // The item's data; 0 for an item that does not exist.
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL SetItemState(int nItem, LVITEMW* pItem)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pItem)));
    }
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), nMask));
    }
    BOOL GetCheck(int nItem) const { return ((GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1; }
    BOOL SetCheck(int nItem, BOOL bCheck = TRUE)
    {
        return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(bCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    // nCode: LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL or LVIR_SELECTBOUNDS.
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    // nArea: LVIR_BOUNDS, LVIR_ICON or LVIR_LABEL; nSubItem 0 is the whole item with LVIR_BOUNDS.
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;

    // Selection and search.
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetNextItem(int nItem, int nFlags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
    }
    int SetSelectionMark(int iIndex) { return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, iIndex)); }
    int GetHotItem() const { return static_cast<int>(SendMessage(LVM_GETHOTITEM)); }
    int SetHotItem(int iIndex) { return static_cast<int>(SendMessage(LVM_SETHOTITEM, static_cast<WPARAM>(iIndex))); }
    int FindItem(LVFINDINFOW* pFindInfo, int nStart = -1) const
    {
        return static_cast<int>(SendMessage(LVM_FINDITEMW, static_cast<WPARAM>(nStart), reinterpret_cast<LPARAM>(pFindInfo)));
    }
    int HitTest(LVHITTESTINFO* pHitTestInfo) const
    {
        return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
    }
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    int SubItemHitTest(LPLVHITTESTINFO pInfo)
    {
        return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(pInfo)));
    }

    // Columns.
    int InsertColumn(int nCol, const LVCOLUMNW* pColumn)
    {
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
    }
    // nWidth -1 and nSubItem -1 leave the width and the subitem number to the control.
    int InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL DeleteColumn(int nCol) { return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(nCol))); }
    BOOL GetColumn(int nCol, LVCOLUMNW* pColumn) const
    {
        return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
    }
    BOOL SetColumn(int nCol, const LVCOLUMNW* pColumn)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
    }
    int GetColumnWidth(int nCol) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nCol))); }
    // cx may be LVSCW_AUTOSIZE or LVSCW_AUTOSIZE_USEHEADER.
    BOOL SetColumnWidth(int nCol, int cx)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)));
    }
    // piArray receives iCount column indexes in display order (-1: every column of the header).
    BOOL GetColumnOrderArray(LPINT piArray, int iCount = -1) const;
    BOOL SetColumnOrderArray(int iCount, LPINT piArray)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(iCount), reinterpret_cast<LPARAM>(piArray)));
    }
    CHeaderCtrl* GetHeaderCtrl() const;

    // Styles, colours, images.
    DWORD SetExtendedStyle(DWORD dwNewStyle)
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
    }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    BOOL SetBkColor(COLORREF cr) { return static_cast<BOOL>(SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(cr))); }
    COLORREF GetBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR)); }
    BOOL SetTextColor(COLORREF cr) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(cr))); }
    COLORREF GetTextColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR)); }
    BOOL SetTextBkColor(COLORREF cr) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(cr))); }
    COLORREF GetTextBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTBKCOLOR)); }
    // nImageList: LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE; returns the previous list.
    CImageList* SetImageList(CImageList* pImageList, int nImageList)
    {
        return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(
            LVM_SETIMAGELIST, static_cast<WPARAM>(nImageList), reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr))));
    }
    CImageList* GetImageList(int nImageList) const
    {
        return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(nImageList))));
    }

    // Scrolling, drawing, sorting.
    BOOL EnsureVisible(int nItem, BOOL bPartialOK)
    {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), MAKELPARAM(bPartialOK, 0)));
    }
    BOOL Scroll(CSize size) { return static_cast<BOOL>(SendMessage(LVM_SCROLL, static_cast<WPARAM>(size.cx), size.cy)); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    // The callback compares two items' data.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
    {
        return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, dwData, reinterpret_cast<LPARAM>(pfnCompare)));
    }
    CEdit* EditLabel(int nItem);

    // Groups (report view with group view enabled).
    BOOL IsGroupViewEnabled() const { return static_cast<BOOL>(SendMessage(LVM_ISGROUPVIEWENABLED)); }
    // Returns the new group's index, or -1. pGroup->cbSize must be set.
    LRESULT InsertGroup(int index, PLVGROUP pGroup)
    {
        return SendMessage(LVM_INSERTGROUP, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(pGroup));
    }
    // Return the group's id, or -1.
    int SetGroupInfo(int iGroupId, PLVGROUP pGroup)
    {
        return static_cast<int>(SendMessage(LVM_SETGROUPINFO, static_cast<WPARAM>(iGroupId), reinterpret_cast<LPARAM>(pGroup)));
    }
    int GetGroupInfo(int iGroupId, PLVGROUP pGroup) const
    {
        return static_cast<int>(SendMessage(LVM_GETGROUPINFO, static_cast<WPARAM>(iGroupId), reinterpret_cast<LPARAM>(pGroup)));
    }
    BOOL GetGroupInfoByIndex(int iIndex, PLVGROUP pGroup) const
    {
        return static_cast<BOOL>(SendMessage(LVM_GETGROUPINFOBYINDEX, static_cast<WPARAM>(iIndex), reinterpret_cast<LPARAM>(pGroup)));
    }
    int GetGroupCount() const { return static_cast<int>(SendMessage(LVM_GETGROUPCOUNT)); }
    BOOL GetGroupRect(int iGroupId, LPRECT lpRect, int iType = LVGGR_GROUP) const;
    LRESULT RemoveGroup(int iGroupId) { return SendMessage(LVM_REMOVEGROUP, static_cast<WPARAM>(iGroupId)); }
    BOOL SortGroups(PFNLVGROUPCOMPARE pfnGroupCompare, LPVOID plv)
    {
        return static_cast<BOOL>(SendMessage(LVM_SORTGROUPS, reinterpret_cast<WPARAM>(pfnGroupCompare), reinterpret_cast<LPARAM>(plv)));
    }

    // Called for WM_DRAWITEM of an owner-drawn (LVS_OWNERDRAWFIXED) list.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// ---- CTabCtrl -----------------------------------------------------------------------------

class CTabCtrl : public CWnd {
public:
    // Each returns the new tab's index, or -1.
    LONG InsertItem(int nItem, const TCITEMW* pTabCtrlItem)
    {
        return static_cast<LONG>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    LONG InsertItem(int nItem, LPCWSTR lpszItem);
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
};

// ---- CStatusBar ---------------------------------------------------------------------------

// Control-bar style bits a status bar is created with (they are not window styles).
#ifndef CBRS_ALL
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_ALL 0x0040FFFFL  // every control-bar bit
#endif

// Pane styles (SetPaneInfo): the SBT_ drawing bits, and SBPS_STRETCH of the bar's own.
#ifndef SBPS_NORMAL
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_STRETCH 0x08000000
#endif

#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif
#ifndef AFX_IDW_STATUS_BAR
#define AFX_IDW_STATUS_BAR 0xE801
#endif

class CStatusBar : public CWnd {
public:
    using CWnd::Create;
    // dwStyle mixes window styles with CBRS_* bits: the CBRS_* bits are left out, the window
    // gets CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE (the owner places the
    // bar), and SBARS_SIZEGRIP when the parent is sizable.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id; an id's pane starts with string id of the string table as its text and the
    // text's width. ID_SEPARATOR gives an empty pane (the first such one stretches). FALSE when a
    // string is missing or the bar refuses the panes.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    // Sets a pane's id, style (SBPS_*) and width in pixels, and lays the panes out again.
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    CString GetPaneText(int nIndex) const;
    // bUpdate FALSE leaves the repaint to the next one that happens anyway.
    BOOL SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate = TRUE);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Pane {
        UINT nID;
        UINT nStyle;
        int cxWidth;
    };
    // Sends the panes' right edges (and the text drawing bits of their styles) to the control.
    BOOL UpdateAllPanes();
    BOOL IsValidPane(int nIndex) const { return nIndex >= 0 && nIndex < GetCount(); }

    std::vector<Pane> m_panes;
};

// ---- CProgressCtrl ------------------------------------------------------------------------

class CProgressCtrl : public CWnd {
public:
    using CWnd::Create;
    void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
    int SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep))); }
};

// ---- CIPAddressCtrl -----------------------------------------------------------------------

class CIPAddressCtrl : public CWnd {
public:
    // Returns the number of fields that are not blank; blank fields read as 0.
    int GetAddress(DWORD& dwAddress) const
    {
        return static_cast<int>(SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&dwAddress)));
    }
};

// ---- CMenu --------------------------------------------------------------------------------

class CMenu {
public:
    CMenu() noexcept = default;
    // Destroys the menu it holds; Detach() one that a window keeps (SetMenu).
    virtual ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    HMENU GetSafeHmenu() const noexcept { return m_hMenu; }
    BOOL Attach(HMENU hMenu) noexcept;
    HMENU Detach() noexcept;
    // Destroys the held menu; safe to call again (then FALSE).
    BOOL DestroyMenu() noexcept;
    static CMenu* FromHandle(HMENU hMenu);

    BOOL CreatePopupMenu() noexcept { return Attach(::CreatePopupMenu()); }
    // Menus are loaded from the application's resources (AfxGetResourceHandle).
    BOOL LoadMenu(UINT nIDResource) noexcept;

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr) noexcept
    {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    UINT GetMenuItemCount() const noexcept { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
    // Shows the menu at (x, y) in screen coordinates; with TPM_RETURNCMD the result is the chosen
    // command (0 for none), else whether the menu was shown. Goes through AfxTrackPopupMenu.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr)
    {
        return AfxTrackPopupMenu(m_hMenu, nFlags, x, y, pWnd ? pWnd->GetSafeHwnd() : nullptr, lpRect);
    }
};
