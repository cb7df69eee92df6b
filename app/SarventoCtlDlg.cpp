// The main dialog.
#include "app/SarventoCtlDlg.h"

#include "app/AboutDlg.h"
#include "app/ComDBDlg.h"
#include "app/DriverInstall.h"
#include "app/Globals.h"
#include "app/KeyFilter.h"
#include "app/MonitorDlg.h"
#include "app/PortInfoDlg.h"
#include "app/PortSettings.h"
#include "app/PortTable.h"
#include "app/ShellLayout.h"
#include "app/UncoveredRepaint.h"
#include "app/Uninstall.h"
#include "framework/platform.h"

#include <shellapi.h>

namespace {

// The maker's download page, opened by About > Help.
const wchar_t kDownloadPage[] = L"https://www.kolbrant.com/download_center/download_new.php?dno=2&fno=3&c2=22";

const wchar_t kReady[] = L"  Ready";

// Posted by the initialisation when the load could not read the port devices: the box comes once
// the main window is on the screen, in front of it.
const UINT WM_REPORT_DEVICES_NOT_READ = WM_APP + 1;

struct ToolButtonSpec {
    UINT nID;
    UINT nHoverIcon;
    UINT nNormalIcon;
    const wchar_t* tooltip;
};

const ToolButtonSpec kToolButtons[4] = {
    {IDC_BTN_ADD, IDI_TOOL_ADD_HOVER, IDI_TOOL_ADD, L"Add port(s)"},
    {IDC_BTN_DELETE, IDI_TOOL_DELETE_HOVER, IDI_TOOL_DELETE, L"Delete port(s)"},
    {IDC_BTN_APPLY, IDI_TOOL_APPLY_HOVER, IDI_TOOL_APPLY, L"Apply with currently set values"},
    {IDC_BTN_REVERT, IDI_TOOL_REVERT_HOVER, IDI_TOOL_REVERT, L"Revert settings to original values"},
};

// An icon of the program's at the size stored in the resources; the caller owns it.
HICON LoadStoredIcon(UINT nID)
{
    return static_cast<HICON>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
}

// Gives a tool button its icons (it owns them from then on), tooltip and hover cursor.
void SetUpToolButton(ToolButton& button, const ToolButtonSpec& spec)
{
    HICON hHover = LoadStoredIcon(spec.nHoverIcon);
    HICON hNormal = LoadStoredIcon(spec.nNormalIcon);
    if (hHover == nullptr && hNormal != nullptr) {
        // Without a hover icon the button shows none and would not take the normal one.
        ::DestroyIcon(hNormal);
        hNormal = nullptr;
    }
    button.SetIcons(hHover, hNormal);
    button.ShiftBackColor();
    button.SetTooltipText(spec.tooltip);
    button.SetHoverCursor();
}

// Major version * 10 + minor version; nothing better than 0 is known when the version cannot
// be read.
int OsVersionCode()
{
    const SystemVersion version = ReadSystemVersion();
    return static_cast<int>(version.major * 10 + version.minor);
}

}  // namespace

CSVT_SarventoCtlDlg::CSVT_SarventoCtlDlg(CWnd* pParent)
    : CDialogEx(IDD, pParent),
      // Loaded shared at the system's icon size: it is never destroyed.
      m_hIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

CSVT_SarventoCtlDlg::~CSVT_SarventoCtlDlg() = default;

void CSVT_SarventoCtlDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TAB, m_tab);
    for (int i = 0; i < 4; ++i)
        DDX_Control(pDX, static_cast<int>(kToolButtons[i].nID), m_toolButtons[i]);
}

