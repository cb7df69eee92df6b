#include "app/PortTable.h"

#include "app/DeviceParamWriter.h"
#include "app/Globals.h"
#include "app/PortSettings.h"

#include <optional>

namespace {

// The highest key number a port can have; COM256 has no subkey.
constexpr UINT kMaxKeyNumber = 255;

// Writes the defaults of one load. The device list is taken on the first default that has to
// be written, and only once: a load that finds every value in place never walks the device tree.
class DefaultWriter {
public:
    void Write(UINT keyNumber, LPCWSTR valueName, DWORD value)
    {
        if (!m_devices)
            m_devices.emplace();
        WritePortSetting(*m_devices, keyNumber, valueName, value);
    }

private:
    std::optional<CDeviceParamWriter> m_devices;
};

// The stored value, or the default, written to the subkey and the device's key when the value
// is missing or has another type than REG_DWORD.
DWORD ReadSetting(DefaultWriter& defaults, UINT keyNumber, LPCWSTR subkey, LPCWSTR valueName, DWORD defaultValue)
{
    DWORD value = 0;
    if (ReadRegDword(subkey, valueName, value))
        return value;
    defaults.Write(keyNumber, valueName, defaultValue);
    return defaultValue;
}

// The port's alias. An empty one is written only when the value is missing: an alias that is
// there but too long to read stays as the user stored it, and notRead says so.
CString ReadAlias(LPCWSTR subkey, LPCWSTR devicePath, bool& notRead)
{
    CString alias;
    notRead = false;
    if (ReadRegString(subkey, kAliasValue, alias))
        return alias;
    if (IsRegValueMissing(subkey, kAliasValue)) {
        WriteRegString(subkey, kAliasValue, L"");
        WriteRegString(devicePath, kAliasValue, L"");
    } else {
        notRead = true;
    }
    return CString();
}

}  // namespace

void LoadPortTable()
{
    // Held for the whole load: a reader on another thread sees the old table or the new one,
    // never one being built. Nothing below sends a message or shows a box.
    CSingleLock lock(&g_portTableLock, TRUE);
    ClearPortTable();
    MapPortDevices();

    DefaultWriter defaults;
    for (UINT n = 1; n <= kMaxKeyNumber; ++n) {
        if (g_presentPortMap[n - 1] == 0)
            continue;
        const CString subkey = PortSubkeyPath(n);
        const CString devicePath = PortDevicePath(n);

        CSVT_ComInfo record;
        record.keyNumber = n;
        record.TxTriggerLevel = ReadSetting(defaults, n, subkey, kTxTriggerLevelValue, kDefaultTxTriggerLevel);
        ReadSetting(defaults, n, subkey, kAliveRxTimerValue, kDefaultAliveRxTimer);
        ReadSetting(defaults, n, subkey, kAliveTxTimerValue, kDefaultAliveTxTimer);
        record.Protocol = ReadSetting(defaults, n, subkey, kProtocolValue, kDefaultProtocol);
        record.IPaddress = ReadSetting(defaults, n, subkey, kIPaddressValue, kDefaultIPaddress);
        record.Port = ReadSetting(defaults, n, subkey, kPortValue, kDefaultPort);
        record.ComPort = ReadSetting(defaults, n, subkey, kComPortValue, g_presentPortMap[n - 1]);
        record.Alias = ReadAlias(subkey, devicePath, record.AliasNotRead);
        g_portTable.Add(record);
    }
}

void ClearPortTable()
{
    CSingleLock lock(&g_portTableLock, TRUE);
    g_portTable.RemoveAll();
    g_portTable.FreeExtra();
}

void RemovePortTableEntry(INT_PTR index)
{
    CSingleLock lock(&g_portTableLock, TRUE);
    g_portTable.RemoveAt(index);
}

INT_PTR PortTableSize()
{
    CSingleLock lock(&g_portTableLock, TRUE);
    return g_portTable.GetSize();
}

INT_PTR FindPortTableEntry(UINT comNumber, CSVT_ComInfo* record)
{
    CSingleLock lock(&g_portTableLock, TRUE);
    for (INT_PTR i = 0; i < g_portTable.GetSize(); ++i) {
        if (g_portTable[i].ComPort == comNumber) {
            *record = g_portTable[i];
            return i;
        }
    }
    return -1;
}

bool GetPortTableEntry(INT_PTR index, CSVT_ComInfo* record)
{
    CSingleLock lock(&g_portTableLock, TRUE);
    if (index < 0 || index >= g_portTable.GetSize())
        return false;
    *record = g_portTable[index];
    return true;
}

int DecrementDeviceCount()
{
    CSingleLock lock(&g_portTableLock, TRUE);
    return --g_deviceCount;
}
