#include "app/PortTable.h"

#include "app/DeviceParamWriter.h"
#include "app/Globals.h"
#include "app/PortSettings.h"
#include "app/RegKeyTree.h"
#include "app/ScopedHandles.h"
#include "framework/msgbox.h"

#include <optional>

namespace {

// The highest key number a port can have; COM256 has no subkey.
constexpr UINT kMaxKeyNumber = 255;

// What the last load returned; under g_portTableLock.
bool g_loadReadEveryDevice = true;

// A port's subkey during a load: opened once, for the values the load reads from it and for the
// defaults it writes there, instead of once per value. The reads give what one ReadRegDword per
// value gives: a default written in between adds only a value that was read already. The subkey
// is opened as itself: one that is a link to another key is not a port's, and the load skips it
// rather than read or write that other key. A subkey this user may read but not write is read
// all the same; a missing one is made by the first default written.
class PortSubkey {
public:
    explicit PortSubkey(UINT keyNumber) : m_path(PortSubkeyPath(keyNumber))
    {
        m_opened = OpenRegKeyUnlinked(HKEY_LOCAL_MACHINE, m_path, KEY_READ | KEY_SET_VALUE, m_key.Receive(), m_isLink);
        m_writable = m_key != nullptr;
        if (m_opened == ERROR_ACCESS_DENIED)
            m_opened = OpenRegKeyUnlinked(HKEY_LOCAL_MACHINE, m_path, KEY_READ, m_key.Receive(), m_isLink);
    }

    bool IsLink() const { return m_isLink; }

    int ReadDword(LPCWSTR valueName, DWORD& value)
    {
        value = 0;
        return m_key != nullptr ? QueryRegDword(m_key, valueName, value) : 0;
    }
    // As ReadRegString reads it: the key's 32-bit view is this same key (the SYSTEM hive is
    // shared by both views), so one look through the open key tells all. The result is the
    // query's, or the open's when the subkey did not open: ERROR_FILE_NOT_FOUND means missing.
    LONG ReadString(LPCWSTR valueName, CString& text)
    {
        return m_key != nullptr ? QueryRegString(m_key, valueName, text) : m_opened;
    }
    // WriteRegDword and WriteRegString: a subkey that is not there is created on the first write.
    void WriteDword(LPCWSTR valueName, DWORD value)
    {
        if (OpenForWrite())
            ::RegSetValueExW(m_key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }
    void WriteString(LPCWSTR valueName, LPCWSTR text)
    {
        if (OpenForWrite())
            SetRegString(m_key, valueName, text);
    }

private:
    bool OpenForWrite()
    {
        if (m_writable)
            return true;
        // Not there, or not writable as opened: created, or opened for all access, as
        // WriteRegDword does; the key read so far is the same key.
        HKEY hKey = nullptr;
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              &hKey, nullptr) != ERROR_SUCCESS)
            return false;
        *m_key.Receive() = hKey;
        m_writable = true;
        return true;
    }

    CString m_path;
    ScopedRegKey m_key;
    LONG m_opened = ERROR_FILE_NOT_FOUND;
    bool m_isLink = false;
    bool m_writable = false;
};

// Writes the defaults of one load, each to the subkey and to the device's key, as
// WritePortSetting does. The device list is taken on the first default that has to be written,
// and only once: a load that finds every value in place never walks the device tree.
class DefaultWriter {
public:
    void Write(PortSubkey& subkey, UINT keyNumber, LPCWSTR valueName, DWORD value)
    {
        subkey.WriteDword(valueName, value);
        if (!m_devices)
            m_devices.emplace();
        m_devices->WriteDword(keyNumber, valueName, value);
    }

private:
    std::optional<CDeviceParamWriter> m_devices;
};

// The stored value, or the default, written to the subkey and the device's key when the value
// is missing or has another type than REG_DWORD.
DWORD ReadSetting(DefaultWriter& defaults, PortSubkey& subkey, UINT keyNumber, LPCWSTR valueName, DWORD defaultValue)
{
    DWORD value = 0;
    if (subkey.ReadDword(valueName, value))
        return value;
    defaults.Write(subkey, keyNumber, valueName, defaultValue);
    return defaultValue;
}

// The port's alias. An empty one is written only when the value is missing: an alias that is
// there but too long to read stays as the user stored it, and notRead says so.
CString ReadAlias(PortSubkey& subkey, UINT keyNumber, bool& notRead)
{
    CString alias;
    notRead = false;
    const LONG read = subkey.ReadString(kAliasValue, alias);
    if (read == ERROR_SUCCESS)
        return alias;
    if (read == ERROR_FILE_NOT_FOUND) {
        subkey.WriteString(kAliasValue, L"");
        WriteDeviceParamString(keyNumber, kAliasValue, L"");
    } else {
        notRead = true;
    }
    return CString();
}

}  // namespace

bool LoadPortTable()
{
    // Held for the whole load: a reader on another thread sees the old table or the new one,
    // never one being built. Nothing below sends a message or shows a box.
    CSingleLock lock(&g_portTableLock, TRUE);
    ClearPortTable();
    // A walk that did not see every port device still loads the ports it found: each of them is
    // present, so its defaults are as due as after a whole walk.
    const bool devicesRead = MapPortDevices();
    g_loadReadEveryDevice = devicesRead;

    DefaultWriter defaults;
    for (UINT n = 1; n <= kMaxKeyNumber; ++n) {
        if (g_presentPortMap[n - 1] == 0)
            continue;
        PortSubkey subkey(n);
        if (subkey.IsLink())
            continue;

        CSVT_ComInfo record;
        record.keyNumber = n;
        record.TxTriggerLevel = ReadSetting(defaults, subkey, n, kTxTriggerLevelValue, kDefaultTxTriggerLevel);
        ReadSetting(defaults, subkey, n, kAliveRxTimerValue, kDefaultAliveRxTimer);
        ReadSetting(defaults, subkey, n, kAliveTxTimerValue, kDefaultAliveTxTimer);
        record.Protocol = ReadSetting(defaults, subkey, n, kProtocolValue, kDefaultProtocol);
        record.IPaddress = ReadSetting(defaults, subkey, n, kIPaddressValue, kDefaultIPaddress);
        record.Port = ReadSetting(defaults, subkey, n, kPortValue, kDefaultPort);
        record.ComPort = ReadSetting(defaults, subkey, n, kComPortValue, g_presentPortMap[n - 1]);
        record.Alias = ReadAlias(subkey, n, record.AliasNotRead);
        g_portTable.Add(record);
    }
    return devicesRead;
}

void ReportPortDevicesNotRead()
{
    AfxMessageBox(L"The port devices could not be read.\nThe port list may not show every port", MB_OK);
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

INT_PTR FindPortTableEntry(UINT keyNumber, CSVT_ComInfo* record)
{
    CSingleLock lock(&g_portTableLock, TRUE);
    for (INT_PTR i = 0; i < g_portTable.GetSize(); ++i) {
        if (g_portTable[i].keyNumber == keyNumber) {
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

bool PortTableIsWhole()
{
    CSingleLock lock(&g_portTableLock, TRUE);
    return g_loadReadEveryDevice;
}
