// The "Status" tab page.
#include "app/MonitorDlg.h"

CSVT_MonitorDlg::CSVT_MonitorDlg() : CDialogEx(IDD) {}

void CSVT_MonitorDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MONITORLIST, m_list);
}
