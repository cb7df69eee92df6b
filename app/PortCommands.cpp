// The main dialog's port commands: each hands over to the port list page and then has the
// monitor page rebuild its rows.
#include "app/SarventoCtlDlg.h"

#include "app/Globals.h"
#include "app/MonitorDlg.h"
#include "app/PortInfoDlg.h"
#include "app/StatusDevice.h"

namespace {

// The monitor's rows after the port list changed. Refresh also has the next pass draw every set
// line-state bit again.
void RefreshMonitor()
{
    ::Sleep(10);
    g_monitorDlg.Refresh();
}

}  // namespace

// Fresh line states first: the apply spares the ports that are open now.
void CSVT_SarventoCtlDlg::OnBnClickedApply()
{
    ReadLineStateTable();
    g_portInfoDlg.ApplySettings();
    RefreshMonitor();
}

// The list again as the port table holds it: every unsaved edit is dropped.
void CSVT_SarventoCtlDlg::OnBnClickedRevert()
{
    g_portInfoDlg.FillList();
}
