// The trace page, made from its template under a test dialog (the program itself never makes
// its window): the port list with one checked port at most, the trace selection it leaves, the
// buttons' looks, the keys and the colours.
#include "app/Globals.h"
#include "app/PortTable.h"
#include "app/SarventoCtlDlg.h"
#include "app/TraceDlg.h"
#include "tests/support/DialogTemplate.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using uitest::Do;
using uitest::WaitUntil;

namespace {

// What a CButtonST shows, read through pointers to its protected members.
struct ButtonInsides : CButtonST {
    static HICON NormalIcon(CButtonST& button) { return (button.*(&ButtonInsides::Icons))[1].hIcon; }
    static HICON HoverIcon(CButtonST& button) { return (button.*(&ButtonInsides::Icons))[0].hIcon; }
    static std::wstring Tooltip(CButtonST& button)
    {
        CToolTipCtrl& tip = button.*(&ButtonInsides::ToolTip);
        CString text;
        if (tip.GetSafeHwnd() != nullptr)
            tip.GetText(text, &button, 1);
        return std::wstring(text.GetString());
    }
};

// The colour pixels of an icon, to tell icons apart.
std::vector<DWORD> IconPixels(HICON hIcon)
{
    std::vector<DWORD> pixels;
    ICONINFO info = {};
    if (hIcon == nullptr || !::GetIconInfo(hIcon, &info))
        return pixels;
    BITMAP bitmap = {};
    if (info.hbmColor != nullptr && ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap) != 0) {
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = bitmap.bmWidth;
        format.bmiHeader.biHeight = bitmap.bmHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        pixels.resize(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
        HDC hdc = ::GetDC(nullptr);
        ::GetDIBits(hdc, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, hdc);
    }
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        ::DeleteObject(info.hbmMask);
    return pixels;
}

std::vector<DWORD> ResourceIconPixels(UINT nID)
{
    HICON hIcon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nID), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    std::vector<DWORD> pixels = IconPixels(hIcon);
    if (hIcon != nullptr)
        ::DestroyIcon(hIcon);
    return pixels;
}

// The button shows these icons (hover, normal) and this tooltip.
::testing::AssertionResult HasLook(CButtonST& button, UINT nHoverIcon, UINT nNormalIcon, const wchar_t* tooltip)
{
    const std::vector<DWORD> hover = IconPixels(ButtonInsides::HoverIcon(button));
    const std::vector<DWORD> normal = IconPixels(ButtonInsides::NormalIcon(button));
    if (hover.empty() || hover != ResourceIconPixels(nHoverIcon))
        return ::testing::AssertionFailure() << "the hover icon is not icon " << nHoverIcon;
    if (normal.empty() || normal != ResourceIconPixels(nNormalIcon))
        return ::testing::AssertionFailure() << "the normal icon is not icon " << nNormalIcon;
    const std::wstring tip = ButtonInsides::Tooltip(button);
    if (tip != tooltip)
        return ::testing::AssertionFailure() << "the tooltip is \"" << uitest::Narrow(tip) << "\"";
    return ::testing::AssertionSuccess();
}

// A point on the check box of a list item, found by hit-testing along the item.
POINT CheckBoxPoint(HWND hList, int item)
{
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    ::SendMessageW(hList, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds));
    for (int x = bounds.left; x < bounds.right; ++x) {
        LVHITTESTINFO hit = {};
        hit.pt = {x, (bounds.top + bounds.bottom) / 2};
        if (::SendMessageW(hList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == item &&
            hit.flags == LVHT_ONITEMSTATEICON)
            return hit.pt;
    }
    ADD_FAILURE() << "item " << item << " shows no check box";
    return {0, 0};
}

std::vector<int> CheckedItems(CListCtrl& list)
{
    std::vector<int> checked;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        if (list.GetCheck(i))
            checked.push_back(i);
    }
    return checked;
}

class TracePage : public ::testing::Test {
protected:
    TracePage() : host(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 560, 200, L"Trace page host") {}

