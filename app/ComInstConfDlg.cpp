#include "app/ComInstConfDlg.h"

#include "app/ComUsage.h"
#include "app/Globals.h"

namespace {

enum {
    IDC_START_COM = 1003,
    IDC_COUNT = 1004,
    IDC_PROTOCOL = 1005,
    IDC_PORT = 1006,
    IDC_IP_ADDRESS = 1007,
    IDC_ALIVE_RX = 1009,
    IDC_ALIVE_TX = 1010,
    IDC_ALIAS = 1021,
    IDC_TRIGGER = 1288,
};

const UINT kMaxPorts = 32;
const UINT kMaxComNumber = 255;
const UINT kMaxTcpPort = 65535;
const int kMaxAliasChars = 50;

const wchar_t kNoAddText[] = L"Unable to add ports";

void AddNumbers(CComboBox& combo, int first, int last)
{
    CString text;
    for (int n = first; n <= last; ++n) {
        text.Format(L"%d", n);
        combo.AddString(text);
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CSVT_ComInstConfDlg, CDialogEx)
ON_BN_CLICKED(IDOK, &CSVT_ComInstConfDlg::OnBnClickedOk)
END_MESSAGE_MAP()

CSVT_ComInstConfDlg::CSVT_ComInstConfDlg() : CDialogEx(IDD) {}

CSVT_ComInstConfDlg::~CSVT_ComInstConfDlg() = default;

void CSVT_ComInstConfDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_START_COM, m_cbStartCom);
    DDX_Control(pDX, IDC_COUNT, m_cbCount);
    DDX_Control(pDX, IDC_IP_ADDRESS, m_ipAddress);
    DDX_Control(pDX, IDC_PROTOCOL, m_cbProtocol);
    DDX_Control(pDX, IDC_ALIVE_RX, m_cbAliveRx);
    DDX_Control(pDX, IDC_ALIVE_TX, m_cbAliveTx);
    DDX_Text(pDX, IDC_PORT, m_port);
    DDV_MinMaxUInt(pDX, m_port, 1, kMaxTcpPort);
    DDX_Text(pDX, IDC_ALIAS, m_alias);
    DDV_MaxChars(pDX, m_alias, kMaxAliasChars);
    DDX_Text(pDX, IDC_START_COM, m_startComText);
    DDX_Control(pDX, IDOK, m_btnOk);
    DDX_Control(pDX, IDC_TRIGGER, m_cbTrigger);
}

BOOL CSVT_ComInstConfDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    // A database that did not open has been reported by the map; the other gaps are said here.
    m_mapGap = BuildComUsageMap();
    if (m_mapGap == ComUsageGap::DeviceList || m_mapGap == ComUsageGap::ComDbUsage)
        AfxMessageBox(DescribeComUsageGap(m_mapGap, kNoAddText), MB_OK);
    CString text;
    for (UINT n = 1; m_mapGap == ComUsageGap::None && n <= kMaxComNumber; ++n) {
        if (g_comUsageMap[n - 1] == COMUSE_FREE) {
            text.Format(L"COM%d", n);
            m_cbStartCom.AddString(text);
        }
    }
    m_cbStartCom.SetCurSel(0);

    AddNumbers(m_cbCount, 1, kMaxPorts);
    m_cbCount.SetCurSel(0);

    // "Raw" is not offered for new ports.
    m_cbProtocol.AddString(L"COM");
    m_cbProtocol.AddString(L"Encryption");
    m_cbProtocol.SetCurSel(0);

    AddNumbers(m_cbTrigger, 1, 255);
    m_cbTrigger.SetCurSel(254);
    return TRUE;
}

void CSVT_ComInstConfDlg::OnBnClickedOk()
{
    // A failing rule has shown its message already; OnOK below runs the exchange again and keeps
    // the dialog open then.
    UpdateData(TRUE);

    AddPortRequest& request = g_addPortRequest;
    request.count = static_cast<UINT>(m_cbCount.GetCurSel() + 1);
    request.startCom = m_startComText.IsEmpty() ? 0 : ParseComNumber(m_startComText);

    if (m_port + request.count - 1 > kMaxTcpPort) {
        AfxMessageBox(L"Port number can not exceed 65535.", MB_OK);
        return;
    }

    DWORD address = 0;
    m_ipAddress.GetAddress(address);
    request.ipAddress = address;
    request.firstTcpPort = m_port;
    request.protocol = static_cast<UINT>(m_cbProtocol.GetCurSel());
    request.alias = m_alias;
    request.txTriggerLevel = static_cast<UINT>(m_cbTrigger.GetCurSel() + 1);

    memset(request.chosen, 0, sizeof request.chosen);
    // Numbers are taken only from a whole map, now and when the dialog opened (the user chose
    // from what it offered then).
    const ComUsageGap gap = BuildComUsageMap();
    if (m_mapGap != ComUsageGap::None || gap != ComUsageGap::None) {
        // "ComDBOpen Fail!" of a database that did not open just now has been shown already.
        if (gap != ComUsageGap::ComDbOpen)
            AfxMessageBox(DescribeComUsageGap(gap != ComUsageGap::None ? gap : m_mapGap, kNoAddText), MB_OK);
        return;
    }
    UINT chosen = 0;
    for (UINT n = request.startCom < 1 ? 1 : request.startCom; n <= kMaxComNumber; ++n) {
        if (chosen >= request.count || chosen >= kMaxPorts)
            break;
        if (g_comUsageMap[n - 1] == COMUSE_FREE) {
            request.chosen[n] = 1;
            ++chosen;
        }
    }
    if (chosen < request.count) {
        AfxMessageBox(L"COM number can not exceed 255.", MB_OK);
        return;
    }

    CDialogEx::OnOK();
}
