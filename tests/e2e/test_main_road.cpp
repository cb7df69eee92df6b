// The built program, started as a user starts it and driven from outside with real mouse and
// keyboard input, along its main road: add ports, edit them in place, watch their lines, meet the
// in-use refusals, delete them. What it shows is read from its windows, what it did from the
// registry and the simulated machine.
#include "tests/support/ExternalProgram.h"
#include "tests/support/Outside.h"
#include "tests/support/Pixels.h"
#include "tests/support/SimMachine.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

using outside::Key;

namespace {

const wchar_t kBoxTitle[] = L"SarventoCtl3";
const wchar_t kInUse[] = L"There is a serial port in use currently.\nDeletion process will be stopped";

// Control ids of the program's windows.
constexpr int kTab = 1000, kMonitorList = 1001, kPortList = 1019, kAddButton = 1022, kDeleteButton = 1023,
              kApplyButton = 1024, kRevertButton = 1025, kStatusBar = 59393;
constexpr int kStartCom = 1003, kCount = 1004, kPort = 1006, kIpAddress = 1007, kProtocol = 1005, kAlias = 1021,
              kTrigger = 1288, kProgressBar = 1024, kProgressText = 1025;
// Port list columns and the monitor's state cells.
constexpr int kColCom = 1, kColAlias = 3, kColProtocol = 6;
constexpr int kCon = 3, kErr = 4, kCts = 7, kDsr = 8, kDcd = 9;

// A dialog of the program that holds a control with the given id.
HWND WaitForDialog(DWORD pid, const wchar_t* caption, int childId)
{
    HWND hFound = nullptr;
    uitest::WaitFor([&] {
        for (HWND h : uitest::TopLevelWindows(pid, L"#32770", caption))
            if (::GetDlgItem(h, childId) != nullptr)
                hFound = h;
        return hFound != nullptr;
    });
    return hFound;
}

// The text of the program's message box, answered by a click on the button with that id.
std::wstring AnswerBox(DWORD pid, int button)
{
    HWND hBox = WaitForDialog(pid, kBoxTitle, button);
    if (hBox == nullptr)
        return L"<no message box>";
    const std::wstring text = outside::Text(::GetDlgItem(hBox, 0xFFFF));
    outside::Click(::GetDlgItem(hBox, button));
    uitest::WaitFor([&] { return !::IsWindow(hBox); });
    return text;
}

// The ink of a text on the screen: its near-black pixels.
size_t Ink(const std::vector<COLORREF>& pixels)
{
    return std::count_if(pixels.begin(), pixels.end(),
                         [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 192; });
}

// Waits for the progress dialog of an operation on total ports to come and go; its text names the
// total whether it is seen at the start ("... please wait (0/3)") or at a step ("1/3  COM5 ...").
::testing::AssertionResult ProgressRuns(DWORD pid, const wchar_t* caption, int total)
{
    HWND hProgress = WaitForDialog(pid, caption, kProgressBar);
    if (hProgress == nullptr)
        return ::testing::AssertionFailure() << "no progress dialog";
    // The worker sets the text once it runs, so the dialog may be found before it shows any.
    std::wstring text;
    const std::wstring count = L"/" + std::to_wstring(total);
    uitest::WaitFor([&] {
        text = outside::Text(::GetDlgItem(hProgress, kProgressText));
        return text.find(count) != std::wstring::npos || !::IsWindow(hProgress);
    });
    if (text.find(count) == std::wstring::npos)
        return ::testing::AssertionFailure() << "the progress dialog says " << text;
    if (!uitest::WaitFor([&] { return !::IsWindow(hProgress); }, 60000))
        return ::testing::AssertionFailure() << "the progress dialog did not end; it says " << text;
    return ::testing::AssertionSuccess();
}

std::wstring PortKey(unsigned com, bool device)
{
    wchar_t key[128];
    if (device)
        swprintf(key, 128, L"SYSTEM\\CurrentControlSet\\Enum\\SVTMF3\\*PNP0501\\%08X\\Device Parameters", com);
    else
        swprintf(key, 128, L"SYSTEM\\CurrentControlSet\\Services\\svtmf3\\Parameters\\%04u", com);
    return key;
}

DWORD Dword(unsigned com, const wchar_t* name, bool device = false)
{
    DWORD value = 0xDEADBEEF;
    DWORD size = sizeof value;
    ::RegGetValueW(HKEY_LOCAL_MACHINE, PortKey(com, device).c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

std::wstring String(unsigned com, const wchar_t* name, bool device = false)
{
    wchar_t text[256] = L"<missing>";
    DWORD size = sizeof text;
    ::RegGetValueW(HKEY_LOCAL_MACHINE, PortKey(com, device).c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

// What `simctl list` shows of COM5 to COM7, the ports this test adds.
std::vector<std::wstring> MachinePorts()
{
    std::vector<simmachine::PortStatus> ports;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ListPorts(ports));
    std::vector<std::wstring> lines;
    for (const simmachine::PortStatus& p : ports)
        if (p.comNumber >= 5 && p.comNumber <= 7)
            lines.push_back(L"COM" + std::to_wstring(p.comNumber) + (p.configured ? L" configured" : L"") +
                            (p.device ? L" device" : L"") + (p.serialCommName.empty() ? L"" : L" serialcomm") +
                            (p.claimed ? L" claimed" : L""));
    return lines;
}

// The machine shows these lines, at once or after the drivers' short delays.
::testing::AssertionResult MachineShows(const std::vector<std::wstring>& expected)
{
    std::vector<std::wstring> shown;
    if (uitest::WaitFor([&] { return (shown = MachinePorts()) == expected; }))
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure() << "the machine shows:";
    for (const std::wstring& line : shown)
        failure << " " << line << ";";
    return failure;
}

// The lowest COM number the machine does not use: the add dialog's first start port.
unsigned FirstFreeComNumber()
{
    std::vector<simmachine::PortStatus> ports;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), simmachine::ListPorts(ports));
    unsigned n = 1;
    for (const simmachine::PortStatus& p : ports)
        if (p.comNumber == n)
            ++n;
    return n;
}

int RowOf(HWND hList, const std::wstring& com)
{
    for (int row = 0; row < outside::ListRowCount(hList); ++row)
        if (outside::ListCell(hList, row, kColCom) == com)
            return row;
    return -1;
}

bool RowSelected(HWND hList, int row)
{
    return ::SendMessageW(hList, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
}

void SelectRow(HWND hList, int row)
{
    outside::ClickClient(hList, outside::ListCellRect(hList, row, kColCom));
    EXPECT_TRUE(uitest::WaitFor([&] { return RowSelected(hList, row); })) << "row " << row;
}

// The visible cell editor of the list other than hOld, or null.
HWND Editor(HWND hList, HWND hOld)
{
    for (const wchar_t* kind : {L"Edit", L"ComboBox"})
        for (HWND h : uitest::Children(hList, kind))
            if (h != hOld && ::IsWindowVisible(h))
                return h;
    return nullptr;
}

// The cell's editor, opened as a user opens it: a click makes the cell the focus cell, a second
// one (beyond the double-click distance, so that it is a click of its own) edits it. Returned
// once it has the keyboard focus; null when none opens.
HWND EditCell(HWND hList, int row, int column)
{
    const HWND hOld = Editor(hList, nullptr);
    const RECT cell = outside::ListCellRect(hList, row, column);
    const int shift = 2 * ::GetSystemMetrics(SM_CXDOUBLECLK);
    outside::ClickClient(hList, {cell.left, cell.top, cell.right - shift, cell.bottom});
    outside::ClickClient(hList, {cell.left + shift, cell.top, cell.right, cell.bottom});
    const DWORD thread = ::GetWindowThreadProcessId(hList, nullptr);
    HWND hEditor = nullptr;
    uitest::WaitFor([&] {
        hEditor = Editor(hList, hOld);
        const HWND hFocus = outside::FocusOf(thread);
        return hEditor != nullptr && (hFocus == hEditor || ::IsChild(hEditor, hFocus));
    });
    EXPECT_TRUE(RowSelected(hList, row));
    return hEditor;
}

// Alt, then the menu bar's n-th menu, then its item-th item.
void ChooseMenu(int menu, int item)
{
    Key(VK_MENU);
    for (int i = 0; i < menu; ++i)
        Key(VK_RIGHT);
    Key(VK_DOWN);
    for (int i = 0; i < item; ++i)
        Key(VK_DOWN);
    Key(VK_RETURN);
}

class MainRoad : public SimMachineTest {
protected:
    void TearDown() override
    {
        SimMachineTest::TearDown();
        EXPECT_TRUE(simtest::ResetMachine());
        // The real cursor is left where no later test's window appears.
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    }
};

}  // namespace

TEST_F(MainRoad, AUserAddsEditsWatchesAndDeletesThreePorts)
{
    ASSERT_EQ(std::vector<std::wstring>{}, MachinePorts());
    const std::wstring firstFree = L"COM" + std::to_wstring(FirstFreeComNumber());
    ASSERT_NE(L"COM5", firstFree);

    // ---- start: the main dialog, its tabs, tool buttons and status bar ----
    uitest::ExternalProgram program;
    ASSERT_TRUE(program.Started()) << uitest::BuiltProgramPath();
    const DWORD pid = program.Id();
    HWND hMain = program.WaitForMainWindow(30000);
    ASSERT_NE(nullptr, hMain) << "the main dialog did not appear";
    ASSERT_TRUE(uitest::WaitFor([&] {
        ::SetForegroundWindow(hMain);
        return ::GetForegroundWindow() == hMain;
    }));
    HWND hTab = ::GetDlgItem(hMain, kTab);
    HWND hList = uitest::Descendant(hMain, kPortList);
    HWND hStatus = ::GetDlgItem(hMain, kStatusBar);
    ASSERT_TRUE(hTab != nullptr && hList != nullptr && hStatus != nullptr);
    EXPECT_EQ((std::vector<std::wstring>{L"Port Info", L"Status"}), outside::TabItems(hTab));
    for (int id = kAddButton; id <= kRevertButton; ++id) {
        RECT rect = {};
        ::GetWindowRect(::GetDlgItem(hMain, id), &rect);
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(hMain, id))) << id;
        EXPECT_EQ(32, rect.right - rect.left) << id;
        EXPECT_EQ(32, rect.bottom - rect.top) << id;
    }
    EXPECT_EQ(L"  Ready", outside::StatusText(hStatus, 0));
    EXPECT_EQ(0, outside::ListRowCount(hList));

