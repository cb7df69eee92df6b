// The simulated machine for tests: a fixture that resets it before every test, and helpers to
// arrange it and to look at what it saw.
//
// Use:
//
//   #include "tests/support/SimMachine.h"
//
//   class PortStoreTest : public SimMachineTest {};
//
//   TEST_F(PortStoreTest, LoadsOnlyPresentPorts) {
//       ASSERT_TRUE(simtest::CreatePorts({5, 7}));           // subkeys, one real plug-in, wait
//       ASSERT_TRUE(simtest::WritePortSubkeys({9}));          // configured but never plugged in
//       ASSERT_TRUE(simtest::SetLineState(5, LINESTATE_CON)); // COM5 is open
//       ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_REFUSE_PLUGIN));
//       ... run the program's code ...
//       EXPECT_EQ(1u, simtest::CountRequests(IOCTL_BUS_PLUGIN_PORT));
//       EXPECT_EQ(3u, simtest::ComDbCalls().size());        // open, usage report, close
//   }
//
// What SetUp gives every test: controls at their defaults (no faults, children 40 ms apart),
// no children of the bus driver, an empty `Parameters` key of the svtmf3 service, no
// SERIALCOMM values at all (not even Wine's COM1), an empty COM-port database, no line states
// and empty request and call logs. The bus interface and the status device are up.
//
// The program's own code runs unchanged against this machine: the plug-in request, SetupDi
// walks, SetupDiRemoveDevice, the status device, ComDB* and the driver update all go to the
// simulated drivers and the project's msports.dll and newdev.dll, as they would go to Windows. Every helper returns an
// AssertionResult that says what went wrong, so write ASSERT_TRUE(simtest::...) around it.
// The test must run inside the machine: scripts/test and scripts/machine set it up.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "contract/DriverInterface.h"
#include "sim/SimShared.h"
#include "sim/control/Machine.h"

namespace simtest {

// How long helpers wait for children by default: far beyond what the default timing needs.
constexpr DWORD kPortWaitMs = 10000;

// The whole machine back to the state described above.
::testing::AssertionResult ResetMachine();

// ---- ports ----
// Parameters\%04d with the eight values an add writes (ComPort = the number).
::testing::AssertionResult WritePortSubkeys(const std::vector<unsigned>& comNumbers);
// The program's plug-in request, once.
::testing::AssertionResult PlugIn();
// Waits until each port's device and SERIALCOMM value are there. A device appears with its
// number claimed in the COM-port database, as Windows' Ports class installer claims it.
::testing::AssertionResult WaitForPorts(const std::vector<unsigned>& comNumbers, DWORD timeoutMs = kPortWaitMs);
// WritePortSubkeys + PlugIn + WaitForPorts.
::testing::AssertionResult CreatePorts(const std::vector<unsigned>& comNumbers, DWORD timeoutMs = kPortWaitMs);
// COM1 to COMcount, in order.
std::vector<unsigned> FirstComNumbers(unsigned count);
// Removes the port's device with SetupDiRemoveDevice, as deletion does, and waits until the
// driver has withdrawn its SERIALCOMM value.
::testing::AssertionResult RemovePortDevice(unsigned comNumber);
bool IsPortPresent(unsigned comNumber);
// Whether any SERIALCOMM value names COMn.
bool IsInSerialComm(unsigned comNumber);

// ---- line states (bits LINESTATE_*) ----
::testing::AssertionResult SetLineState(unsigned comNumber, BYTE bits);
// Which of LINESTATE_RX / LINESTATE_TX blink.
::testing::AssertionResult SetTraffic(unsigned comNumber, BYTE bits);

// ---- faults: a SIM_CONTROL_* name and its value ----
::testing::AssertionResult InjectFault(const wchar_t* control, DWORD value = 1);
::testing::AssertionResult ClearFault(const wchar_t* control);

// ---- what else the machine shows ----
// A serial port that is not ours, e.g. AddSerialComm(L"\\Device\\Serial0", 1).
::testing::AssertionResult AddSerialComm(const wchar_t* valueName, unsigned comNumber);
// The COM-port database as exactly these claims (written directly, not through msports).
::testing::AssertionResult SetComDbClaims(const std::vector<unsigned>& comNumbers);
// Claimed numbers, read directly from the database's value.
std::vector<unsigned> ComDbClaims();

// ---- the request log: the last SIM_LOG_RING_SIZE requests of each driver, oldest first ----
std::vector<simmachine::LoggedRequest> RequestLog();
size_t CountRequests(DWORD code);
// Empties the request log and the DLLs' call logs.
::testing::AssertionResult ClearRequestLog();

// ---- the call log of msports.dll and newdev.dll (the last SIM_LOG_RING_SIZE calls each) ----
struct ComDbCall {
    unsigned function = 0;  // SIM_CALL_COMDB_*
    unsigned number = 0;    // the COM number of a claim or release, else 0
    int result = 0;         // the Win32 error returned
    bool operator==(const ComDbCall& other) const;
};
void PrintTo(const ComDbCall& call, std::ostream* out);
// msports.dll's calls, oldest first.
std::vector<ComDbCall> ComDbCalls();

struct DriverUpdate {
    std::wstring hardwareId;
    std::wstring infPath;
    DWORD flags = 0;
    unsigned long long parentWindow = 0;
    BOOL result = FALSE;
    DWORD lastError = 0;  // as the call returned
};
// newdev.dll's UpdateDriverForPlugAndPlayDevicesW calls, oldest first.
std::vector<DriverUpdate> DriverUpdates();

// The build's folder of the simulated machine: the drivers and their INF files.
std::wstring BuiltMachineFolder();

// A driver update that installs from svtser3.inf leaves the system's copy of it (%windir%\inf
// \svtser3.inf and .pnf), as Windows keeps an installed INF; a test whose update succeeds holds
// one of these, which deletes the copy again when it goes.
class PortInfCopiesRemover {
public:
    PortInfCopiesRemover() = default;
    ~PortInfCopiesRemover();
    PortInfCopiesRemover(const PortInfCopiesRemover&) = delete;
    PortInfCopiesRemover& operator=(const PortInfCopiesRemover&) = delete;
};

}  // namespace simtest

// Base fixture: resets the machine before each test, and clears the faults after it (the ports
// stay, so that `scripts/machine simctl list` shows what the last test made, but no fault is
// left to surprise a person who uses the machine next).
class SimMachineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
