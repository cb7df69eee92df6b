// What the report list's tests share: a dialog holding list views made from a template in
// memory, the fixture that attaches the list to it, and a watch on freed pointers.
#pragma once

#include "controls/ReportCtrl.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

const UINT kReportListId = 1001;
const UINT kPlainListId = 1002;
// The monitor page's list: report view, selection always shown, border, tab stop.
const DWORD kMonitorListStyle = LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;

// A modeless dialog with a list view 1001 of the given style (and a second one, 1002, when asked).
// It records what reaches it from its lists.
class ReportHostDlg : public CDialog {
public:
    ReportHostDlg(DWORD listStyle, bool withPlainList);
    BOOL CreateHost() { return CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_template.data()), nullptr); }

    std::vector<std::pair<WPARAM, LPARAM>> sorted;  // WM_REPORT_SORTED as received
    std::vector<UINT> notifications;                // codes that reached the dialog's own handlers

protected:
    LRESULT OnReportSorted(WPARAM wParam, LPARAM lParam);
    void OnListNotify(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    std::vector<WORD> m_template;
};

class ReportListTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the host and attaches `list` to its list view 1001, as a dialog's data exchange does.
    void Open(DWORD listStyle = kMonitorListStyle, bool withPlainList = false);
    void AddColumns(std::initializer_list<const wchar_t*> headings);
    // One vector of column texts per row.
    void FillRows(const std::vector<std::vector<const wchar_t*>>& rows);
    ReportRowData* Record(int row) { return reinterpret_cast<ReportRowData*>(list.GetItemData(row)); }
    std::vector<CString> ColumnTexts(int nCol) const;
    int CellImage(int nItem, int nSubItem) const;  // -100 when it cannot be read

    CReportCtrl list;
    std::unique_ptr<ReportHostDlg> host;
};

// Handles every message waiting for this thread through the library's loop (pre-translate walk,
// dialog keys, dispatch).
void PumpMessages();
// Clicks the header of column nCol of a list view, as the mouse does.
void ClickHeader(HWND hWndList, int nCol);

// WatchPointer(p) starts counting the frees of p (the test program's operator delete counts them).
void WatchPointer(const void* p);
int FreeCount(const void* p);