    // ---- Port > Add: the defaults, then what the user types ----
    ChooseMenu(1, 0);
    HWND hAdd = WaitForDialog(pid, L"Add Port", kStartCom);
    ASSERT_NE(nullptr, hAdd) << "Port > Add showed no add dialog";
    const auto field = [&](int id) { return outside::Text(::GetDlgItem(hAdd, id)); };
    const auto address = [&] {
        std::wstring text;
        for (HWND hPart : uitest::Children(::GetDlgItem(hAdd, kIpAddress), L"Edit"))
            text += outside::Text(hPart) + L"|";
        return text;
    };
    const auto fields = [&] {
        return std::vector<std::wstring>{field(kStartCom), field(kCount), address(),      field(kPort),
                                         field(kProtocol), field(kAlias), field(kTrigger)};
    };
    EXPECT_EQ((std::vector<std::wstring>{firstFree, L"1", L"||||", L"4001", L"COM", L"", L"255"}), fields());
    ASSERT_TRUE(uitest::WaitFor([&] { return outside::FocusOf(program.ThreadId()) == ::GetDlgItem(hAdd, kStartCom); }));
    for (int i = 0; i < 5 && field(kStartCom) != L"COM5"; ++i) {
        const std::wstring shown = field(kStartCom);
        Key(VK_DOWN);
        EXPECT_TRUE(uitest::WaitFor([&] { return field(kStartCom) != shown; }));
    }
    Key(VK_TAB);
    outside::Type(L"3");
    Key(VK_TAB);
    outside::Type(L"10.1.2.3");
    Key(VK_TAB);
    outside::Type(L"5000");
    Key(VK_TAB);
    Key(VK_DOWN);  // Encryption
    Key(VK_TAB);
    outside::Type(L"Lab");
    Key(VK_TAB);
    outside::Type(L"8");
    EXPECT_TRUE(uitest::WaitFor([&] { return field(kTrigger) == L"8"; }));
    EXPECT_EQ((std::vector<std::wstring>{L"COM5", L"3", L"10|1|2|3|", L"5000", L"Encryption", L"Lab", L"8"}), fields());
    outside::Click(::GetDlgItem(hAdd, IDOK));
    ASSERT_TRUE(ProgressRuns(pid, L"Add Port", 3));
    ASSERT_TRUE(uitest::WaitFor([&] { return outside::ListRowCount(hList) == 3; }));
    for (int i = 0; i < 3; ++i) {
        const unsigned com = 5 + static_cast<unsigned>(i);
        EXPECT_EQ((std::vector<std::wstring>{L"   " + std::to_wstring(i + 1), L"COM" + std::to_wstring(com), L"8",
                                             L"Lab", L"10.1.2.3", std::to_wstring(5000 + i), L"Encryption"}),
                  outside::ListRow(hList, i));
        EXPECT_EQ(L"Lab", String(com, L"Alias"));
        EXPECT_EQ((std::vector<DWORD>{com, 0x0A010203u, 5000u + i, 1u, 7000u, 2500u, 8u}),
                  (std::vector<DWORD>{Dword(com, L"ComPort"), Dword(com, L"IPaddress"), Dword(com, L"Port"),
                                      Dword(com, L"Protocol"), Dword(com, L"AliveRxTimer"), Dword(com, L"AliveTxTimer"),
                                      Dword(com, L"TxTriggerLevel")}));
    }
    // Each port's number is claimed in the COM-port database as its device is installed:
    // deleting must release them.
    const std::vector<std::wstring> added = {L"COM5 configured device serialcomm claimed",
                                             L"COM6 configured device serialcomm claimed",
                                             L"COM7 configured device serialcomm claimed"};
    ASSERT_TRUE(MachineShows(added));

