// Loading the port table from the simulated machine's present ports and their subkeys, and
// the table's changes.
#include "app/Globals.h"
#include "app/PortSettings.h"
#include "app/PortTable.h"
#include "app/RegKeyTree.h"

#include "RegistryHelpers.h"
#include "StoreTestSupport.h"
#include "tests/support/SimMachine.h"
#include "tests/support/SimOddPorts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

class PortTable : public StoreTest {
protected:
    void TearDown() override
    {
        ClearPortTable();
        StoreTest::TearDown();
    }

    static std::wstring Subkey(unsigned n) { return std::wstring(PortSubkeyPath(n)); }
    static std::wstring DeviceParameters(unsigned n) { return std::wstring(PortDevicePath(n)); }

    // Subkeys as a port device of the bus driver gets them, without any value.
    static void EmptySubkey(unsigned n)
    {
        ASSERT_TRUE(regtest::DeleteTree(Subkey(n)));
        ASSERT_TRUE(regtest::CreateKey(Subkey(n)));
    }

    static std::vector<UINT> KeyNumbers()
    {
        std::vector<UINT> keys;
        for (INT_PTR i = 0; i < g_portTable.GetSize(); ++i)
            keys.push_back(g_portTable[i].keyNumber);
        return keys;
    }
};

struct NamedDword {
    const wchar_t* name;
    DWORD value;
};

// As many rebuilds as the monitor would see in a long session.
constexpr int kReloads = 1000;

const NamedDword kDefaultDwords[] = {
    {L"TxTriggerLevel", 255}, {L"AliveRxTimer", 7000}, {L"AliveTxTimer", 2500},
    {L"Protocol", 0},         {L"IPaddress", 0},       {L"Port", 4001},
};

}  // namespace

TEST_F(PortTable, NoPresentPortLoadsNothingAndTouchesNoSubkey)
{
    ASSERT_TRUE(simtest::WritePortSubkeys({3}));
    EmptySubkey(3);
    const std::wstring before = regtest::Snapshot(SVT_PARAMETERS_KEY);
    CSVT_ComInfo stale;
    stale.keyNumber = 1;
    g_portTable.Add(stale);

    EXPECT_TRUE(LoadPortTable());

    EXPECT_EQ(0, g_portTable.GetSize());
    EXPECT_EQ(before, regtest::Snapshot(SVT_PARAMETERS_KEY));
}

// Without the device list no port is known to be present: the table is empty, nothing is written,
// and the load says it could not read the devices.
TEST_F(PortTable, WithoutTheDeviceListNothingIsLoadedOrWrittenAndTheLoadSaysSo)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    EmptySubkey(3);
    const auto ports = [] {
        return regtest::Snapshot(SVT_PARAMETERS_KEY) + regtest::Snapshot(L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3");
    };
    const std::wstring before = ports();
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_DEVICE_LIST_FAILS));

    const bool read = LoadPortTable();

    ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_DEVICE_LIST_FAILS));
    EXPECT_FALSE(read);
    EXPECT_EQ(0, g_portTable.GetSize());
    EXPECT_EQ(before, ports());
}

// The bus driver names a port device's instance after its key number: a port whose friendly name
// cannot be read is loaded by it, with its defaults, and the walk goes on to the ports after it.
TEST_F(PortTable, APortDeviceWithoutAReadableNameIsLoadedByItsInstance)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4}));
    ASSERT_TRUE(simtest::DeletePortDeviceValue(2, L"FriendlyName"));
    ASSERT_TRUE(regtest::DeleteTree(Subkey(2)));

    EXPECT_TRUE(LoadPortTable());

    EXPECT_EQ(std::vector<UINT>({2, 4}), KeyNumbers());
    EXPECT_EQ(2u, regtest::GetValue(Subkey(2), L"ComPort").AsDword());
}

TEST_F(PortTable, OnlyPortsWithAPresentDeviceAreLoadedAndTheOthersStayUntouched)
{
    ASSERT_TRUE(simtest::CreatePorts({5}));
    ASSERT_TRUE(simtest::WritePortSubkeys({3}));
    EmptySubkey(3);
    const std::wstring port3 = regtest::Snapshot(Subkey(3));

    LoadPortTable();

    EXPECT_EQ(std::vector<UINT>({5}), KeyNumbers());
    EXPECT_EQ(port3, regtest::Snapshot(Subkey(3)));
}

