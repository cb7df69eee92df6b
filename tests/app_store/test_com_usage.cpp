// Which COM numbers are taken and which of this system's ports are present, from SERIALCOMM,
// the COM-port database and the port devices of the simulated machine.
#include "app/ComUsage.h"
#include "app/Globals.h"

#include "StoreTestSupport.h"
#include "framework/msgbox.h"
#include "tests/support/OpenHandles.h"
#include "tests/support/SimMachine.h"
#include "tests/support/SimOddPorts.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

class ComUsageTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        AfxSetMessageBoxHandler([this](const AfxMessageBoxCall& call) {
            m_boxes.push_back(call);
            return IDOK;
        });
    }
    void TearDown() override
    {
        AfxSetMessageBoxHandler(nullptr);
        StoreTest::TearDown();
    }

    // The entries of g_comUsageMap that are not free, by COM number.
    static std::map<int, int> UsedNumbers()
    {
        std::map<int, int> used;
        for (int i = 0; i < kComNumberCount; ++i) {
            if (g_comUsageMap[i] != COMUSE_FREE)
                used[i + 1] = g_comUsageMap[i];
        }
        return used;
    }
    // The COM numbers g_presentPortMap holds, checking that each sits at its own index.
    static std::vector<int> MappedPorts()
    {
        std::vector<int> mapped;
        for (int i = 0; i < kComNumberCount; ++i) {
            if (g_presentPortMap[i] != 0) {
                EXPECT_EQ(i + 1, g_presentPortMap[i]);
                mapped.push_back(g_presentPortMap[i]);
            }
        }
        return mapped;
    }
    // Fills both maps with junk first, so that a map that is not rebuilt shows.
    static void SpoilMaps()
    {
        memset(g_comUsageMap, COMUSE_RESERVED, sizeof(g_comUsageMap));
        memset(g_presentPortMap, 0x55, sizeof(g_presentPortMap));
    }

    std::vector<AfxMessageBoxCall> m_boxes;
};

const int P = COMUSE_PRESENT;
const int R = COMUSE_RESERVED;

// What the program writes to the debugger's output while one lives: OutputDebugStringW raises
// its text as an exception first, which a vectored handler sees before the call's own handler.
class DebugOutput {
public:
    DebugOutput() : m_handler(::AddVectoredExceptionHandler(1, &Handler)) { s_text = &m_text; }
    ~DebugOutput()
    {
        ::RemoveVectoredExceptionHandler(m_handler);
        s_text = nullptr;
    }
    const std::wstring& Text() const { return m_text; }

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info)
    {
        const EXCEPTION_RECORD& record = *info->ExceptionRecord;
        if (s_text != nullptr && record.NumberParameters >= 2) {
            if (record.ExceptionCode == 0x4001000A)  // DBG_PRINTEXCEPTION_WIDE_C
                s_text->append(reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]));
            else if (record.ExceptionCode == 0x40010006) {  // DBG_PRINTEXCEPTION_C
                for (const char* p = reinterpret_cast<const char*>(record.ExceptionInformation[1]); *p; ++p)
                    s_text->push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
            }
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static inline std::wstring* s_text = nullptr;
    PVOID m_handler;
    std::wstring m_text;
};

}  // namespace

TEST_F(ComUsageTest, PresentPortsWinOverClaimsInTheDatabase)
{
    ASSERT_TRUE(simtest::SetComDbClaims({1, 2}));
    ASSERT_TRUE(simtest::CreatePorts({5}));  // and its claim
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial0", 1));
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial2", 3));
    BuildComUsageMap();  // what the first walk loads for good is loaded now
    SpoilMaps();
    const int handles = uitest::CountOpenHandles();

    BuildComUsageMap();

    EXPECT_EQ((std::map<int, int>{{1, P}, {2, R}, {3, P}, {5, P}}), UsedNumbers());
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(handles, uitest::CountOpenHandles());  // the database, the key and the list are closed
}