    // ---- edit in place: COM6's alias, then its protocol; Apply; Revert ----
    HWND hEditor = EditCell(hList, 1, kColAlias);
    ASSERT_NE(nullptr, hEditor) << "no editor on the alias cell";
    outside::Type(L"Bench");
    EXPECT_TRUE(uitest::WaitFor([&] { return outside::Text(hEditor) == L"Bench"; }));
    hEditor = EditCell(hList, 1, kColProtocol);
    ASSERT_NE(nullptr, hEditor) << "no editor on the protocol cell";
    Key(VK_UP);  // COM
    EXPECT_TRUE(uitest::WaitFor([&] { return outside::Text(hEditor) == L"COM"; })) << outside::Text(hEditor);
    EXPECT_EQ(1u, Dword(6, L"Protocol")) << "nothing is stored before Apply";
    outside::Click(::GetDlgItem(hMain, kApplyButton));
    EXPECT_TRUE(uitest::WaitFor([&] { return Dword(6, L"Protocol") == 0; }));
    EXPECT_EQ(L"Bench", String(6, L"Alias"));
    EXPECT_EQ(L"Bench", String(6, L"Alias", true));
    EXPECT_EQ(0u, Dword(6, L"Protocol", true));
    EXPECT_EQ(L"Lab", String(5, L"Alias"));
    EXPECT_EQ(L"Lab", String(7, L"Alias"));
    EXPECT_TRUE(uitest::WaitFor([&] { return outside::ListCell(hList, 1, kColProtocol) == L"COM"; }));
    EXPECT_EQ(L"Bench", outside::ListCell(hList, 1, kColAlias));
    ASSERT_NE(nullptr, EditCell(hList, 2, kColAlias));
    outside::Type(L"Dropped");
    SelectRow(hList, 0);  // the editor ends and leaves its text in the cell
    EXPECT_TRUE(uitest::WaitFor([&] { return outside::ListCell(hList, 2, kColAlias) == L"Dropped"; }));
    outside::Click(::GetDlgItem(hMain, kRevertButton));
    EXPECT_TRUE(uitest::WaitFor([&] { return outside::ListCell(hList, 2, kColAlias) == L"Lab"; }));
    EXPECT_EQ(L"Lab", String(7, L"Alias"));

