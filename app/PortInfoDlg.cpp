// The "Port Info" tab page.
#include "app/PortInfoDlg.h"

CSVT_PortInfoDlg::CSVT_PortInfoDlg() : CDialog(IDD) {}

void CSVT_PortInfoDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PORTLIST, m_list);
}