TEST_F(ComUsageTest, APortDeviceMarksTheNumberOfItsFriendlyNameEvenWithAnotherPrefix)
{
    // Instance 5 calls itself "Other (COM12)": the usage map marks 12, the port checks refuse it.
    ASSERT_TRUE(simtest::CreatePorts({5}));
    ASSERT_TRUE(simtest::SetPortDeviceText(5, L"FriendlyName", L"Other (COM12)"));
    ASSERT_TRUE(simtest::SetComDbClaims({12}));
    SpoilMaps();

    BuildComUsageMap();
    MapPortDevices();

    EXPECT_EQ((std::map<int, int>{{5, P}, {12, P}}), UsedNumbers());
    EXPECT_EQ(std::vector<int>(), MappedPorts());
    EXPECT_EQ(0, CountPresentPortDevices());
}

TEST_F(ComUsageTest, ADeviceWithAnotherDescriptionCountsNowhere)
{
    ASSERT_TRUE(simtest::CreatePorts({5}));
    ASSERT_TRUE(simtest::SetPortDeviceText(5, L"DeviceDesc", L"Sarvento VCP "));
    ASSERT_TRUE(simtest::SetPortDeviceText(5, L"FriendlyName", L"Sarvento VCP (COM12)"));
    SpoilMaps();

    BuildComUsageMap();
    MapPortDevices();

    EXPECT_EQ((std::map<int, int>{{5, P}}), UsedNumbers());  // SERIALCOMM only
    EXPECT_EQ(std::vector<int>(), MappedPorts());
    EXPECT_EQ(0, CountPresentPortDevices());
}

TEST_F(ComUsageTest, TheFriendlyNamePrefixMustBeExact)
{
    // Lower case, two blanks, no parenthesis at all; instance 4 stays a proper port.
    ASSERT_TRUE(simtest::CreatePorts({4, 5, 6, 7}));
    ASSERT_TRUE(simtest::SetPortDeviceText(5, L"FriendlyName", L"sarvento vcp (COM15)"));
    ASSERT_TRUE(simtest::SetPortDeviceText(6, L"FriendlyName", L"Sarvento VCP  (COM16)"));
    ASSERT_TRUE(simtest::SetPortDeviceText(7, L"FriendlyName", L"Sarvento VCP"));
    SpoilMaps();

    BuildComUsageMap();
    MapPortDevices();

    // The description alone lets 15 and 16 into the usage map; "Sarvento VCP" names no number.
    EXPECT_EQ((std::map<int, int>{{4, P}, {5, P}, {6, P}, {7, P}, {15, P}, {16, P}}), UsedNumbers());
    EXPECT_EQ(std::vector<int>({4}), MappedPorts());
    EXPECT_EQ(1, CountPresentPortDevices());
}

TEST_F(ComUsageTest, Com256IsUsedAndCountedButNeverMapped)
{
    ASSERT_TRUE(simtest::CreatePorts({5}));
    ASSERT_TRUE(simtest::SetPortDeviceText(5, L"FriendlyName", L"Sarvento VCP (COM256)"));
    SpoilMaps();

    BuildComUsageMap();
    MapPortDevices();

    EXPECT_EQ((std::map<int, int>{{5, P}, {256, P}}), UsedNumbers());
    EXPECT_EQ(std::vector<int>(), MappedPorts());
    EXPECT_EQ(0, g_presentPortMap[255]);
    EXPECT_EQ(1, CountPresentPortDevices());
}

TEST_F(ComUsageTest, NumbersOutsideTheMapChangeNothingAndAClaimOfCom256Reserves)
{
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial0", 300));
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial1", 0));
    ASSERT_TRUE(simtest::SetSerialCommData(L"\\Device\\Serial2", L"COM-3", 12));
    ASSERT_TRUE(simtest::SetComDbClaims({256}));
    SpoilMaps();

    BuildComUsageMap();

    EXPECT_EQ((std::map<int, int>{{256, R}}), UsedNumbers());
}