    // Ports COM3, COM5 and COM7, all counted; no trace.
    void SetUp() override
    {
        SetPorts({3, 5, 7});
        g_deviceCount = 3;
        g_traceSelection.enabled = 0;
        g_traceSelection.comNumber = 0;
    }
    void TearDown() override
    {
        ClearPortTable();
        g_deviceCount = 0;
        g_traceSelection.enabled = 0;
        g_traceSelection.comNumber = 0;
    }

    static void SetPorts(const std::vector<UINT>& comNumbers)
    {
        ClearPortTable();
        for (UINT com : comNumbers) {
            CSVT_ComInfo record;
            record.keyNumber = com;
            record.ComPort = com;
            g_portTable.Add(record);
        }
    }

    // Runs the steps with the page made and shown in the host dialog.
    void Run(std::vector<uitest::Step> steps)
    {
        CDialog dlg;
        ASSERT_TRUE(dlg.InitModalIndirect(host.Get()));
        steps.insert(steps.begin(), Do([this](CWnd& wnd) {
                         ASSERT_TRUE(page.Create(CTraceDlg::IDD, &wnd));
                         page.ShowWindow(SW_SHOW);
                     }));
        steps.push_back(Do([this](CWnd&) { page.DestroyWindow(); }));
        ui.RunModal(dlg, std::move(steps));
    }

    HWND ListWnd() { return page.m_portList.GetSafeHwnd(); }

    uitest::DialogTemplate host;
    uitest::UiHarness ui;
    CTraceDlg page;
};

