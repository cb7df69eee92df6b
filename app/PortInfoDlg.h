// The "Port Info" tab page: one row per configured port with its COM number, TX trigger level,
// alias, address, network port and protocol. The rows are written back to the registry only by
// ApplySettings; the page also runs the flows that add and delete ports.
#pragma once

#include "controls/grid/CGridListCtrlGroups.h"
#include "framework/framework.h"
#include "res/resource.h"

// The list the page shows its ports in: the grouping grid, whose cells the user edits in place.
using PortList = CGridListCtrlGroups;

class CSVT_PortInfoDlg : public CDialog {
public:
    enum { IDD = IDD_PORTINFO };

    CSVT_PortInfoDlg();
    ~CSVT_PortInfoDlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Empties the list and fills it from g_portTable; g_deviceCount becomes the number of rows.
    void FillList();
    // Writes every row that is not open to the registry, then reloads and refills.
    void ApplySettings();
    // The add-port dialog, then the progress dialog; a reload after a completed add.
    void AddPorts();
    // Deletes the ports of the selected rows, unless one of them is open.
    void DeleteSelectedPorts();
    // Deletes every port, unless any COM number is open.
    void DeleteAllPorts();
    // Moves the list to (0, 0) with the given size and shares the width out among the columns.
    void ResizeList(int width, int height);

    // The page's client rectangle when the list was set up.
    CRect m_clientRect;
    // The page's background, and the colour of its controls.
    CBrush m_backgroundBrush;
    // The port list (control 1019).
    PortList m_list;
    // 1 once the list has its columns.
    int m_setUp = 0;

    // The highest COM number a port can have: COM256 has no subkey.
    static constexpr int kMaxPortComNumber = 255;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnMove(int x, int y);
    void OnNmClickList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    void OnDestroy();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()

private:
    void SetUpColumns(int clientWidth, int x);
    // Runs the progress dialog for g_portOperation; true when it ended with IDOK.
    bool RunProgressDialog();
    // The key number of the port a row was filled with, whatever its cells show now.
    int RowKeyNumber(int row);
    void Reload();
};