// clang-format off
BEGIN_MESSAGE_MAP(CSVT_SarventoCtlDlg, CDialogEx)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_LBUTTONDOWN()
    ON_WM_SIZE()
    ON_NOTIFY(TCN_SELCHANGE, IDC_TAB, &CSVT_SarventoCtlDlg::OnTcnSelchangeTab)
    ON_COMMAND(ID_FILE_EXIT, &CDialog::OnOK)
    ON_COMMAND(ID_APP_ABOUT, &CSVT_SarventoCtlDlg::OnAbout)
    ON_COMMAND(ID_COMDB, &CSVT_SarventoCtlDlg::OnComDBSetting)
    ON_COMMAND(ID_HELP_WEB, &CSVT_SarventoCtlDlg::OnHelp)
    ON_COMMAND(ID_INSTALL, &CSVT_SarventoCtlDlg::OnInstall)
    ON_COMMAND(ID_UNINSTALL, &CSVT_SarventoCtlDlg::OnUninstall)
    ON_BN_CLICKED(IDC_BTN_ADD, &CSVT_SarventoCtlDlg::OnBnClickedAdd)
    ON_COMMAND(ID_PORT_ADD, &CSVT_SarventoCtlDlg::OnAddPorts)
    ON_BN_CLICKED(IDC_BTN_DELETE, &CSVT_SarventoCtlDlg::OnDeletePorts)
    ON_COMMAND(ID_PORT_DELETE, &CSVT_SarventoCtlDlg::OnDeletePorts)
    ON_COMMAND(ID_PORT_DELETEALL, &CSVT_SarventoCtlDlg::OnDeleteAllPorts)
    ON_BN_CLICKED(IDC_BTN_APPLY, &CSVT_SarventoCtlDlg::OnBnClickedApply)
    ON_BN_CLICKED(IDC_BTN_REVERT, &CSVT_SarventoCtlDlg::OnBnClickedRevert)
END_MESSAGE_MAP()
// clang-format on

BOOL CSVT_SarventoCtlDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    AddAboutToSystemMenu();
    g_hMainWnd = m_hWnd;
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    g_osVersion = OsVersionCode();
    LoadMenuBar();

    m_fontInUse.CreateFont(16, 10, 0, 0, 900, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    m_fontReady.CreatePointFont(100, L"Arial");

    InitButtons();

    DWORD deviceCount = 0;
    ReadRegDword(SVT_PARAMETERS_KEY, kDeviceCountValue, deviceCount);  // 0 when missing
    g_deviceCount = static_cast<int>(deviceCount);
    ClearPortTable();
    const bool devicesRead = LoadPortTable();

    InitTabs();

    // The WM_SIZE that follows lays the children out.
    MoveWindow(0, 0, 700, 500, FALSE);
    // A message that cannot be posted leaves the box to come before the window.
    if (!devicesRead && !PostMessage(WM_REPORT_DEVICES_NOT_READ))
        ReportPortDevicesNotRead();
    return TRUE;
}

void CSVT_SarventoCtlDlg::AddAboutToSystemMenu()
{
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu == nullptr)
        return;
    CString text;
    if (!text.LoadString(IDS_ABOUTBOX) || text.IsEmpty())
        return;
    pSysMenu->AppendMenu(MF_SEPARATOR);
    pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, text);
}

void CSVT_SarventoCtlDlg::LoadMenuBar()
{
    // The bar stays with the window, which destroys it; without one the dialog works on.
    CMenu menu;
    if (menu.LoadMenu(IDR_MAINMENU) && SetMenu(&menu))
        menu.Detach();
}

void CSVT_SarventoCtlDlg::InitButtons()
{
    for (int i = 0; i < 4; ++i)
        SetUpToolButton(m_toolButtons[i], kToolButtons[i]);
}

