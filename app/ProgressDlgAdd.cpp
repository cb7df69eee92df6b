// The two add workers of the progress dialog. They run on the user-interface thread inside its
// timer ticks.
#include "app/ProgressDlg.h"

#include "app/ComUsage.h"
#include "app/Globals.h"
#include "app/PortDeviceCreation.h"
#include "app/PortSettings.h"
#include "app/Trace.h"

namespace {

// The eight values of a new port in the order of the old-Windows road, where the driver may
// read them as they come.
void WriteOldRoadValues(const CString& key, const AddPortRequest& request, int comNumber, DWORD tcpPort)
{
    WriteRegString(key, kAliasValue, request.alias);
    WriteRegDword(key, kComPortValue, static_cast<DWORD>(comNumber));
    WriteRegDword(key, kIPaddressValue, request.ipAddress);
    WriteRegDword(key, kPortValue, tcpPort);
    WriteRegDword(key, kProtocolValue, request.protocol);
    WriteRegDword(key, kTxTriggerLevelValue, request.txTriggerLevel);
    WriteRegDword(key, kAliveRxTimerValue, kDefaultAliveRxTimer);
    WriteRegDword(key, kAliveTxTimerValue, kDefaultAliveTxTimer);
}

}  // namespace

void CSVT_ProgressDlg::AddAllPorts(AddPortRequest& request)
{
    UINT current = request.startCom;
    for (UINT i = 0; i < request.count; ++i) {
        UINT com = current < 1 ? 1 : current;
        while (com <= 255 && g_comUsageMap[com - 1] != COMUSE_FREE)
            ++com;
        if (com > 255)
            return;  // no free number left: nothing is plugged in, the poll waits for the user
        g_comUsageMap[com - 1] = COMUSE_PRESENT;

        const CString key = PortSubkeyPath(com);
        WriteRegString(key, kAliasValue, request.alias);
        WriteRegDword(key, kComPortValue, com);
        WriteRegDword(key, kIPaddressValue, request.ipAddress);
        WriteRegDword(key, kPortValue, request.firstTcpPort + i);
        WriteRegDword(key, kProtocolValue, request.protocol);
        WriteRegDword(key, kAliveRxTimerValue, kDefaultAliveRxTimer);
        WriteRegDword(key, kAliveTxTimerValue, kDefaultAliveTxTimer);
        WriteRegDword(key, kTxTriggerLevelValue, request.txTriggerLevel);
        m_written.push_back(static_cast<int>(com));
        current = com + 1;
    }
    // One request presents every port written above; a refused one presents none of them.
    if (!AddPortDevice(&g_osVersion, static_cast<int>(current))) {
        RemoveUnplacedPorts(true);
        OnOK();
    }
}

bool CSVT_ProgressDlg::AddNextPort(AddPortRequest& request)
{
    while (m_nextCom < 1 || (m_nextCom <= 255 && g_comUsageMap[m_nextCom - 1] != COMUSE_FREE))
        ++m_nextCom;
    if (m_nextCom > 255) {
        OnOK();
        return false;
    }

    const DWORD tcpPort = request.firstTcpPort + static_cast<DWORD>(m_portsAdded);
    WriteOldRoadValues(PortSubkeyPath(static_cast<UINT>(m_nextCom)), request, m_nextCom, tcpPort);
    if (m_written.empty() || m_written.back() != m_nextCom)
        m_written.push_back(m_nextCom);
    const bool accepted = AddPortDevice(&g_osVersion, m_nextCom) != 0;
    if (!accepted)
        OnOK();

    // The port driver publishes the COM name once it runs on the new child.
    bool appeared = IsComInSerialcomm(m_nextCom);
    for (int look = 1; !appeared && look < 12; ++look) {
        Sleep(100);
        appeared = IsComInSerialcomm(m_nextCom);
    }
    if (!appeared) {
        Sleep(100);
        // A refused request brings no port: its settings go. Otherwise the next tick tries the
        // same number again.
        if (!accepted)
            RemoveUnplacedPorts(true);
        return false;
    }

    WriteOldRoadValues(PortDevicePath(static_cast<UINT>(m_nextCom)), request, m_nextCom, tcpPort);
    m_written.pop_back();  // the port is there: its settings are its own now
    g_comUsageMap[m_nextCom - 1] = COMUSE_PRESENT;
    ++m_portsAdded;
    ++m_nextCom;
    return true;
}

void CSVT_ProgressDlg::RemoveUnplacedPorts(bool unconditionally)
{
    if (m_written.empty() || (!unconditionally && !MapPortDevices()))
        return;
    for (int com : m_written) {
        if (unconditionally || g_presentPortMap[com - 1] == 0)
            DeletePortKey(static_cast<UINT>(com));
    }
    m_written.clear();
}

bool IsComInSerialcomm(int comNumber)
{
    ScopedRegKey key;
    const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSerialCommKey, 0, KEY_READ, key.Receive());
    if (opened != ERROR_SUCCESS) {
        TRACE_FAILURE(L"RegOpenKeyExW(SERIALCOMM)", opened);
        return false;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[260];
        wchar_t data[130 + 1] = {};  // 260 bytes of data and a terminator of our own
        DWORD nameLength = 260;
        DWORD dataSize = 260;
        DWORD type = 0;
        LONG status =
            RegEnumValueW(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        if (ParseComNumber(data) == comNumber)
            return true;
    }
    return false;
}