TEST_F(ComUsageTest, SerialCommDataThatIsTooLongIsSkippedAndTheRestStillCounts)
{
    const std::wstring tooLong = L"COM9" + std::wstring(200, L' ');
    ASSERT_TRUE(simtest::SetSerialCommData(L"\\Device\\Long", tooLong.c_str(),
                                           static_cast<DWORD>((tooLong.size() + 1) * sizeof(wchar_t))));
    ASSERT_TRUE(simtest::SetSerialCommData(L"\\Device\\Unended", L"COM7X", 8));  // no terminator
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial2", 3));
    SpoilMaps();

    BuildComUsageMap();

    EXPECT_EQ((std::map<int, int>{{3, P}, {7, P}}), UsedNumbers());
}

TEST_F(ComUsageTest, CountsEveryPresentPort)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4, 6}));
    ASSERT_TRUE(simtest::SetPortDeviceText(4, L"FriendlyName", L"Sarvento VCP(COM4)"));

    EXPECT_EQ(3, CountPresentPortDevices());
    MapPortDevices();
    EXPECT_EQ(std::vector<int>({2, 4, 6}), MappedPorts());
}

// The count and the usage map end at a port device whose name cannot be read; the present-port
// map knows it by its instance and walks on.
TEST_F(ComUsageTest, AnUnreadableFriendlyNameEndsTheCountButTheMapKnowsThePortByItsInstance)
{
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_FRIENDLY_NAME_FORM, SIM_FRIENDLY_NAME_NONE));
    ASSERT_TRUE(simtest::CreatePorts({5, 7}));
    SpoilMaps();

    EXPECT_EQ(kUnknownPortCount, CountPresentPortDevices());
    EXPECT_TRUE(MapPortDevices());
    EXPECT_EQ(std::vector<int>({5, 7}), MappedPorts());
    BuildComUsageMap();
    EXPECT_EQ((std::map<int, int>{{5, P}, {7, P}}), UsedNumbers());  // from SERIALCOMM
}

TEST_F(ComUsageTest, AnUnreadableFriendlyNameLeavesTheNamedPortsMappedBesideIt)
{
    ASSERT_TRUE(simtest::CreatePorts({2, 4, 9}));
    ASSERT_TRUE(simtest::SetPortDeviceText(2, L"FriendlyName", L"Sarvento VCP (COM12)"));
    ASSERT_TRUE(simtest::SetPortDeviceText(4, L"FriendlyName", L"Sarvento VCP (COM14)"));
    ASSERT_TRUE(simtest::DeletePortDeviceValue(9, L"FriendlyName"));
    SpoilMaps();

    EXPECT_EQ(kUnknownPortCount, CountPresentPortDevices());
    EXPECT_TRUE(MapPortDevices());
    EXPECT_EQ(std::vector<int>({9, 12, 14}), MappedPorts());
    BuildComUsageMap();
    EXPECT_EQ((std::map<int, int>{{2, P}, {4, P}, {9, P}, {12, P}, {14, P}}), UsedNumbers());
}

TEST_F(ComUsageTest, ADatabaseThatDoesNotOpenLeavesOnlySerialCommAndSaysSo)
{
    ASSERT_TRUE(simtest::CreatePorts({5}));
    ASSERT_TRUE(simtest::SetPortDeviceText(5, L"FriendlyName", L"Sarvento VCP (COM12)"));
    ASSERT_TRUE(simtest::SetComDbClaims({2}));
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_COMDB_OPEN_FAILS));
    SpoilMaps();

    const DebugOutput output;
    BuildComUsageMap();

#ifndef NDEBUG
    // A debug build keeps the cause for its developer.
    EXPECT_NE(std::wstring::npos, output.Text().find(L"ComDBOpen failed: ")) << output.Text();
#endif
    EXPECT_EQ((std::map<int, int>{{5, P}}), UsedNumbers());
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"ComDBOpen Fail!", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK), m_boxes[0].nType & MB_TYPEMASK);
}