void CSVT_SarventoCtlDlg::InitTabs()
{
    m_tab.InsertItem(0, L"Port Info");
    m_tab.InsertItem(1, L"Status");

    CRect tabRect;
    m_tab.GetWindowRect(&tabRect);
    ScreenToClient(&tabRect);
    PageRect = PageRectFromTab(tabRect);

    // Moving a page to a non-zero place is what makes it set its list up.
    if (g_portInfoDlg.Create(CSVT_PortInfoDlg::IDD, this)) {
        g_portInfoDlg.MoveWindow(&PageRect, TRUE);
        g_portInfoDlg.ShowWindow(SW_SHOW);
    }
    if (g_monitorDlg.Create(CSVT_MonitorDlg::IDD, this))
        g_monitorDlg.MoveWindow(&PageRect, TRUE);

    for (int i = 0; i < 4; ++i)
        m_toolButtons[i].MoveWindow(ToolButtonRect(i, PageRect.left, PageRect.top), FALSE);

    CreateStatusBar();

    // The pages and buttons lie over the tab control's display area: the tab control goes below
    // all of them, so that its painting never covers them.
    ::SetWindowPos(m_tab.GetSafeHwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    LayoutReady = 1;
}

void CSVT_SarventoCtlDlg::CreateStatusBar()
{
    static const UINT indicators[] = {IDS_INDICATOR_0, IDS_INDICATOR_1};
    if (!g_statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, AFX_IDW_STATUS_BAR))
        return;
    if (!g_statusBar.SetIndicators(indicators, 2))
        return;
    CRect client;
    GetClientRect(&client);
    SetStatusPaneWidth(client.Width());
    g_statusBar.SetPaneText(0, kReady);
}

// Pane 0 is as wide as the dialog, which puts pane 1 beyond the right edge.
void CSVT_SarventoCtlDlg::SetStatusPaneWidth(int cx)
{
    if (g_statusBar.GetSafeHwnd() != nullptr && g_statusBar.GetCount() > 0)
        g_statusBar.SetPaneInfo(0, IDS_INDICATOR_0, SBPS_NORMAL, cx);
}

void CSVT_SarventoCtlDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialogEx::OnSize(nType, cx, cy);
    ClientSize.cx = static_cast<UINT>(cx);
    ClientSize.cy = static_cast<UINT>(cy);
    // Setting the menu bar resizes the dialog before its children exist.
    if (!LayoutReady)
        return;

    const ShellLayout layout = ComputeShellLayout(cx, cy, PageRect.left, PageRect.top);
    g_portInfoDlg.MoveWindow(&layout.portPage, TRUE);
    g_portInfoDlg.ResizeList(layout.portPage.Width(), layout.portPage.Height());
    g_monitorDlg.MoveWindow(&layout.monitorPage, FALSE);
    // The monitor draws only the cells that change: what the move uncovers is repainted here.
    MoveRepaintingUncovered(g_monitorDlg.m_list, layout.monitorList);
    m_tab.MoveWindow(&layout.tab, TRUE);

    CRect client;
    GetClientRect(&client);
    SetStatusPaneWidth(client.Width());
    g_statusBar.MoveWindow(client.left, client.bottom - 20, client.Width(), 20, TRUE);

    m_tab.InvalidateRect(nullptr, FALSE);
}

void CSVT_SarventoCtlDlg::ShowToolButtons(int nCmdShow)
{
    for (ToolButton& button : m_toolButtons)
        button.ShowWindow(nCmdShow);
}

void CSVT_SarventoCtlDlg::OnTcnSelchangeTab(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    const bool sized = ClientSize.cx != 0 && ClientSize.cy != 0;
    const ShellLayout layout = ComputeShellLayout(static_cast<int>(ClientSize.cx), static_cast<int>(ClientSize.cy),
                                                  PageRect.left, PageRect.top);
    switch (m_tab.GetCurSel()) {
        case 0:
            g_currentTab = 0;
            g_portInfoDlg.ShowWindow(SW_SHOW);
            g_monitorDlg.ShowWindow(SW_HIDE);
            if (sized)
                g_portInfoDlg.MoveWindow(&layout.portPage, FALSE);
            ShowToolButtons(SW_SHOW);
            break;
        case 1:
            g_currentTab = 1;
            g_portInfoDlg.ShowWindow(SW_HIDE);
            g_monitorDlg.ShowWindow(SW_SHOW);
            // The monitor page also covers the strip where the tool buttons stood.
            if (sized)
                g_monitorDlg.MoveWindow(&layout.monitorPage, FALSE);
            ShowToolButtons(SW_HIDE);
            break;
        default:
            break;
    }
    *pResult = 0;
}

