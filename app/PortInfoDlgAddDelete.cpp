// The flows of the port list that change the set of ports. Each sets g_portOperation (and for
// a selective delete g_deletePortRequest), runs the progress dialog modally and reloads the port
// table and the list only when the dialog ends with IDOK.
#include "app/PortInfoDlg.h"

#include "app/ComInstConfDlg.h"
#include "app/Globals.h"
#include "app/PortOperation.h"
#include "app/ProgressDlg.h"
#include "app/StatusDevice.h"

namespace {

const wchar_t kPortInUseMessage[] = L"There is a serial port in use currently.\nDeletion process will be stopped";

}  // namespace

void CSVT_PortInfoDlg::AddPorts()
{
    {
        CSVT_ComInstConfDlg dlg;
        if (dlg.DoModal() != IDOK)
            return;
    }
    g_portOperation = PORTOP_ADD;
    if (!RunProgressDialog())
        return;
    Reload();
    // A second's pause on this thread before the caller goes on with the new ports.
    ::Sleep(1000);
}

// Each selected row names its port by the key number it was filled with, whatever order the
// list shows: a stored ComPort that names another number is not the port's (its subkey, device
// and COM number all carry the key number).
void CSVT_PortInfoDlg::DeleteSelectedPorts()
{
    g_portOperation = PORTOP_DELETE_SELECTED;
    g_deletePortRequest = DeletePortRequest();
    for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row != -1; row = m_list.GetNextItem(row, LVNI_SELECTED)) {
        const int com = RowKeyNumber(row);
        if (com < 1 || com > kMaxPortComNumber)
            continue;
        if (IsPortOpen(com)) {
            AfxMessageBox(kPortInUseMessage, MB_OK);
            return;
        }
        if (g_deletePortRequest.count <
            sizeof(g_deletePortRequest.comNumbers) / sizeof(g_deletePortRequest.comNumbers[0]))
            g_deletePortRequest.comNumbers[g_deletePortRequest.count++] = static_cast<UINT>(com);
    }
    if (RunProgressDialog())
        Reload();
}

// Every COM number counts, not only those in the list: the driver knows of no other ports, so
// an open one is one of ours that the list may not show yet.
void CSVT_PortInfoDlg::DeleteAllPorts()
{
    for (int com = 1; com <= kMaxPortComNumber; ++com) {
        if (IsPortOpen(com)) {
            AfxMessageBox(kPortInUseMessage, MB_OK);
            return;
        }
    }
    g_portOperation = PORTOP_DELETE_ALL;
    if (RunProgressDialog())
        Reload();
}

bool CSVT_PortInfoDlg::RunProgressDialog()
{
    CSVT_ProgressDlg dlg;
    return dlg.DoModal() == IDOK;
}