    // ---- COM6 open: Apply passes it by, Delete refuses ----
    ASSERT_TRUE(simtest::SetLineState(6, LINESTATE_CON));
    ASSERT_NE(nullptr, EditCell(hList, 1, kColAlias));
    outside::Type(L"Busy");
    ASSERT_NE(nullptr, EditCell(hList, 0, kColAlias));
    outside::Type(L"Desk");
    // Apply's refusal lives on the screen alone: the status bar shows "  COM6 is in use currently"
    // for 400 ms while the program's thread waits, so no message can read it; its pixels can.
    RECT bar = {};
    ASSERT_TRUE(::GetClientRect(hStatus, &bar));
    ::MapWindowPoints(hStatus, nullptr, reinterpret_cast<POINT*>(&bar), 2);
    const std::vector<COLORREF> ready = uitest::WindowPixels(nullptr, bar);
    ASSERT_FALSE(ready.empty());
    size_t refusalInk = 0;
    outside::Click(::GetDlgItem(hMain, kApplyButton));
    EXPECT_TRUE(uitest::WaitFor(
        [&] {
            refusalInk = Ink(uitest::WindowPixels(nullptr, bar));
            return refusalInk > Ink(ready) * 2;
        },
        uitest::kGenerousWaitMs, 5))
        << "the status bar never showed more than its \"  Ready\"";
    EXPECT_TRUE(uitest::WaitFor([&] { return Ink(uitest::WindowPixels(nullptr, bar)) * 2 < refusalInk; }))
        << "the status bar did not go back to \"  Ready\"";
    EXPECT_EQ(L"  Ready", outside::StatusText(hStatus, 0));
    EXPECT_TRUE(uitest::WaitFor([&] { return String(5, L"Alias") == L"Desk"; }));
    EXPECT_TRUE(uitest::WaitFor([&] { return outside::ListCell(hList, 1, kColAlias) == L"Bench"; }));
    EXPECT_EQ(L"Bench", String(6, L"Alias"));
    SelectRow(hList, 1);
    outside::Click(::GetDlgItem(hMain, kDeleteButton));
    EXPECT_EQ(L"Do you want to delete ports?", AnswerBox(pid, IDOK));
    EXPECT_EQ(kInUse, AnswerBox(pid, IDOK));
    EXPECT_TRUE(MachineShows(added));

