// The bus driver: its interface, the plug-in request and the children it presents.
#include <windows.h>

#include <setupapi.h>

#include <gmock/gmock.h>

#include <algorithm>
#include <vector>

#include "DeviceWalk.h"
#include "sim/control/RegKey.h"
#include "tests/support/SimMachine.h"

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

std::vector<std::wstring> InstanceIds()
{
    std::vector<std::wstring> ids;
    for (const PortDevice& device : ListPortDevices())
        ids.push_back(device.instanceId);
    return ids;
}

std::vector<std::wstring> SerialCommPorts()
{
    std::vector<std::pair<std::wstring, std::wstring>> values;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ReadSerialComm(values));
    std::vector<std::wstring> ports;
    for (const auto& value : values)
        ports.push_back(value.second);
    return ports;
}

// Sends the plug-in request with the given input and returns the error (ERROR_SUCCESS).
DWORD SendRawPlugIn(const void* input, DWORD inputLength)
{
    HDEVINFO set =
        SetupDiGetClassDevsW(&GUID_BUS_DRIVER_INTERFACE, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return GetLastError();
    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof(data);
    BYTE detailBuffer[1024] = {};
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(detailBuffer);
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    DWORD error = ERROR_SUCCESS;
    if (!SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_BUS_DRIVER_INTERFACE, 0, &data) ||
        !SetupDiGetDeviceInterfaceDetailW(set, &data, detail, sizeof(detailBuffer), nullptr, nullptr))
        error = GetLastError();
    SetupDiDestroyDeviceInfoList(set);
    if (error != ERROR_SUCCESS)
        return error;
    HANDLE bus = CreateFileW(detail->DevicePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    if (bus == INVALID_HANDLE_VALUE)
        return GetLastError();
    BYTE output[8] = {};
    DWORD returned = 0;
    if (!DeviceIoControl(bus, IOCTL_BUS_PLUGIN_PORT, const_cast<void*>(input), inputLength, output, sizeof(output),
                         &returned, nullptr))
        error = GetLastError();
    CloseHandle(bus);
    return error;
}

}  // namespace

class BusInterface : public SimMachineTest {};

TEST_F(BusInterface, IsFoundAtIndexZeroWithTheProgramsRecordSizesAndOpensShared)
{
    // The program's records have these sizes on 64-bit Windows.
    ASSERT_EQ(32u, sizeof(SP_DEVICE_INTERFACE_DATA));
    ASSERT_EQ(8u, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W));

    HDEVINFO set = SetupDiGetClassDevsW(&GUID_BUS_DRIVER_INTERFACE, nullptr, nullptr, 0x12);
    ASSERT_NE(INVALID_HANDLE_VALUE, set);
    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof(data);
    ASSERT_TRUE(SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_BUS_DRIVER_INTERFACE, 0, &data));
    DWORD required = 0;
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &required, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    std::vector<BYTE> buffer(required);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = 8;
    ASSERT_TRUE(SetupDiGetDeviceInterfaceDetailW(set, &data, detail, required, nullptr, nullptr));
    SetupDiDestroyDeviceInfoList(set);

    // Two handles at once: the device is not exclusive.
    HANDLE first = CreateFileW(detail->DevicePath, 0xC0000000, 3, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE second = CreateFileW(detail->DevicePath, 0xC0000000, 3, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, first);
    EXPECT_NE(INVALID_HANDLE_VALUE, second);
    CloseHandle(first);
    CloseHandle(second);
}

TEST_F(BusInterface, LogsExactlyOnePlugInRequestWithItsRecord)
{
    ASSERT_TRUE(simtest::PlugIn());

    std::vector<simmachine::LoggedRequest> log = simtest::RequestLog();
    ASSERT_EQ(1u, log.size());
    const SimLogRecord& record = log[0].record;
    EXPECT_EQ(L"svtmf3", log[0].driver);
    EXPECT_EQ(IOCTL_BUS_PLUGIN_PORT, record.code);
    EXPECT_EQ(8u, record.inputLength);
    EXPECT_EQ(8u, record.outputLength);
    EXPECT_EQ(0, record.status);
    ASSERT_EQ(8u, record.inputSaved);
    EXPECT_THAT(std::vector<BYTE>(record.input, record.input + 8), ElementsAre(8, 0, 0, 0, 1, 0, 0, 0));
}

