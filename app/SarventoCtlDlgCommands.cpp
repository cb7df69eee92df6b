// The main dialog's port commands: each hands over to the port list page and then has the
// monitor page rebuild its rows (which also has it draw every set line-state bit again).
#include "app/SarventoCtlDlg.h"

#include "app/Globals.h"
#include "app/MonitorDlg.h"
#include "app/PortInfoDlg.h"
#include "app/StatusDevice.h"

namespace {

const wchar_t kDeleteStopped[] = L"The port states could not be read.\nDeletion process will be stopped";
const wchar_t kApplyStopped[] = L"The port states could not be read.\nThe settings were not written";

// Fresh line states for a command that spares the open ports. When they cannot be read no port
// is known to be closed: the command stops before it changes anything, and says so.
bool ReadLineStatesFor(LPCWSTR stopText)
{
    if (ReadLineStateTable())
        return true;
    AfxMessageBox(stopText, MB_OK);
    return false;
}

}  // namespace

// The button writes every row back after the add, whether or not ports were added, with line
// states read afresh: a port opened since the last read is spared too.
void CSVT_SarventoCtlDlg::OnBnClickedAdd()
{
    g_portInfoDlg.AddPorts();
    if (ReadLineStatesFor(kApplyStopped))
        g_portInfoDlg.ApplySettings();
    ::Sleep(10);
    g_monitorDlg.Refresh();
}

// The menu's Add runs the add alone; the monitor rebuilds its rows when it is next shown.
void CSVT_SarventoCtlDlg::OnAddPorts()
{
    g_portInfoDlg.AddPorts();
}

void CSVT_SarventoCtlDlg::OnDeletePorts()
{
    if (g_portInfoDlg.m_list.GetNextItem(-1, LVNI_SELECTED) == -1)
        return;
    if (AfxMessageBox(L"Do you want to delete ports?", MB_OKCANCEL) != IDOK)
        return;
    // Fresh line states: an open port stops the deletion.
    if (!ReadLineStatesFor(kDeleteStopped))
        return;
    g_portInfoDlg.DeleteSelectedPorts();
    g_monitorDlg.Refresh();
}

void CSVT_SarventoCtlDlg::OnDeleteAllPorts()
{
    if (AfxMessageBox(L"Do you want to delete all ports?", MB_OKCANCEL) != IDOK)
        return;
    if (!ReadLineStatesFor(kDeleteStopped))
        return;
    g_portInfoDlg.DeleteAllPorts();
}

// Fresh line states first: the apply spares the ports that are open now. Without them nothing
// is written, and the edits stay in the list for another try.
void CSVT_SarventoCtlDlg::OnBnClickedApply()
{
    if (!ReadLineStatesFor(kApplyStopped))
        return;
    g_portInfoDlg.ApplySettings();
    ::Sleep(10);
    g_monitorDlg.Refresh();
}

// The list again as the port table holds it: every unsaved edit is dropped.
void CSVT_SarventoCtlDlg::OnBnClickedRevert()
{
    g_portInfoDlg.FillList();
}