TEST_F(PortTable, APresentPortWithoutSubkeyGetsEveryDefaultInItsSubkeyAndDeviceKey)
{
    ASSERT_TRUE(simtest::CreatePorts({7}));
    ASSERT_TRUE(regtest::DeleteTree(Subkey(7)));

    LoadPortTable();

    ASSERT_EQ(1, g_portTable.GetSize());
    const CSVT_ComInfo& record = g_portTable[0];
    EXPECT_EQ(7u, record.keyNumber);
    EXPECT_EQ(7u, record.ComPort);
    EXPECT_EQ(0u, record.IPaddress);
    EXPECT_EQ(255u, record.TxTriggerLevel);
    EXPECT_EQ(4001u, record.Port);
    EXPECT_EQ(0u, record.Protocol);
    EXPECT_EQ(CString(L""), record.Alias);

    for (const std::wstring& key : {Subkey(7), DeviceParameters(7)}) {
        for (const NamedDword& value : kDefaultDwords) {
            const regtest::RawValue stored = regtest::GetValue(key, value.name);
            EXPECT_EQ(static_cast<DWORD>(REG_DWORD), stored.type) << value.name;
            EXPECT_EQ(value.value, stored.AsDword()) << value.name;
        }
        EXPECT_EQ(7u, regtest::GetValue(key, L"ComPort").AsDword());
        const regtest::RawValue alias = regtest::GetValue(key, L"Alias");
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), alias.type);
        EXPECT_EQ(2u, alias.data.size());
    }
}

// A load reads each port's subkey through one open key and writes its defaults through one
// device list: the records and the registry come out as with one open and one device walk per
// value.
TEST_F(PortTable, OneKeyAndOneDeviceListPerLoadGiveWhatOneOfEachPerValueWould)
{
    // Instance 3 calls itself COM4, ahead of instance 4; instance 5 has no Device Parameters key.
    // Port 2 keeps two values and one of the wrong type, port 4 its alias.
    ASSERT_TRUE(simtest::CreatePorts({2, 3, 4, 5}));
    ASSERT_TRUE(simtest::SetPortDeviceText(3, L"FriendlyName", L"Sarvento VCP (COM4)"));
    auto arrange = [] {
        for (unsigned n : {2u, 3u, 4u, 5u})
            EmptySubkey(n);
        ASSERT_TRUE(regtest::SetDword(Subkey(2), L"TxTriggerLevel", 9));
        ASSERT_TRUE(regtest::SetText(Subkey(2), L"Protocol", L"1"));
        ASSERT_TRUE(regtest::SetDword(Subkey(2), L"Port", 5000));
        ASSERT_TRUE(regtest::SetText(Subkey(4), L"Alias", L"kept"));
        for (unsigned n : {2u, 3u, 4u}) {
            for (const wchar_t* name : {L"TxTriggerLevel", L"AliveRxTimer", L"AliveTxTimer", L"Protocol", L"IPaddress",
                                        L"Port", L"ComPort", L"Alias"}) {
                HKEY hKey = nullptr;
                ASSERT_EQ(ERROR_SUCCESS,
                          RegOpenKeyExW(HKEY_LOCAL_MACHINE, DeviceParameters(n).c_str(), 0, KEY_SET_VALUE, &hKey));
                RegDeleteValueW(hKey, name);
                RegCloseKey(hKey);
            }
        }
        ASSERT_TRUE(regtest::DeleteTree(DeviceParameters(5)));
    };
    auto machine = [] {
        return regtest::Snapshot(SVT_PARAMETERS_KEY) + regtest::Snapshot(L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3");
    };
    auto text = [](const CSVT_ComInfo& r) {
        CString t;
        t.Format(L"%u %u %u %u %u %u [%s]", r.keyNumber, r.ComPort, r.IPaddress, r.TxTriggerLevel, r.Port, r.Protocol,
                 r.Alias.GetString());
        return std::wstring(t);
    };

    arrange();
    LoadPortTable();
    const std::wstring loaded = machine();
    std::vector<std::wstring> records;
    for (INT_PTR i = 0; i < g_portTable.GetSize(); ++i)
        records.push_back(text(g_portTable[i]));
    ASSERT_EQ(std::vector<UINT>({2, 4, 5}), KeyNumbers());

    // The literal way: each value read with ReadRegDword, each default written with
    // WritePortSetting and its own device walk.
    arrange();
    std::vector<std::wstring> literal;
    for (unsigned n : {2u, 4u, 5u}) {
        const auto read = [n](const wchar_t* name, DWORD fallback) {
            DWORD value = 0;
            if (ReadRegDword(PortSubkeyPath(n), name, value))
                return value;
            WritePortSetting(n, name, fallback);
            return fallback;
        };
        CSVT_ComInfo record;
        record.keyNumber = n;
        record.TxTriggerLevel = read(L"TxTriggerLevel", 255);
        read(L"AliveRxTimer", 7000);
        read(L"AliveTxTimer", 2500);
        record.Protocol = read(L"Protocol", 0);
        record.IPaddress = read(L"IPaddress", 0);
        record.Port = read(L"Port", 4001);
        record.ComPort = read(L"ComPort", n);
        if (!ReadRegString(PortSubkeyPath(n), L"Alias", record.Alias)) {
            WriteRegString(PortSubkeyPath(n), L"Alias", L"");
            WriteRegString(PortDevicePath(n), L"Alias", L"");
        }
        literal.push_back(text(record));
    }
    EXPECT_EQ(literal, records);
    EXPECT_EQ(loaded, machine());
    EXPECT_EQ(4001u, regtest::GetValue(DeviceParameters(3), L"Port").AsDword());
    EXPECT_FALSE(regtest::GetValue(DeviceParameters(4), L"Port").exists);
    EXPECT_EQ(L"2 2 0 9 5000 0 []", records[0]);
}

TEST_F(PortTable, StoredValuesAreTakenAsTheyAreEvenOutOfRange)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 6}));
    ASSERT_TRUE(regtest::SetDword(Subkey(6), L"ComPort", 9));
    ASSERT_TRUE(regtest::SetDword(Subkey(6), L"TxTriggerLevel", 0));
    ASSERT_TRUE(regtest::SetDword(Subkey(6), L"IPaddress", 0xC0A8000A));
    ASSERT_TRUE(regtest::SetDword(Subkey(6), L"Protocol", 2));
    ASSERT_TRUE(regtest::SetDword(Subkey(6), L"Port", 70000));
    ASSERT_TRUE(regtest::SetText(Subkey(2), L"Alias", L"A"));
    const std::wstring port6 = regtest::Snapshot(Subkey(6));

    LoadPortTable();

    ASSERT_EQ(2, g_portTable.GetSize());
    EXPECT_EQ(CString(L"A"), g_portTable[0].Alias);
    const CSVT_ComInfo& record = g_portTable[1];
    EXPECT_EQ(6u, record.keyNumber);
    EXPECT_EQ(9u, record.ComPort);
    EXPECT_EQ(0u, record.TxTriggerLevel);
    EXPECT_EQ(0xC0A8000Au, record.IPaddress);
    EXPECT_EQ(2u, record.Protocol);
    EXPECT_EQ(70000u, record.Port);
    EXPECT_EQ(CString(L""), record.Alias);  // the alias of the port before it is not carried over
    EXPECT_EQ(port6, regtest::Snapshot(Subkey(6)));
}