BOOL CSVT_SarventoCtlDlg::PreTranslateMessage(MSG* pMsg)
{
    // Enter and Escape would end the dialog, and F1 asks for help there is none of: the dialog
    // closes only by Exit, the close box or the system menu.
    if (IsFilteredKey(pMsg))
        return TRUE;
    return CDialogEx::PreTranslateMessage(pMsg);
}

LRESULT CSVT_SarventoCtlDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PORT_IN_USE)
        ShowPortInUse(static_cast<int>(lParam));
    if (message == WM_REPORT_DEVICES_NOT_READ) {
        ReportPortDevicesNotRead();
        return 0;
    }
    return CDialogEx::WindowProc(message, wParam, lParam);
}

// Runs inside the sender's SendMessage: the sender waits while the text shows.
void CSVT_SarventoCtlDlg::ShowPortInUse(int comNumber)
{
    if (g_statusBar.GetSafeHwnd() == nullptr)
        return;
    if (m_fontInUse.GetSafeHandle() != nullptr)
        g_statusBar.SetFont(&m_fontInUse, TRUE);
    CString text;
    text.Format(L"  COM%d is in use currently", comNumber);
    g_statusBar.SetPaneText(0, text);
    // Painted now: nothing else runs on this thread during the pause. A window system that
    // copies a window's drawing to the screen only when its thread waits (Wine does) would show
    // nothing of it before "  Ready" replaces it; a wait that ends at once, and lets no message
    // in, hands the drawing over first.
    g_statusBar.UpdateWindow();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, 0);

    ::Sleep(400);

    if (m_fontReady.GetSafeHandle() != nullptr)
        g_statusBar.SetFont(&m_fontReady, TRUE);
    g_statusBar.SetPaneText(0, kReady);
}

void CSVT_SarventoCtlDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CSVT_AboutDlg dlg;
        dlg.DoModal();
        return;
    }
    CDialogEx::OnSysCommand(nID, lParam);
}

void CSVT_SarventoCtlDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialogEx::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CSVT_SarventoCtlDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

// A press anywhere in the client area drags the dialog as the caption would.
void CSVT_SarventoCtlDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    // The caption's drag expects the point in screen coordinates.
    CPoint screen = point;
    ClientToScreen(&screen);
    DefWindowProc(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
    CDialogEx::OnLButtonDown(nFlags, point);
}

void CSVT_SarventoCtlDlg::OnAbout()
{
    CSVT_AboutDlg dlg;
    dlg.DoModal();
}

// The dialog writes the database itself; whatever it ends with, there is nothing to do here.
void CSVT_SarventoCtlDlg::OnComDBSetting()
{
    CSVT_ComDBDlg dlg(this);
    dlg.DoModal();
}

void CSVT_SarventoCtlDlg::OnHelp()
{
    // Without a browser nothing opens; there is nothing else to do about it.
    ::ShellExecuteW(m_hWnd, L"open", kDownloadPage, nullptr, nullptr, SW_SHOWNORMAL);
}

// The installer looks at the machine afterwards, not at a result.
void CSVT_SarventoCtlDlg::OnInstall()
{
    InstallDrivers();
}

// The pages then show what is left, as after a delete: a row of a port that has gone would have
// Apply write its settings back into keys that no longer exist.
void CSVT_SarventoCtlDlg::OnUninstall()
{
    UninstallProduct();
    const bool devicesRead = LoadPortTable();
    g_portInfoDlg.FillList();
    g_monitorDlg.Refresh();
    if (!devicesRead)
        ReportPortDevicesNotRead();
}
