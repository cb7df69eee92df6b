// The add-port dialog: the user describes the ports to add, and OK fills g_addPortRequest.
#pragma once

#include "app/ComUsage.h"
#include "framework/framework.h"

class CSVT_ComInstConfDlg : public CDialogEx {
public:
    enum { IDD = 135 };

    CSVT_ComInstConfDlg();
    ~CSVT_ComInstConfDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnBnClickedOk();

    DECLARE_MESSAGE_MAP()

public:
    CComboBox m_cbStartCom;
    CComboBox m_cbCount;
    CIPAddressCtrl m_ipAddress;
    CComboBox m_cbProtocol;
    CComboBox m_cbAliveRx;
    CComboBox m_cbAliveTx;
    UINT m_port = 4001;
    CString m_alias;
    CString m_startComText;
    CButton m_btnOk;
    CComboBox m_cbTrigger;

private:
    // Whether the usage map could be built whole when the dialog opened; without the database's
    // claims (or the device list) no number is known to be free, and none is offered or taken.
    ComUsageGap m_mapGap = ComUsageGap::None;
};
