// The "Port Info" tab page: the list of configured ports.
#pragma once

#include "framework/framework.h"
#include "res/resource.h"

class CSVT_PortInfoDlg : public CDialog {
public:
    enum { IDD = IDD_PORTINFO };

    CSVT_PortInfoDlg();

    // The port list (control 1019).
    CListCtrl m_list;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
