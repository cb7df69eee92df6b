// The data-trace page.
#include "app/TraceDlg.h"

#include "app/Globals.h"
#include "app/KeyFilter.h"

#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Extended list style: grid lines and check boxes (and LVS_EX_SINGLEROW, 0x40000).
constexpr DWORD kPortListStyle = 0x40005;
constexpr int kPortColumnWidth = 80;
constexpr UINT kLogLimit = 10000;

// A button's look: its icons while hovered or pressed and otherwise, and its tooltip.
struct ButtonLook {
    UINT nHoverIcon;
    UINT nNormalIcon;
    const wchar_t* tooltip;
};

const ButtonLook kReadyLook = {IDI_TRACE_START_HOVER, IDI_TRACE_START, L"Ready"};
const ButtonLook kStoppedLook = {IDI_TRACE_STOP_HOVER, IDI_TRACE_STOP, L"Stop"};
const ButtonLook kClearLook = {IDI_TRACE_CLEAR_HOVER, IDI_TRACE_CLEAR, L"Clean all the log"};
const ButtonLook kToHexLook = {IDI_TRACE_TO_HEX_HOVER, IDI_TRACE_TO_HEX, L"Char to HEX"};
const ButtonLook kToCharLook = {IDI_TRACE_TO_CHAR_HOVER, IDI_TRACE_TO_CHAR, L"HEX to Char"};
const ButtonLook kConfigLook = {IDI_TRACE_CONFIG_HOVER, IDI_TRACE_CONFIG, L"Configuration"};

// An icon of the program's at its stored size; the button that gets it owns it.
HICON LoadButtonIcon(UINT nID)
{
    return static_cast<HICON>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
}

// Hands the button the icons of a look; it owns them from then on.
void SetButtonIcons(CButtonST& button, const ButtonLook& look)
{
    HICON hHover = LoadButtonIcon(look.nHoverIcon);
    HICON hNormal = LoadButtonIcon(look.nNormalIcon);
    if (hHover == nullptr && hNormal != nullptr) {
        // Without its hover icon the button takes none; the normal one would be lost.
        ::DestroyIcon(hNormal);
        hNormal = nullptr;
    }
    button.SetIcons(hHover, hNormal);
}

// Changes the button to another look.
void ShowLook(CButtonST& button, const ButtonLook& look)
{
    SetButtonIcons(button, look);
    button.SetTooltipText(look.tooltip);
}

// The first set-up of a button: its look, its hover colour and its hover cursor.
void SetUpButton(CButtonST& button, const ButtonLook& look)
{
    SetButtonIcons(button, look);
    button.ShiftBackColor();
    button.SetTooltipText(look.tooltip);
    button.SetHoverCursor();
}

// The COM number of row index of the port table; false when the table has no such row.
bool ComNumberOfRow(int index, int& comNumber)
{
    CSingleLock lock(&g_portTableLock, TRUE);
    if (index < 0 || index >= g_portTable.GetSize())
        return false;
    comNumber = static_cast<int>(g_portTable[index].ComPort);
    return true;
}

}  // namespace

CTraceDlg::CTraceDlg() : CDialogEx(IDD)
{
    m_pageBrush.CreateSolidBrush(kWhite);
}

CTraceDlg::~CTraceDlg()
{
    m_logBrush.DeleteObject();
    m_pageBrush.DeleteObject();
}

void CTraceDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TRACE_PORTLIST, m_portList);
    DDX_Control(pDX, IDC_TRACE_STARTSTOP, m_startStopButton);
    DDX_Control(pDX, IDC_TRACE_CLEAR, m_clearButton);
    DDX_Control(pDX, IDC_TRACE_CONFIG, m_configButton);
    DDX_Control(pDX, IDC_TRACE_HEXCHAR, m_hexCharButton);
    DDX_Control(pDX, IDC_TRACE_LOG1, m_firstLog);
    DDX_Control(pDX, IDC_TRACE_LOG2, m_secondLog);
    DDX_Control(pDX, IDC_TRACE_RX_LABEL, m_rxLabel);
    DDX_Control(pDX, IDC_TRACE_TX_LABEL, m_txLabel);
    DDX_Control(pDX, IDC_TRACE_COUNT1, m_firstCount);
    DDX_Control(pDX, IDC_TRACE_COUNT2, m_secondCount);
}

BEGIN_MESSAGE_MAP(CTraceDlg, CDialogEx)
ON_WM_CTLCOLOR()
ON_WM_SHOWWINDOW()
ON_NOTIFY(NM_CLICK, IDC_TRACE_PORTLIST, &CTraceDlg::OnNmClickList)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_TRACE_PORTLIST, &CTraceDlg::OnLvnItemchangedList)
ON_BN_CLICKED(IDC_TRACE_STARTSTOP, &CTraceDlg::OnBnClickedStartStop)
ON_BN_CLICKED(IDC_TRACE_CLEAR, &CTraceDlg::OnBnClickedClear)
ON_BN_CLICKED(IDC_TRACE_HEXCHAR, &CTraceDlg::OnBnClickedHexChar)
ON_WM_MOVE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CTraceDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    m_firstLog.SetWindowText(L"");
    m_secondLog.SetWindowText(L"");
    m_firstCount.SetWindowText(L"0");
    m_secondCount.SetWindowText(L"0");

    m_portList.SetExtendedStyle(kPortListStyle);
    GetClientRect(&ClientRect);
    m_portList.InsertColumn(0, L"COM Port", LVCFMT_CENTER, kPortColumnWidth);
    FillPortList();

    SetUpButton(m_startStopButton, kReadyLook);
    SetUpButton(m_clearButton, kClearLook);
    SetUpButton(m_hexCharButton, HexMode ? kToCharLook : kToHexLook);
    SetUpButton(m_configButton, kConfigLook);

    m_firstLog.SetLimitText(kLogLimit);
    m_secondLog.SetLimitText(kLogLimit);
    return TRUE;
}

