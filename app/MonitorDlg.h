// The "Status" tab page: the line states of the ports.
#pragma once

#include "framework/framework.h"
#include "res/resource.h"

class CSVT_MonitorDlg : public CDialogEx {
public:
    enum { IDD = IDD_MONITOR };

    CSVT_MonitorDlg();

    // The line-state list (control 1001); the main dialog sizes it with the page.
    CListCtrl m_list;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
