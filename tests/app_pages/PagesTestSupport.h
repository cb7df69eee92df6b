// A fixture that runs the real main dialog, with its two pages, against the simulated machine,
// and the helpers its tests share.
#pragma once

#include "app/Globals.h"
#include "app/MonitorDlg.h"
#include "app/PortInfoDlg.h"
#include "app/SarventoCtlDlg.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class PagesTest : public SimMachineTest {
protected:
    // As at program start: the dialog is the application's main window, the first tab shown,
    // nothing read from the status device yet.
    void SetUp() override;

    INT_PTR Run(std::vector<uitest::Step> steps) { return ui.RunModal(dlg, std::move(steps)); }

    CWinApp app;
    uitest::UiHarness ui;
    CSVT_SarventoCtlDlg dlg;
};

HWND PortListWnd();
HWND MonitorListWnd();

// Whether the page's own pre-translation swallows a key-down of vk aimed at the window.
bool PageSwallowsKey(CWnd& page, HWND hTarget, UINT vk);

// Clicks the tab as the user does.
void SelectTab(HWND hDlg, int index);

// The image a list cell shows.
int CellImage(HWND hList, int row, int column);
// Sets a cell's text as an in-place editor leaves it.
void SetCellText(HWND hList, int row, int column, const wchar_t* text);
// Selects exactly the given rows.
void SelectRows(HWND hList, const std::vector<int>& rows);
std::vector<std::wstring> HeaderTitles(HWND hList);
std::vector<int> ColumnWidths(HWND hList);

// ---- the registry as the ports' settings live there ----
// A value of the port's subkey; false when it is missing or not a DWORD.
bool ReadPortDword(unsigned com, const wchar_t* name, DWORD& value);
bool ReadDeviceDword(unsigned com, const wchar_t* name, DWORD& value);
bool ReadPortString(unsigned com, const wchar_t* name, std::wstring& text);
bool ReadDeviceString(unsigned com, const wchar_t* name, std::wstring& text);
::testing::AssertionResult WritePortDword(unsigned com, const wchar_t* name, DWORD value);
::testing::AssertionResult WritePortString(unsigned com, const wchar_t* name, const std::wstring& text);

// Messages the user-interface thread sends to the main dialog, the status bar and the monitor
// list, and the polling thread's ticks it takes for the monitor page, while it exists, seen
// through hooks on that thread.
class MessageRecorder {
public:
    struct Event {
        HWND hWnd;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::wstring text;  // SB_SETTEXTW
        int item;           // LVM_SETITEMW
        int subItem;
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<Event> events;
    size_t Count(HWND hWnd, UINT message) const;
    void Clear() { events.clear(); }

private:
    HHOOK m_hHook = nullptr;
    HHOOK m_hGetHook = nullptr;
};