void CTraceDlg::FillPortList()
{
    // The numbers are taken first: inserting items sends notifications to this page.
    std::vector<int> comNumbers;
    {
        CSingleLock lock(&g_portTableLock, TRUE);
        for (int row = 0; row < g_deviceCount && row < g_portTable.GetSize(); ++row)
            comNumbers.push_back(static_cast<int>(g_portTable[row].ComPort));
    }
    m_portList.DeleteAllItems();
    for (size_t row = 0; row < comNumbers.size(); ++row) {
        CString text;
        text.Format(L"COM%d", comNumbers[row]);
        m_portList.InsertItem(LVIF_TEXT | LVIF_IMAGE, static_cast<int>(row), text, 0, 0, -1, 0);
    }
}

void CTraceDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CDialogEx::OnShowWindow(bShow, nStatus);
    if (bShow && m_portList.GetSafeHwnd() != nullptr && m_portList.GetItemCount() != g_deviceCount)
        FillPortList();
}

void CTraceDlg::OnMove(int x, int y)
{
    CDialogEx::OnMove(x, y);
}

BOOL CTraceDlg::OnEraseBkgnd(CDC* pDC)
{
    return CDialogEx::OnEraseBkgnd(pDC);
}

BOOL CTraceDlg::PreTranslateMessage(MSG* pMsg)
{
    if (IsFilteredKey(pMsg))
        return TRUE;
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_DELETE)
        OnBnClickedClear();
    return CDialogEx::PreTranslateMessage(pMsg);
}

void CTraceDlg::OnBnClickedClear()
{
    m_firstLog.SetWindowText(L"");
    m_secondLog.SetWindowText(L"");
    m_firstCount.SetWindowText(L"0");
    m_secondCount.SetWindowText(L"0");
}

void CTraceDlg::OnBnClickedHexChar()
{
    HexMode = HexMode ? 0 : 1;
    ShowLook(m_hexCharButton, HexMode ? kToCharLook : kToHexLook);
}

// Nothing in the program starts a trace; the button only ends one that runs.
void CTraceDlg::OnBnClickedStartStop()
{
    if (g_traceSelection.enabled == 0)
        return;
    g_traceSelection.enabled = 0;
    g_traceSelection.comNumber = static_cast<BYTE>(TracedCom & 0xFF);
    ShowLook(m_startStopButton, kStoppedLook);
}

// A click on a check box first unchecks every port; the list then toggles the clicked box, so
// that at most one port is ever checked.
void CTraceDlg::OnNmClickList(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pActivate = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
    LVHITTESTINFO hit = {};
    hit.pt = pActivate->ptAction;
    m_portList.HitTest(&hit);
    if (hit.flags == LVHT_ONITEMSTATEICON) {
        const int count = m_portList.GetItemCount();
        for (int item = 0; item < count; ++item)
            m_portList.SetCheck(item, FALSE);
    }
    *pResult = 0;
}

void CTraceDlg::OnLvnItemchangedList(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pChange = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    *pResult = 0;
    if ((pChange->uChanged & LVIF_STATE) == 0)
        return;
    int comNumber = 0;
    // A row beyond the port table stands for no port.
    if (!ComNumberOfRow(pChange->iItem, comNumber))
        return;
    switch (pChange->uNewState & LVIS_STATEIMAGEMASK) {
        case INDEXTOSTATEIMAGEMASK(2):  // checked
            TracedCom = comNumber;
            break;
        case INDEXTOSTATEIMAGEMASK(1):  // unchecked
            if (comNumber == TracedCom) {
                TracedCom = -1;
                g_traceSelection.enabled = 0;
                g_traceSelection.comNumber = 255;  // the low byte of -1
                ShowLook(m_startStopButton, kReadyLook);
            }
            break;
        default:
            break;
    }
}

HBRUSH CTraceDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CDialogEx::OnCtlColor(pDC, pWnd, nCtlColor);
    const int id = pWnd != nullptr ? pWnd->GetDlgCtrlID() : 0;
    if (id == IDC_TRACE_LOG1 || id == IDC_TRACE_LOG2) {
        if (m_logBrush.GetSafeHandle() == nullptr)
            m_logBrush.CreateSolidBrush(kBlack);
        pDC->SetTextColor(kWhite);
        pDC->SetBkColor(kBlack);
        return m_logBrush;
    }
    if (id >= IDC_TRACE_COUNT1 && id <= IDC_TRACE_TX_LABEL) {
        pDC->SetTextColor(kBlack);
        pDC->SetBkColor(kWhite);
    }
    return m_pageBrush;
}
