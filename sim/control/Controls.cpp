// Controls, the machine reset and the drivers' request log.
#include "sim/control/Machine.h"

#include <algorithm>

#include "contract/DriverInterface.h"
#include "sim/control/RegKey.h"

namespace simmachine {

namespace {

// Sends one of the drivers' private requests (no buffers).
DWORD SendSimRequest(const wchar_t* devicePath, DWORD code)
{
    HANDLE device = CreateFileW(devicePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD returned = 0;
    DWORD result =
        DeviceIoControl(device, code, nullptr, 0, nullptr, 0, &returned, nullptr) ? ERROR_SUCCESS : GetLastError();
    CloseHandle(device);
    return result;
}

DWORD FirstError(DWORD first, DWORD next)
{
    return first != ERROR_SUCCESS ? first : next;
}

// Wine's serial ports as Wine publishes them when it starts: for each COM DOS device, a value
// named after the device it stands for, whose data is the COM name. The bus driver's ports
// have no DOS device.
DWORD PublishWineSerialPorts(simmachine::RegKey& serialComm)
{
    DWORD result = ERROR_SUCCESS;
    for (unsigned n = 1; n <= 256; ++n) {
        const std::wstring comName = L"COM" + std::to_wstring(n);
        wchar_t device[MAX_PATH];
        if (QueryDosDeviceW(comName.c_str(), device, MAX_PATH) == 0)
            continue;
        result = FirstError(result, static_cast<DWORD>(serialComm.WriteString(device, comName)));
    }
    return result;
}

}  // namespace

DWORD SetControl(const wchar_t* name, DWORD value)
{
    RegKey key;
    LONG result = key.Create(HKEY_LOCAL_MACHINE, SIM_CONTROLS_KEY);
    if (result == ERROR_SUCCESS)
        result = key.WriteDword(name, value);
    if (result != ERROR_SUCCESS)
        return static_cast<DWORD>(result);
    return ApplyControls();
}

DWORD ClearControl(const wchar_t* name)
{
    RegKey key;
    LONG result = key.Open(HKEY_LOCAL_MACHINE, SIM_CONTROLS_KEY, KEY_READ | KEY_WRITE);
    if (result == ERROR_SUCCESS)
        result = key.DeleteValue(name);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        return static_cast<DWORD>(result);
    return ApplyControls();
}

DWORD ClearControls()
{
    LONG result = DeleteKeyTree(HKEY_LOCAL_MACHINE, SIM_CONTROLS_KEY);
    if (result != ERROR_SUCCESS)
        return static_cast<DWORD>(result);
    return ApplyControls();
}

DWORD ReadControls(std::vector<std::pair<std::wstring, DWORD>>& controls)
{
    controls.clear();
    RegKey key;
    LONG result = key.Open(HKEY_LOCAL_MACHINE, SIM_CONTROLS_KEY);
    if (result == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    std::vector<std::wstring> names;
    if (result == ERROR_SUCCESS)
        result = key.ValueNames(names);
    if (result != ERROR_SUCCESS)
        return static_cast<DWORD>(result);
    for (const std::wstring& name : names) {
        DWORD value = 0;
        if (key.ReadDword(name.c_str(), value) == ERROR_SUCCESS)
            controls.emplace_back(name, value);
    }
    return ERROR_SUCCESS;
}

DWORD ApplyControls()
{
    DWORD result = SendSimRequest(SIM_BUS_CONTROL_DEVICE_PATH, SIM_IOCTL_APPLY_CONTROLS);
    return FirstError(result, SendSimRequest(SIM_PORT_CONTROL_DEVICE_PATH, SIM_IOCTL_APPLY_CONTROLS));
}

DWORD ResetMachine(WineSerialPorts wineSerialPorts)
{
    // Controls first, so that the drivers show their devices again.
    DWORD result = static_cast<DWORD>(DeleteKeyTree(HKEY_LOCAL_MACHINE, SIM_CONTROLS_KEY));
    result = FirstError(result, SendSimRequest(SIM_BUS_CONTROL_DEVICE_PATH, SIM_IOCTL_RESET));
    result = FirstError(result, SendSimRequest(SIM_PORT_CONTROL_DEVICE_PATH, SIM_IOCTL_APPLY_CONTROLS));
    result = FirstError(result, static_cast<DWORD>(DeleteKeyTree(HKEY_LOCAL_MACHINE, SVT_PARAMETERS_KEY)));
    RegKey parameters;
    result = FirstError(result, static_cast<DWORD>(parameters.Create(HKEY_LOCAL_MACHINE, SVT_PARAMETERS_KEY)));
    parameters.Close();

    RegKey serialComm;
    std::vector<std::wstring> names;
    LONG opened = serialComm.Open(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", KEY_READ | KEY_WRITE);
    if (opened == ERROR_SUCCESS) {
        result = FirstError(result, static_cast<DWORD>(serialComm.ValueNames(names)));
        for (const std::wstring& name : names)
            result = FirstError(result, static_cast<DWORD>(serialComm.DeleteValue(name.c_str())));
        if (wineSerialPorts == WineSerialPorts::Keep)
            result = FirstError(result, PublishWineSerialPorts(serialComm));
    } else if (opened != ERROR_FILE_NOT_FOUND) {
        result = FirstError(result, static_cast<DWORD>(opened));
    }

    RegKey comDb;
    opened = comDb.Open(HKEY_LOCAL_MACHINE, SIM_COMDB_KEY, KEY_READ | KEY_WRITE);
    if (opened == ERROR_SUCCESS) {
        LONG deleted = comDb.DeleteValue(SIM_COMDB_VALUE);
        if (deleted != ERROR_FILE_NOT_FOUND)
            result = FirstError(result, static_cast<DWORD>(deleted));
    } else if (opened != ERROR_FILE_NOT_FOUND) {
        result = FirstError(result, static_cast<DWORD>(opened));
    }

    result = FirstError(result, static_cast<DWORD>(DeleteKeyTree(HKEY_LOCAL_MACHINE, SIM_LINE_STATES_KEY)));
    return FirstError(result, ClearRequestLog());
}

DWORD ReadRequestLog(std::vector<LoggedRequest>& log)
{
    log.clear();
    const LONG result =
        ReadSubkeyValues(HKEY_LOCAL_MACHINE, SIM_LOG_KEY,
                         [&log](const std::wstring& driver, const std::wstring&, const std::vector<BYTE>& data) {
                             if (data.size() != sizeof(SimLogRecord))
                                 return;
                             LoggedRequest entry;
                             entry.driver = driver;
                             memcpy(&entry.record, data.data(), sizeof(SimLogRecord));
                             log.push_back(entry);
                         });
    if (result != ERROR_SUCCESS)
        return static_cast<DWORD>(result);
    std::stable_sort(log.begin(), log.end(), [](const LoggedRequest& a, const LoggedRequest& b) {
        if (a.record.time != b.record.time)
            return a.record.time < b.record.time;
        if (a.driver != b.driver)
            return a.driver < b.driver;
        return a.record.sequence < b.record.sequence;
    });
    return ERROR_SUCCESS;
}

DWORD ClearRequestLog()
{
    DWORD result = static_cast<DWORD>(DeleteKeyTree(HKEY_LOCAL_MACHINE, SIM_LOG_KEY));
    return FirstError(result, static_cast<DWORD>(DeleteKeyTree(HKEY_LOCAL_MACHINE, SIM_CALL_LOG_KEY)));
}

std::wstring ErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    DWORD chars =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message;
    if (chars != 0 && text != nullptr)
        message.assign(text, chars);
    if (text != nullptr)
        LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    if (message.empty())
        message = L"error " + std::to_wstring(error);
    return message;
}

}  // namespace simmachine
