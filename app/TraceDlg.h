// The data-trace page: the configured ports with check boxes to choose the one port whose data
// the port driver is to trace, buttons to stop a trace, clear the log and switch it between
// characters and hexadecimal, and two read-only logs with byte counters. Its only link to the
// rest of the program is g_traceSelection, which the monitor's polling thread passes to the
// status device. The program keeps one object for its whole run (g_traceDlg) and never creates
// its window; nothing fills the logs or the counters.
#pragma once

#include "controls/ButtonST.h"
#include "framework/framework.h"
#include "res/parts/TraceDlg.h"

class CTraceDlg : public CDialogEx {
public:
    enum { IDD = IDD_TRACE };

    CTraceDlg();
    ~CTraceDlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // One item "COM%d" per row of the port table, as many as DeviceCount counts.
    void FillPortList();

    CListCtrl m_portList;  // 1001, with check boxes
    CRect ClientRect;      // the page's client area, taken when it initialises
    // The COM number of the checked port; -1 when none is checked.
    int TracedCom = -1;
    CBrush m_pageBrush;           // white: the page, its labels and counters
    CButtonST m_startStopButton;  // 1032
    CButtonST m_clearButton;      // 1033
    CButtonST m_configButton;     // 1034: shows only
    CButtonST m_hexCharButton;    // 1035
    CEdit m_firstLog;             // 1029, digits only
    CEdit m_secondLog;            // 1030
    CStatic m_rxLabel;            // 1038 "RX Bytes:"
    CStatic m_txLabel;            // 1039 "TX Bytes:"
    CStatic m_firstCount;         // 1036
    CStatic m_secondCount;        // 1037
    // 1 while the log is to be shown in hexadecimal, else 0.
    int HexMode = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnMove(int x, int y);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnNmClickList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnLvnItemchangedList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBnClickedStartStop();
    void OnBnClickedClear();
    void OnBnClickedHexChar();

    DECLARE_MESSAGE_MAP()

private:
    // Black, for the logs; made the first time a log asks for its colours.
    CBrush m_logBrush;
};