TEST_F(PortTable, AValueOfTheWrongTypeIsReplacedByItsDefault)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    ASSERT_TRUE(regtest::SetText(Subkey(3), L"TxTriggerLevel", L"12"));

    LoadPortTable();

    ASSERT_EQ(1, g_portTable.GetSize());
    EXPECT_EQ(255u, g_portTable[0].TxTriggerLevel);
    const regtest::RawValue stored = regtest::GetValue(Subkey(3), L"TxTriggerLevel");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), stored.type);
    EXPECT_EQ(255u, stored.AsDword());
    EXPECT_EQ(255u, regtest::GetValue(DeviceParameters(3), L"TxTriggerLevel").AsDword());
}

TEST_F(PortTable, ADwordShorterThanFourBytesIsReplacedByItsDefault)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    const BYTE partial[2] = {0x34, 0x12};
    ASSERT_TRUE(regtest::SetValue(Subkey(3), L"Port", REG_DWORD, partial, 2));
    ASSERT_TRUE(regtest::SetValue(Subkey(3), L"ComPort", REG_DWORD, partial, 0));

    LoadPortTable();

    ASSERT_EQ(1, g_portTable.GetSize());
    EXPECT_EQ(4001u, g_portTable[0].Port);
    EXPECT_EQ(3u, g_portTable[0].ComPort);
    for (const wchar_t* name : {L"Port", L"ComPort"}) {
        const regtest::RawValue stored = regtest::GetValue(Subkey(3), name);
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), stored.type) << ::testing::PrintToString(std::wstring(name));
        EXPECT_EQ(4u, stored.data.size()) << ::testing::PrintToString(std::wstring(name));
    }
    EXPECT_EQ(4001u, regtest::GetValue(Subkey(3), L"Port").AsDword());
    EXPECT_EQ(3u, regtest::GetValue(DeviceParameters(3), L"ComPort").AsDword());
}

