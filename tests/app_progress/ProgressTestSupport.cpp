#include "tests/app_progress/ProgressTestSupport.h"

#include "app/PortTable.h"
#include "contract/DriverInterface.h"

namespace progresstest {

long long ReadDword(const std::wstring& path, const wchar_t* name)
{
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -1;
    return value;
}

bool KeyExists(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::wstring PortKey(unsigned comNumber)
{
    wchar_t path[128];
    _snwprintf(path, 128, L"%s\\%04u", SVT_PARAMETERS_KEY, comNumber);
    return path;
}

std::wstring DeviceParamsKey(unsigned comNumber)
{
    wchar_t path[160];
    _snwprintf(path, 160, L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3\\*PNP0501\\%08X\\Device Parameters", comNumber);
    return path;
}

void ProgressDialogTest::SetUp()
{
    SimMachineTest::SetUp();
    savedOsVersion = g_osVersion;
    g_addPortRequest = AddPortRequest();
    g_deletePortRequest = DeletePortRequest();
    ClearPortTable();
}

void ProgressDialogTest::TearDown()
{
    g_osVersion = savedOsVersion;
    ClearPortTable();
}

std::vector<std::wstring> ProgressDialogTest::BoxTexts() const
{
    std::vector<std::wstring> texts;
    for (const auto& box : harness.MessageBoxes())
        texts.push_back(box.text);
    return texts;
}

}  // namespace progresstest