TEST_F(BusInterface, RefusesARequestShorterThanTheRecord)
{
    ASSERT_TRUE(simtest::WritePortSubkeys({5}));
    const BYTE shortRecord[4] = {8, 0, 0, 0};

    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), SendRawPlugIn(shortRecord, sizeof(shortRecord)));
    ASSERT_EQ(1u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
}

class PlugIn : public SimMachineTest {};

TEST_F(PlugIn, PresentsAChildForEveryWrittenPortSubkeyAndOnlyThose)
{
    ASSERT_TRUE(simtest::SetComDbClaims({3, 7}));
    ASSERT_TRUE(simtest::WritePortSubkeys({3, 12, 200}));
    // Subkeys that do not name a port from 1 to 255.
    for (const wchar_t* name : {L"0000", L"0256", L"12", L"abcd"}) {
        simmachine::RegKey key;
        ASSERT_EQ(ERROR_SUCCESS,
                  key.Create(HKEY_LOCAL_MACHINE, (std::wstring(SVT_PARAMETERS_KEY) + L"\\" + name).c_str()));
    }

    ASSERT_TRUE(simtest::PlugIn());
    ASSERT_TRUE(simtest::WaitForPorts({3, 12, 200}));

    EXPECT_THAT(InstanceIds(), UnorderedElementsAre(PortInstanceId(3), PortInstanceId(12), PortInstanceId(200)));
    EXPECT_THAT(SerialCommPorts(), UnorderedElementsAre(L"COM3", L"COM12", L"COM200"));
    // Installing a port device claims its number, as Windows' Ports class installer does; the
    // claims there were stay.
    EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(3u, 7u, 12u, 200u));
}

TEST_F(PlugIn, GivesEachChildTheIdentityThePortDevicesHave)
{
    ASSERT_TRUE(simtest::CreatePorts({10}));

    std::vector<PortDevice> devices = ListPortDevices();
    ASSERT_EQ(1u, devices.size());
    EXPECT_EQ(L"SVTMF3\\*PNP0501\\0000000A", devices[0].instanceId);
    EXPECT_EQ(L"Sarvento VCP", devices[0].description);
    ASSERT_TRUE(devices[0].hasFriendlyName);
    EXPECT_EQ(L"Sarvento VCP (COM10)", devices[0].friendlyName);
    EXPECT_EQ(L"svtser3", devices[0].service);
    EXPECT_THAT(devices[0].hardwareIds, ElementsAre(L"SVTMF3\\*PNP0501", L"SVTMF3\\0000000a"));
    EXPECT_THAT(SerialCommPorts(), ElementsAre(L"COM10"));
}

