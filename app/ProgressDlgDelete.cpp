// Deleting ports: the two delete workers of the progress dialog, run on the delete thread.
#include "app/ProgressDlg.h"

#include <ddk/msports.h>

#include "app/Globals.h"
#include "app/PortDevice.h"
#include "app/PortDeviceRemover.h"
#include "app/PortSettings.h"
#include "app/PortTable.h"
#include "app/ScopedHandles.h"
#include "contract/DriverInterface.h"

#include <iterator>
#include <vector>

namespace {

// The subkey as the port table holds it, written back when the port's device would not go.
void RestorePortSettings(const CSVT_ComInfo& port)
{
    const CString key = PortSubkeyPath(port.keyNumber);
    WriteRegDword(key, kTxTriggerLevelValue, port.TxTriggerLevel);
    WriteRegDword(key, kAliveRxTimerValue, kDefaultAliveRxTimer);
    WriteRegDword(key, kAliveTxTimerValue, kDefaultAliveTxTimer);
    WriteRegDword(key, kProtocolValue, port.Protocol);
    WriteRegDword(key, kIPaddressValue, port.IPaddress);
    WriteRegDword(key, kPortValue, port.Port);
    WriteRegDword(key, kComPortValue, port.ComPort);
    if (!port.AliasNotRead)
        WriteRegString(key, kAliasValue, port.Alias);
}

// One port's deletion, everything by its key number, which its subkey, its device and its COM
// number share. A port whose device cannot be found is left whole. Otherwise its subkey goes
// first, so that a run cut short leaves either the whole port (its device, which the next load
// gives default settings) or nothing visible; its COM number is released once the device is
// gone, and only then is it counted as deleted. False when the port stays.
bool DeleteOnePort(HCOMDB comDb, PortDeviceRemover& devices, const CSVT_ComInfo& port)
{
    const int key = static_cast<int>(port.keyNumber);
    if (!devices.Has(key))
        return false;
    DeletePortKey(port.keyNumber);
    if (!devices.Remove(key)) {
        RestorePortSettings(port);
        return false;
    }
    ComDBReleasePort(comDb, port.keyNumber);
    const LONG remaining = DecrementDeviceCount();
    // A table loaded without every port device counts fewer ports than the machine has: the
    // stored count is left as it is rather than replaced by a smaller one.
    if (PortTableIsWhole())
        WriteRegDword(SVT_PARAMETERS_KEY, kDeviceCountValue, static_cast<DWORD>(remaining));
    return true;
}

bool OpenComDb(ScopedComDb& comDb)
{
    if (comDb.Open() == ERROR_SUCCESS)
        return true;
    AfxMessageBox(L"ComDBOpen Fail!", MB_OK);
    return false;
}

// Without the list of port devices no port is known to go: nothing is deleted.
bool DevicesListed(const PortDeviceRemover& devices, ScopedComDb& comDb)
{
    if (devices.Listed())
        return true;
    comDb.Close();
    AfxMessageBox(L"The port devices could not be read.\nDeletion process will be stopped", MB_OK);
    return false;
}

}  // namespace

bool CSVT_ProgressDlg::DeleteSelectedPorts()
{
    ScopedComDb comDb;
    if (!OpenComDb(comDb))
        return false;
    PortDeviceRemover devices;
    if (!DevicesListed(devices, comDb))
        return false;

    std::vector<UINT> kept;
    int done = 0;
    for (UINT k = 0; k < g_deletePortRequest.count && k < std::size(g_deletePortRequest.comNumbers); ++k) {
        CSVT_ComInfo port;
        INT_PTR index = FindPortTableEntry(g_deletePortRequest.comNumbers[k], &port);
        if (index < 0)
            continue;
        if (!DeleteOnePort(comDb, devices, port)) {
            kept.push_back(port.keyNumber);
            continue;
        }
        StepProgress(++done, static_cast<int>(port.keyNumber));
        RemovePortTableEntry(index);
    }
    comDb.Close();
    ReportPortsNotRemoved(kept);
    return true;
}

bool CSVT_ProgressDlg::DeleteAllPorts()
{
    ScopedComDb comDb;
    if (!OpenComDb(comDb))
        return false;
    PortDeviceRemover devices;
    if (!DevicesListed(devices, comDb))
        return false;

    // From the last row to the first; the rows stay until the table is cleared at the end.
    std::vector<UINT> kept;
    int done = 0;
    for (INT_PTR index = PortTableSize() - 1; index >= 0; --index) {
        CSVT_ComInfo port;
        if (!GetPortTableEntry(index, &port))
            continue;
        if (DeleteOnePort(comDb, devices, port))
            StepProgress(++done, static_cast<int>(port.keyNumber));
        else
            kept.insert(kept.begin(), port.keyNumber);
    }
    comDb.Close();
    ClearPortTable();
    ReportPortsNotRemoved(kept);
    return true;
}
