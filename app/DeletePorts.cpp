// Deleting ports: the two delete workers of the progress dialog, run on the delete thread, and
// the removal of one port device.
#include "app/ProgressDlg.h"

#include <ddk/msports.h>

#include "app/Globals.h"
#include "app/PortDevice.h"
#include "app/PortSettings.h"
#include "app/PortTable.h"
#include "contract/DriverInterface.h"

namespace {

// One port's deletion, in the order the driver and the database expect: the count first, then
// the device, its COM number and its settings, then the bar.
void DeleteOnePort(HCOMDB comDb, PortDeviceRemover& devices, const CSVT_ComInfo& port, int done,
                   CSVT_ProgressDlg* dlg)
{
    LONG remaining = DecrementDeviceCount();
    WriteRegDword(SVT_PARAMETERS_KEY, L"DeviceCount", static_cast<DWORD>(remaining));
    devices.Remove(static_cast<int>(port.ComPort));
    ComDBReleasePort(comDb, port.ComPort);
    DeletePortKey(port.keyNumber);
    dlg->StepProgress(done, static_cast<int>(port.ComPort));
}

bool OpenComDb(HCOMDB* comDb)
{
    if (ComDBOpen(comDb) == ERROR_SUCCESS)
        return true;
    AfxMessageBox(L"ComDBOpen Fail!", MB_OK);
    return false;
}

}  // namespace

bool CSVT_ProgressDlg::DeleteSelectedPorts()
{
    HCOMDB comDb = nullptr;
    if (!OpenComDb(&comDb))
        return false;

    PortDeviceRemover devices;
    int done = 0;
    for (UINT k = 0; k < g_deletePortRequest.count && k < 256; ++k) {
        CSVT_ComInfo port;
        int index = FindPortTableEntry(g_deletePortRequest.comNumbers[k], &port);
        if (index < 0)
            continue;
        DeleteOnePort(comDb, devices, port, ++done, this);
        RemovePortTableEntry(index);
    }
    ComDBClose(comDb);
    return true;
}

bool CSVT_ProgressDlg::DeleteAllPorts()
{
    HCOMDB comDb = nullptr;
    if (!OpenComDb(&comDb))
        return false;

    // From the last row to the first; the rows stay until the table is cleared at the end.
    PortDeviceRemover devices;
    int done = 0;
    for (int index = static_cast<int>(PortTableSize()) - 1; index >= 0; --index) {
        CSVT_ComInfo port;
        if (!GetPortTableEntry(index, &port))
            continue;
        DeleteOnePort(comDb, devices, port, ++done, this);
    }
    ComDBClose(comDb);
    ClearPortTable();
    return true;
}

PortDeviceRemover::PortDeviceRemover() : m_set(GetPresentComPortDevices())
{
    if (m_set == INVALID_HANDLE_VALUE)
        return;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(m_set, index, &device); ++index) {
        DeviceText description;
        if (!ReadDeviceText(m_set, &device, SPDRP_DEVICEDESC, description) || !IsPortDeviceDescription(description))
            continue;
        Candidate candidate{device, CString(), false};
        DeviceText friendly;
        if (ReadDeviceText(m_set, &device, SPDRP_FRIENDLYNAME, friendly)) {
            candidate.lowerName = friendly;
            candidate.lowerName.MakeLower();
        } else {
            // A port device whose name cannot be read ends every search: the ones after it are
            // never looked at.
            m_candidates.push_back(candidate);
            m_candidates.back().unreadable = true;
            break;
        }
        m_candidates.push_back(candidate);
    }
}

PortDeviceRemover::~PortDeviceRemover()
{
    if (m_set != INVALID_HANDLE_VALUE)
        SetupDiDestroyDeviceInfoList(m_set);
}

bool PortDeviceRemover::Remove(int comNumber)
{
    CString spaced, unspaced;
    spaced.Format(L"sarvento vcp (com%d)", comNumber);
    unspaced.Format(L"sarvento vcp(com%d)", comNumber);
    for (Candidate& candidate : m_candidates) {
        if (candidate.unreadable)
            return false;
        if (candidate.removed || (candidate.lowerName != spaced && candidate.lowerName != unspaced))
            continue;
        candidate.removed = true;
        return SetupDiRemoveDevice(m_set, &candidate.device) != FALSE;
    }
    return false;
}

void RemoveDeviceByComNumber(int comNumber) { PortDeviceRemover().Remove(comNumber); }