TEST_F(TracePage, StartsWithEmptyLogsZeroCountersAndOneCheckableItemPerPort)
{
    EXPECT_EQ(-1, page.TracedCom);
    EXPECT_EQ(0, page.HexMode);
    Run({Do([this](CWnd&) {
        EXPECT_EQ(L"", uitest::WindowText(page.m_firstLog.m_hWnd));
        EXPECT_EQ(L"", uitest::WindowText(page.m_secondLog.m_hWnd));
        EXPECT_EQ(L"0", uitest::WindowText(page.m_firstCount.m_hWnd));
        EXPECT_EQ(L"0", uitest::WindowText(page.m_secondCount.m_hWnd));
        EXPECT_EQ(L"RX Bytes:", uitest::WindowText(page.m_rxLabel.m_hWnd));
        EXPECT_EQ(L"TX Bytes:", uitest::WindowText(page.m_txLabel.m_hWnd));
        EXPECT_EQ(10000u, page.m_firstLog.GetLimitText());
        EXPECT_EQ(10000u, page.m_secondLog.GetLimitText());

        EXPECT_EQ(0x40005u, page.m_portList.GetExtendedStyle());
        LVCOLUMNW column = {};
        wchar_t title[32] = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title;
        column.cchTextMax = 32;
        ASSERT_TRUE(page.m_portList.SendMessage(LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(std::wstring(L"COM Port"), title);
        EXPECT_EQ(80, column.cx);
        ASSERT_EQ(3, uitest::ListViewRowCount(ListWnd()));
        EXPECT_EQ(L"COM3", uitest::ListViewCellText(ListWnd(), 0, 0));
        EXPECT_EQ(L"COM7", uitest::ListViewCellText(ListWnd(), 2, 0));
        EXPECT_TRUE(CheckedItems(page.m_portList).empty());

        CRect client;
        page.GetClientRect(&client);
        EXPECT_EQ(client, page.ClientRect);

        EXPECT_TRUE(HasLook(page.m_startStopButton, IDI_TRACE_START_HOVER, IDI_TRACE_START, L"Ready"));
        EXPECT_TRUE(HasLook(page.m_clearButton, IDI_TRACE_CLEAR_HOVER, IDI_TRACE_CLEAR, L"Clean all the log"));
        EXPECT_TRUE(HasLook(page.m_hexCharButton, IDI_TRACE_TO_HEX_HOVER, IDI_TRACE_TO_HEX, L"Char to HEX"));
        EXPECT_TRUE(HasLook(page.m_configButton, IDI_TRACE_CONFIG_HOVER, IDI_TRACE_CONFIG, L"Configuration"));
    })});
}

TEST_F(TracePage, ListsOnlyTheRowsThatDeviceCountCountsAndRefillsWhenShown)
{
    g_deviceCount = 2;
    Run({Do([this](CWnd&) {
        EXPECT_EQ(2, uitest::ListViewRowCount(ListWnd()));
        g_deviceCount = 3;
        page.ShowWindow(SW_HIDE);
        page.ShowWindow(SW_SHOW);
        EXPECT_EQ(3, uitest::ListViewRowCount(ListWnd()));
        // More rows counted than the table holds: the table's rows.
        g_deviceCount = 9;
        page.ShowWindow(SW_HIDE);
        page.ShowWindow(SW_SHOW);
        EXPECT_EQ(3, uitest::ListViewRowCount(ListWnd()));
    })});
}

TEST_F(TracePage, CheckingAPortUnchecksTheOtherAndTracesTheNewOne)
{
    // The last port first: every other box is unchecked, the last one too.
    Run({Do([this](CWnd&) {
             const POINT box = CheckBoxPoint(ListWnd(), 2);
             uitest::ClickAt(ListWnd(), box.x, box.y);
         }),
         WaitUntil([this](CWnd&) { return page.TracedCom == 7; }), Do([this](CWnd&) {
             EXPECT_EQ(std::vector<int>{2}, CheckedItems(page.m_portList));
             const POINT box = CheckBoxPoint(ListWnd(), 1);
             uitest::ClickAt(ListWnd(), box.x, box.y);
         }),
         WaitUntil([this](CWnd&) { return page.TracedCom == 5; }),
         Do([this](CWnd&) { EXPECT_EQ(std::vector<int>{1}, CheckedItems(page.m_portList)); })});
    EXPECT_EQ(5, page.TracedCom);
}

TEST_F(TracePage, UncheckingTheTracedPortEndsTheTraceSelectionOtherPortsChangeNothing)
{
    Run({Do([this](CWnd&) {
             page.m_portList.SetCheck(0, TRUE);  // COM3
             page.m_portList.SetCheck(2, TRUE);  // COM7, traced now
             ASSERT_EQ(7, page.TracedCom);
             g_traceSelection.enabled = 1;
             g_traceSelection.comNumber = 7;
             uitest::Click(page.m_startStopButton.m_hWnd);
         }),
         WaitUntil([](CWnd&) { return g_traceSelection.enabled == 0; }), Do([this](CWnd&) {
             EXPECT_TRUE(HasLook(page.m_startStopButton, IDI_TRACE_STOP_HOVER, IDI_TRACE_STOP, L"Stop"));

             page.m_portList.SetCheck(0, FALSE);  // not the traced port
             EXPECT_EQ(7, page.TracedCom);
             EXPECT_EQ(7, g_traceSelection.comNumber);
             EXPECT_TRUE(HasLook(page.m_startStopButton, IDI_TRACE_STOP_HOVER, IDI_TRACE_STOP, L"Stop"));

             page.m_portList.SetCheck(2, FALSE);
             EXPECT_EQ(-1, page.TracedCom);
             EXPECT_EQ(0, g_traceSelection.enabled);
             EXPECT_EQ(255, g_traceSelection.comNumber);
             EXPECT_TRUE(HasLook(page.m_startStopButton, IDI_TRACE_START_HOVER, IDI_TRACE_START, L"Ready"));
         })});
}

TEST_F(TracePage, AnItemBeyondThePortTableChangesNothing)
{
    Run({Do([this](CWnd&) {
        page.m_portList.SetCheck(0, TRUE);
        ASSERT_EQ(3, page.TracedCom);
        RemovePortTableEntry(2);  // the table shrinks under the list
        page.m_portList.SetCheck(2, TRUE);
        EXPECT_EQ(3, page.TracedCom);
        SetPorts({});
        page.m_portList.SetCheck(0, FALSE);
        EXPECT_EQ(3, page.TracedCom);
    })});
}

TEST_F(TracePage, StartStopActsOnlyOnARunningTrace)
{
    Run({Do([this](CWnd&) {
             page.m_portList.SetCheck(2, TRUE);  // COM7
             uitest::Click(page.m_startStopButton.m_hWnd);
         }),
         Do([this](CWnd&) {
             EXPECT_EQ(0, g_traceSelection.enabled);
             EXPECT_EQ(0, g_traceSelection.comNumber);
             EXPECT_TRUE(HasLook(page.m_startStopButton, IDI_TRACE_START_HOVER, IDI_TRACE_START, L"Ready"));
             g_traceSelection.enabled = 1;
             uitest::Click(page.m_startStopButton.m_hWnd);
         }),
         WaitUntil([](CWnd&) { return g_traceSelection.enabled == 0; }), Do([this](CWnd&) {
             EXPECT_EQ(7, g_traceSelection.comNumber);
             EXPECT_TRUE(HasLook(page.m_startStopButton, IDI_TRACE_STOP_HOVER, IDI_TRACE_STOP, L"Stop"));
         })});
}

TEST_F(TracePage, TheHexCharButtonSwitchesModeIconsAndTooltip)
{
    Run({Do([this](CWnd&) { uitest::Click(page.m_hexCharButton.m_hWnd); }),
         WaitUntil([this](CWnd&) { return page.HexMode == 1; }), Do([this](CWnd&) {
             EXPECT_TRUE(HasLook(page.m_hexCharButton, IDI_TRACE_TO_CHAR_HOVER, IDI_TRACE_TO_CHAR, L"HEX to Char"));
             uitest::Click(page.m_hexCharButton.m_hWnd);
         }),
         WaitUntil([this](CWnd&) { return page.HexMode == 0; }), Do([this](CWnd&) {
             EXPECT_TRUE(HasLook(page.m_hexCharButton, IDI_TRACE_TO_HEX_HOVER, IDI_TRACE_TO_HEX, L"Char to HEX"));
         })});
}

TEST_F(TracePage, DeleteClearsTheLogsAndCountersEnterEscapeAndF1DoNothing)
{
    bool hostOpen = false;
    Run({Do([this](CWnd&) {
             page.m_firstLog.SetWindowText(L"123");
             page.m_secondLog.SetWindowText(L"abc");
             page.m_firstCount.SetWindowText(L"3");
             page.m_secondCount.SetWindowText(L"3");
             for (UINT vk : {VK_RETURN, VK_ESCAPE, VK_F1})
                 uitest::PressKey(ListWnd(), vk);
         }),
         Do([this, &hostOpen](CWnd& dlg) {
             // Escape would have ended the host dialog.
             hostOpen = dlg.IsWindowVisible() != FALSE;
             EXPECT_EQ(L"123", uitest::WindowText(page.m_firstLog.m_hWnd));
             uitest::PressKey(ListWnd(), VK_DELETE);
         }),
         WaitUntil([this](CWnd&) { return uitest::WindowText(page.m_firstLog.m_hWnd).empty(); }), Do([this](CWnd&) {
             EXPECT_EQ(L"", uitest::WindowText(page.m_secondLog.m_hWnd));
             EXPECT_EQ(L"0", uitest::WindowText(page.m_firstCount.m_hWnd));
             EXPECT_EQ(L"0", uitest::WindowText(page.m_secondCount.m_hWnd));
         })});
    EXPECT_TRUE(hostOpen);
    EXPECT_EQ(1, ui.DialogsEndedByHarness());
}

TEST_F(TracePage, LogsAreWhiteOnBlackLabelsAndCountersBlackOnWhite)
{
    Run({Do([this](CWnd&) {
        HDC hdc = ::CreateCompatibleDC(nullptr);
        auto colours = [&](UINT message, HWND hControl, COLORREF& text, COLORREF& back) {
            ::SetTextColor(hdc, RGB(1, 2, 3));
            ::SetBkColor(hdc, RGB(4, 5, 6));
            HBRUSH hBrush = reinterpret_cast<HBRUSH>(
                page.SendMessage(message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hControl)));
            text = ::GetTextColor(hdc);
            back = ::GetBkColor(hdc);
            LOGBRUSH brush = {};
            ::GetObjectW(hBrush, sizeof(brush), &brush);
            return std::make_pair(hBrush, brush.lbColor);
        };
        COLORREF text = 0;
        COLORREF back = 0;
        for (CWnd* log : {static_cast<CWnd*>(&page.m_firstLog), static_cast<CWnd*>(&page.m_secondLog)}) {
            const auto brush = colours(WM_CTLCOLORSTATIC, log->m_hWnd, text, back);
            EXPECT_EQ(RGB(0, 0, 0), brush.second);
            EXPECT_EQ(RGB(255, 255, 255), text);
            EXPECT_EQ(RGB(0, 0, 0), back);
            // One black brush for both logs and every paint.
            EXPECT_EQ(brush.first, colours(WM_CTLCOLOREDIT, log->m_hWnd, text, back).first);
        }
        for (CWnd* label : {static_cast<CWnd*>(&page.m_firstCount), static_cast<CWnd*>(&page.m_secondCount),
                            static_cast<CWnd*>(&page.m_rxLabel), static_cast<CWnd*>(&page.m_txLabel)}) {
            EXPECT_EQ(RGB(255, 255, 255), colours(WM_CTLCOLORSTATIC, label->m_hWnd, text, back).second);
            EXPECT_EQ(RGB(0, 0, 0), text);
            EXPECT_EQ(RGB(255, 255, 255), back);
        }
        EXPECT_EQ(RGB(255, 255, 255), colours(WM_CTLCOLORDLG, page.m_hWnd, text, back).second);
        EXPECT_EQ(RGB(255, 255, 255), colours(WM_CTLCOLORBTN, page.m_clearButton.m_hWnd, text, back).second);
        ::DeleteDC(hdc);
    })});
}

// The program constructs the page and never makes its window, so nothing ever asks the status
// device for a trace.
class TracePageInTheProgram : public SimMachineTest {};

TEST_F(TracePageInTheProgram, IsNeverShownAndNoTraceIsRequested)
{
    ASSERT_TRUE(simtest::CreatePorts({3}));
    ASSERT_TRUE(simtest::ClearRequestLog());
    CWinApp app;
    uitest::UiHarness ui;
    CSVT_SarventoCtlDlg dlg;
    app.m_pMainWnd = &dlg;
    const DWORD start = ::GetTickCount();
    ui.RunModal(dlg, {Do([](CWnd& wnd) {
                          HWND hTab = ::GetDlgItem(wnd.m_hWnd, IDC_TAB);
                          ::SendMessageW(hTab, TCM_SETCURSEL, 1, 0);
                          NMHDR change = {hTab, IDC_TAB, TCN_SELCHANGE};
                          wnd.SendMessage(WM_NOTIFY, IDC_TAB, reinterpret_cast<LPARAM>(&change));
                      }),
                      WaitUntil([start](CWnd&) { return ::GetTickCount() - start > 600; })});
    app.m_pMainWnd = nullptr;

    EXPECT_EQ(nullptr, g_traceDlg.GetSafeHwnd());
    EXPECT_EQ(0, g_traceSelection.enabled);
    EXPECT_EQ(0, g_traceSelection.comNumber);
    EXPECT_GT(simtest::CountRequests(IOCTL_READ_LINE_STATES), 0u);
    EXPECT_EQ(0u, simtest::CountRequests(IOCTL_SET_TRACE));
}

}  // namespace