    // ---- Status tab: the states set in the machine, in COM6's row ----
    ASSERT_TRUE(simtest::SetLineState(6, LINESTATE_CON | LINESTATE_CTS | LINESTATE_DCD));
    outside::ClickClient(hTab, outside::TabItemRect(hTab, 1));
    HWND hMonitor = uitest::Descendant(hMain, kMonitorList);
    ASSERT_TRUE(uitest::WaitFor([&] {
        return ::IsWindowVisible(hMonitor) && !::IsWindowVisible(hList) &&
               !::IsWindowVisible(::GetDlgItem(hMain, kAddButton));
    }));
    const auto states = [&](const wchar_t* com) {
        const int row = RowOf(hMonitor, com);
        std::vector<int> images;
        for (int column : {kCon, kErr, kCts, kDsr, kDcd})
            images.push_back(row < 0 ? -1 : outside::ListImage(hMonitor, row, column));
        return images;
    };
    EXPECT_TRUE(uitest::WaitFor([&] {
        return states(L"COM6") == std::vector<int>{2, 1, 2, 1, 2};
    })) << "COM6's row does not show CON, CTS and DCD on";
    EXPECT_EQ((std::vector<int>{1, 1, 1, 1, 1}), states(L"COM5"));
    ASSERT_TRUE(simtest::SetLineState(6, 0));
    EXPECT_TRUE(uitest::WaitFor([&] { return states(L"COM6") == std::vector<int>{1, 1, 1, 1, 1}; }));
    outside::ClickClient(hTab, outside::TabItemRect(hTab, 0));
    ASSERT_TRUE(uitest::WaitFor([&] { return ::IsWindowVisible(hList) && !::IsWindowVisible(hMonitor); }));

    // ---- Delete one port, then Delete All ----
    SelectRow(hList, RowOf(hList, L"COM6"));
    outside::Click(::GetDlgItem(hMain, kDeleteButton));
    EXPECT_EQ(L"Do you want to delete ports?", AnswerBox(pid, IDOK));
    ASSERT_TRUE(ProgressRuns(pid, L"Delete Port", 1));
    EXPECT_TRUE(uitest::WaitFor([&] { return outside::ListRowCount(hList) == 2; }));
    EXPECT_EQ(-1, RowOf(hList, L"COM6"));
    EXPECT_TRUE(MachineShows({added[0], added[2]}));
    ChooseMenu(1, 2);
    EXPECT_EQ(L"Do you want to delete all ports?", AnswerBox(pid, IDOK));
    ASSERT_TRUE(ProgressRuns(pid, L"Delete All Port", 2));
    EXPECT_TRUE(uitest::WaitFor([&] { return outside::ListRowCount(hList) == 0; }));
    EXPECT_TRUE(MachineShows({}));

    // ---- a second start only says so; File > Exit ends the first ----
    {
        uitest::ExternalProgram second;
        ASSERT_TRUE(second.Started());
        HWND hBox = WaitForDialog(second.Id(), kBoxTitle, IDOK);
        ASSERT_NE(nullptr, hBox) << "the second start showed no message box";
        EXPECT_EQ(L"Program is already running!", outside::Text(::GetDlgItem(hBox, 0xFFFF)));
        outside::Click(::GetDlgItem(hBox, IDOK));
        EXPECT_TRUE(second.WaitForExit(uitest::kGenerousWaitMs));
    }
    EXPECT_TRUE(::IsWindowVisible(hMain));
    ASSERT_TRUE(uitest::WaitFor([&] {
        ::SetForegroundWindow(hMain);
        return ::GetForegroundWindow() == hMain;
    }));
    ChooseMenu(0, 0);
    EXPECT_TRUE(program.WaitForExit(uitest::kGenerousWaitMs)) << "File > Exit did not end the program";
}
