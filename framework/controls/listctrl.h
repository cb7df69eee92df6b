// CListCtrl: a list view (wide messages only): items, columns, styles, scrolling and groups.
#pragma once

#include "framework/controls/edit.h"
#include "framework/controls/headerctrl.h"
#include "framework/cstring.h"
#include "framework/gdi.h"
#include "framework/types.h"
#include "framework/wnd.h"

#include <windows.h>

#include <commctrl.h>

class CListCtrl : public CWnd {
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_LISTVIEWW, nullptr, dwStyle, rect, pParentWnd, nID);
    }

    // Items.
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL SetItemCount(int nItems)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(nItems)));
    }
    BOOL GetItem(LVITEMW* pItem) const
    {
        return static_cast<BOOL>(SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL SetItem(const LVITEMW* pItem)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCWSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam);
    // Each returns the new item's index, or -1.
    int InsertItem(const LVITEMW* pItem)
    {
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
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
        return static_cast<BOOL>(
            SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pItem)));
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
        return static_cast<int>(
            SendMessage(LVM_FINDITEMW, static_cast<WPARAM>(nStart), reinterpret_cast<LPARAM>(pFindInfo)));
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
        return static_cast<int>(
            SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
    }
    // nWidth -1 and nSubItem -1 leave the width and the subitem number to the control.
    int InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL DeleteColumn(int nCol) { return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(nCol))); }
    BOOL GetColumn(int nCol, LVCOLUMNW* pColumn) const
    {
        return static_cast<BOOL>(
            SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
    }
    BOOL SetColumn(int nCol, const LVCOLUMNW* pColumn)
    {
        return static_cast<BOOL>(
            SendMessage(LVM_SETCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
    }
    int GetColumnWidth(int nCol) const
    {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nCol)));
    }
    // cx may be LVSCW_AUTOSIZE or LVSCW_AUTOSIZE_USEHEADER.
    BOOL SetColumnWidth(int nCol, int cx)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)));
    }
    // piArray receives iCount column indexes in display order (-1: every column of the header).
    BOOL GetColumnOrderArray(LPINT piArray, int iCount = -1) const;
    BOOL SetColumnOrderArray(int iCount, LPINT piArray)
    {
        return static_cast<BOOL>(
            SendMessage(LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(iCount), reinterpret_cast<LPARAM>(piArray)));
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
    BOOL SetTextColor(COLORREF cr)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(cr)));
    }
    COLORREF GetTextColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR)); }
    BOOL SetTextBkColor(COLORREF cr)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(cr)));
    }
    COLORREF GetTextBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTBKCOLOR)); }
    // nImageList: LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE; returns the previous list.
    CImageList* SetImageList(CImageList* pImageList, int nImageList)
    {
        return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
            SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageList),
                        reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr))));
    }
    CImageList* GetImageList(int nImageList) const
    {
        return CImageList::FromHandle(
            reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(nImageList))));
    }

    // Scrolling, drawing, sorting.
    BOOL EnsureVisible(int nItem, BOOL bPartialOK)
    {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), MAKELPARAM(bPartialOK, 0)));
    }
    BOOL Scroll(CSize size)
    {
        return static_cast<BOOL>(SendMessage(LVM_SCROLL, static_cast<WPARAM>(size.cx), size.cy));
    }
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
        return static_cast<int>(
            SendMessage(LVM_SETGROUPINFO, static_cast<WPARAM>(iGroupId), reinterpret_cast<LPARAM>(pGroup)));
    }
    int GetGroupInfo(int iGroupId, PLVGROUP pGroup) const
    {
        return static_cast<int>(
            SendMessage(LVM_GETGROUPINFO, static_cast<WPARAM>(iGroupId), reinterpret_cast<LPARAM>(pGroup)));
    }
    BOOL GetGroupInfoByIndex(int iIndex, PLVGROUP pGroup) const
    {
        return static_cast<BOOL>(
            SendMessage(LVM_GETGROUPINFOBYINDEX, static_cast<WPARAM>(iIndex), reinterpret_cast<LPARAM>(pGroup)));
    }
    int GetGroupCount() const { return static_cast<int>(SendMessage(LVM_GETGROUPCOUNT)); }
    BOOL GetGroupRect(int iGroupId, LPRECT lpRect, int iType = LVGGR_GROUP) const;
    LRESULT RemoveGroup(int iGroupId) { return SendMessage(LVM_REMOVEGROUP, static_cast<WPARAM>(iGroupId)); }
    BOOL SortGroups(PFNLVGROUPCOMPARE pfnGroupCompare, LPVOID plv)
    {
        return static_cast<BOOL>(
            SendMessage(LVM_SORTGROUPS, reinterpret_cast<WPARAM>(pfnGroupCompare), reinterpret_cast<LPARAM>(plv)));
    }

    // Called for WM_DRAWITEM of an owner-drawn (LVS_OWNERDRAWFIXED) list.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