TEST_F(PortTable, AnAliasTooLongToReadIsKeptInTheRegistry)
{
    ASSERT_TRUE(simtest::CreatePorts({4}));
    const std::wstring longAlias(300, L'x');
    ASSERT_TRUE(regtest::SetText(Subkey(4), L"Alias", longAlias));

    LoadPortTable();

    ASSERT_EQ(1, g_portTable.GetSize());
    EXPECT_EQ(CString(L""), g_portTable[0].Alias);
    EXPECT_EQ(longAlias, regtest::GetValue(Subkey(4), L"Alias").AsText());
    EXPECT_FALSE(regtest::GetValue(DeviceParameters(4), L"Alias").exists);
}

TEST_F(PortTable, RecordsComeInAscendingKeyOrderWhateverOrderTheDevicesCameIn)
{
    ASSERT_TRUE(simtest::CreatePorts({255}));
    ASSERT_TRUE(simtest::CreatePorts({9}));
    ASSERT_TRUE(simtest::CreatePorts({2}));
    ASSERT_TRUE(simtest::CreatePorts({4}));

    LoadPortTable();

    EXPECT_EQ(std::vector<UINT>({2, 4, 9, 255}), KeyNumbers());
}

// A port subkey that is a link to another key holds that key's values, not a port's: the load
// skips the port, as it skips any other key it cannot use, and neither reads nor writes there.
TEST_F(PortTable, APortSubkeyThatIsARegistryLinkIsSkipped)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 3}));
    const std::wstring other = L"SOFTWARE\\Kolbrant\\Other";
    ASSERT_TRUE(regtest::CreateKey(other));
    ASSERT_TRUE(regtest::SetDword(other, L"Port", 77));
    ASSERT_TRUE(regtest::DeleteTree(Subkey(3)));
    ASSERT_TRUE(simtest::WriteRegistryLink(Subkey(3), other));
    const std::wstring before = regtest::Snapshot(other);

    LoadPortTable();

    EXPECT_EQ(std::vector<UINT>({2}), KeyNumbers());
    EXPECT_EQ(before, regtest::Snapshot(other));
    EXPECT_TRUE(DeleteRegKeyTree(HKEY_LOCAL_MACHINE, Subkey(3).c_str()));
    EXPECT_TRUE(regtest::DeleteTree(other));
}

TEST_F(PortTable, DevicesThatAreNotPortsOfThisSystemAreNotLoaded)
{
    ASSERT_TRUE(simtest::CreatePorts({5, 6, 7}));
    ASSERT_TRUE(simtest::SetPortDeviceText(5, L"FriendlyName", L"Sarvento VCP (COM256)"));
    ASSERT_TRUE(simtest::SetPortDeviceText(6, L"FriendlyName", L"Other (COM12)"));

    LoadPortTable();

    EXPECT_EQ(std::vector<UINT>({7}), KeyNumbers());
}

TEST_F(PortTable, RemovingAnEntryMovesTheLaterOnesDown)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4, 9}));
    LoadPortTable();
    ASSERT_EQ(3, g_portTable.GetSize());

    RemovePortTableEntry(0);
    EXPECT_EQ(std::vector<UINT>({4, 9}), KeyNumbers());

    ClearPortTable();
    EXPECT_EQ(0, g_portTable.GetSize());
}

TEST_F(PortTable, ARemovalOutsideTheTableIsAnInvalidArgument)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4, 9}));
    LoadPortTable();

    bool refused = false;
    try {
        RemovePortTableEntry(3);
    } catch (CInvalidArgException* e) {
        refused = true;
        e->Delete();
    }
    EXPECT_TRUE(refused);
    EXPECT_EQ(3, g_portTable.GetSize());
}

TEST_F(PortTable, AReaderOnAnotherThreadNeverSeesATableBeingRebuilt)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4, 9}));
    LoadPortTable();

    // The monitor's way of reading: ComPort of every row, under the table's lock.
    std::atomic<bool> done{false};
    std::atomic<int> passes{0};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            CSingleLock lock(&g_portTableLock, TRUE);
            std::vector<UINT> comPorts;
            for (INT_PTR i = 0; i < g_portTable.GetSize(); ++i)
                comPorts.push_back(g_portTable[i].ComPort);
            if (comPorts != std::vector<UINT>({2, 4, 9}))
                ++torn;
            ++passes;
        }
    });
    for (int i = 0; i < kReloads; ++i)
        LoadPortTable();
    done = true;
    reader.join();

    EXPECT_EQ(0, torn.load());
    EXPECT_GT(passes.load(), 0);
    EXPECT_EQ(std::vector<UINT>({2, 4, 9}), KeyNumbers());
}