TEST_F(PlugIn, GivesEachChildADeviceParametersKeyThatTheDeviceAndThePathReachAlike)
{
    ASSERT_TRUE(simtest::CreatePorts({10}));

    bool written = false;
    ASSERT_TRUE(WithPortDevice(PortInstanceId(10), [&written](HDEVINFO set, SP_DEVINFO_DATA* device) {
        HKEY key = SetupDiOpenDevRegKey(set, device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_ALL_ACCESS);
        ASSERT_NE(INVALID_HANDLE_VALUE, key);
        DWORD value = 4001;
        written =
            RegSetValueExW(key, L"Port", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
        RegCloseKey(key);
    }));
    ASSERT_TRUE(written);

    simmachine::RegKey byPath;
    ASSERT_EQ(ERROR_SUCCESS,
              byPath.Open(HKEY_LOCAL_MACHINE,
                          L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3\\*PNP0501\\0000000A\\Device Parameters"));
    DWORD port = 0;
    EXPECT_EQ(ERROR_SUCCESS, byPath.ReadDword(L"Port", port));
    EXPECT_EQ(4001u, port);
}

TEST_F(PlugIn, ListsEachChildAmongAllPresentDevicesWithItsComPortInterface)
{
    ASSERT_TRUE(simtest::CreatePorts({10}));

    HDEVINFO all = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
    ASSERT_NE(INVALID_HANDLE_VALUE, all);
    bool listed = false;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(all, i, &device); ++i) {
        wchar_t id[kDeviceIdChars];
        if (SetupDiGetDeviceInstanceIdW(all, &device, id, kDeviceIdChars, nullptr))
            listed = listed || PortInstanceId(10) == id;
    }
    SetupDiDestroyDeviceInfoList(all);
    EXPECT_TRUE(listed);

    bool hasInterface = false;
    ASSERT_TRUE(WithPortDevice(PortInstanceId(10), [&hasInterface](HDEVINFO set, SP_DEVINFO_DATA* port) {
        SP_DEVICE_INTERFACE_DATA data = {};
        data.cbSize = sizeof(data);
        hasInterface = SetupDiEnumDeviceInterfaces(set, port, &GUID_DEVINTERFACE_COMPORT, 0, &data) &&
                       (data.Flags & SPINT_ACTIVE) != 0;
    }));
    EXPECT_TRUE(hasInterface);
}

TEST_F(PlugIn, ARepeatedRequestDuplicatesNothing)
{
    ASSERT_TRUE(simtest::CreatePorts({5}));
    ASSERT_TRUE(simtest::WritePortSubkeys({6}));

    ASSERT_TRUE(simtest::PlugIn());
    ASSERT_TRUE(simtest::PlugIn());
    // Children come in order, so a duplicate of COM5 would be there before COM6.
    ASSERT_TRUE(simtest::WaitForPorts({6}));

    EXPECT_THAT(InstanceIds(), UnorderedElementsAre(PortInstanceId(5), PortInstanceId(6)));
    EXPECT_THAT(SerialCommPorts(), UnorderedElementsAre(L"COM5", L"COM6"));
}

TEST_F(PlugIn, ChildrenAppearAfterTheRequestHasReturned)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_CHILD_DELAY_MS, 300));
    ASSERT_TRUE(simtest::WritePortSubkeys({5}));

    ASSERT_TRUE(simtest::PlugIn());
    EXPECT_FALSE(simtest::IsPortPresent(5));
    EXPECT_TRUE(InstanceIds().empty());

    ASSERT_TRUE(simtest::WaitForPorts({5}));
}

// Below OS version code 53 the program looks for the COM name for about 1.1 s after its request.
TEST_F(PlugIn, OneChildIsInSerialCommWellWithinTheOldWindowsWait)
{
    ASSERT_TRUE(simtest::WritePortSubkeys({7}));
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(simtest::PlugIn());
    ASSERT_TRUE(simtest::WaitForPorts({7}, 1100));
    RecordProperty("ms_to_one_child", static_cast<int>(GetTickCount64() - start));
}

TEST_F(PlugIn, ThirtyTwoChildrenComeFromOneRequest)
{
    std::vector<unsigned> ports;
    for (unsigned n = 20; n < 52; ++n)
        ports.push_back(n);
    ASSERT_TRUE(simtest::WritePortSubkeys(ports));

    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(simtest::PlugIn());
    ASSERT_TRUE(simtest::WaitForPorts(ports));
    const ULONGLONG elapsed = GetTickCount64() - start;
    RecordProperty("ms_to_32_children", static_cast<int>(elapsed));
    std::printf("32 children present %llu ms after the plug-in request\n", elapsed);

    EXPECT_EQ(32u, ListPortDevices().size());
    EXPECT_EQ(1u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
}

TEST_F(PlugIn, APortWhoseSubkeyGoesBeforeItsChildAppearsGetsNoChild)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_CHILD_DELAY_MS, 200));
    ASSERT_TRUE(simtest::WritePortSubkeys({5, 6}));
    ASSERT_TRUE(simtest::PlugIn());
    ASSERT_EQ(ERROR_SUCCESS,
              simmachine::DeleteKeyTree(HKEY_LOCAL_MACHINE, (std::wstring(SVT_PARAMETERS_KEY) + L"\\0005").c_str()));

    ASSERT_TRUE(simtest::WaitForPorts({6}));
    EXPECT_THAT(InstanceIds(), ElementsAre(PortInstanceId(6)));
}
