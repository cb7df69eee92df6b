// The "Port Info" tab page.
#include "app/PortInfoDlg.h"

#include "app/ComUsage.h"
#include "app/DeviceParamWriter.h"
#include "app/Globals.h"
#include "app/KeyFilter.h"
#include "app/PortListColumns.h"
#include "app/PortSettings.h"
#include "app/PortTable.h"
#include "app/PortText.h"
#include "app/StatusDevice.h"
#include "app/UncoveredRepaint.h"
#include "controls/grid/CGridColumnTraitCombo.h"
#include "controls/grid/CGridColumnTraitEdit.h"
#include "controls/grid/CGridRowTraitXP.h"

#include <wchar.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The longest alias the load of the port table reads back; a longer one would be lost there.
constexpr int kMaxAliasChars = kRegStringChars - 1;
constexpr UINT kMaxTriggerLevel = 255;
constexpr UINT kMaxNetworkPort = 65535;

// What a row holds for its port, read from its cells and checked before anything is written.
struct RowSettings {
    int com = 0;
    bool open = false;  // the port is in use: nothing of the row is written
    bool writeAlias = true;
    DWORD triggerLevel = 0;
    CString alias;
    bool writeAddress = false;
    DWORD address = 0;
    DWORD port = 0;
    bool writeProtocol = false;
    UINT protocol = 0;
};

// What a row knows of its port beyond its cells, kept in its item data, which stays with the row
// when the list is sorted or its rows are moved: the key number of the port's subkey, and
// whether the alias cell is empty because the stored alias could not be read.
constexpr DWORD_PTR kKeyNumberMask = 0xFFFF;
constexpr DWORD_PTR kAliasNotReadFlag = 0x10000;

DWORD_PTR RowData(const CSVT_ComInfo& record)
{
    return record.keyNumber | (record.AliasNotRead ? kAliasNotReadFlag : 0);
}

// The number that starts the text (as wcstol reads it), when it lies from 1 to max.
bool ReadNumberUpTo(const CString& text, UINT max, DWORD& number)
{
    const long n = wcstol(text, nullptr, 10);
    if (n < 1 || static_cast<unsigned long>(n) > max)
        return false;
    number = static_cast<DWORD>(n);
    return true;
}

// The message of a cell that holds no number Apply can store: the row's port, the column and the
// range, in the words of the add-port dialog's own check.
void RefuseCell(PortList& list, int row, int column, UINT max)
{
    CString maxText;
    maxText.Format(L"%u", max);
    CString rule;
    AfxFormatString2(rule, AFX_IDP_PARSE_INT_RANGE, L"1", maxText);
    CString text;
    text.Format(L"%s, %s: %s", list.GetItemText(row, PORTCOL_COMPORT).GetString(), kPortListColumns[column].title,
                rule.GetString());
    AfxMessageBox(text, MB_OK);
}

// Reads a row's cells into settings; false, after the message, when a number is out of range.
bool ReadRow(PortList& list, int row, DWORD_PTR data, RowSettings& settings)
{
    if (!ReadNumberUpTo(list.GetItemText(row, PORTCOL_TRIGGER), kMaxTriggerLevel, settings.triggerLevel)) {
        RefuseCell(list, row, PORTCOL_TRIGGER, kMaxTriggerLevel);
        return false;
    }
    if (!ReadNumberUpTo(list.GetItemText(row, PORTCOL_PORT), kMaxNetworkPort, settings.port)) {
        RefuseCell(list, row, PORTCOL_PORT, kMaxNetworkPort);
        return false;
    }
    settings.alias = list.GetItemText(row, PORTCOL_ALIAS);
    if (settings.alias.GetLength() > kMaxAliasChars)
        settings.alias = settings.alias.Left(kMaxAliasChars);
    // An alias the load could not read shows empty: it is kept unless the user typed one.
    settings.writeAlias = (data & kAliasNotReadFlag) == 0 || !settings.alias.IsEmpty();
    // An address with a component beyond a byte does not mean any address: the stored one stays.
    const CString address = list.GetItemText(row, PORTCOL_IPADDRESS);
    settings.writeAddress = SplitIpAddress(address).InRange();
    settings.address = ParseIpAddress(address);
    settings.writeProtocol = ParseProtocol(list.GetItemText(row, PORTCOL_PROTOCOL), settings.protocol);
    return true;
}

// Writes a row's settings into its port's subkey (one open for all of them) and its device, in
// the order the settings store lists them. A port whose subkey has gone, or has become a link,
// gets nothing, and nothing is made for it.
void WriteRow(CDeviceParamWriter& devices, const RowSettings& settings)
{
    PortSubkeyWriter subkey(static_cast<UINT>(settings.com));
    if (!subkey.IsOpen())
        return;
    WritePortSetting(subkey, devices, kTxTriggerLevelValue, settings.triggerLevel);
    if (settings.writeAlias && subkey.WriteString(kAliasValue, settings.alias))
        WriteDeviceParamString(static_cast<UINT>(settings.com), kAliasValue, settings.alias);
    if (settings.writeAddress)
        WritePortSetting(subkey, devices, kIPaddressValue, settings.address);
    WritePortSetting(subkey, devices, kPortValue, settings.port);
    if (settings.writeProtocol)
        WritePortSetting(subkey, devices, kProtocolValue, settings.protocol);
    WritePortSetting(subkey, devices, kAliveRxTimerValue, kDefaultAliveRxTimer);
    WritePortSetting(subkey, devices, kAliveTxTimerValue, kDefaultAliveTxTimer);
}

}  // namespace

CSVT_PortInfoDlg::CSVT_PortInfoDlg() : CDialog(IDD), m_backgroundBrush(RGB(255, 255, 255)) {}

CSVT_PortInfoDlg::~CSVT_PortInfoDlg()
{
    ClearPortTable();
}

void CSVT_PortInfoDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PORTLIST, m_list);
}

// clang-format off
BEGIN_MESSAGE_MAP(CSVT_PortInfoDlg, CDialog)
    ON_WM_MOVE()
    ON_NOTIFY(NM_CLICK, IDC_PORTLIST, &CSVT_PortInfoDlg::OnNmClickList)
    ON_WM_MEASUREITEM()
    ON_WM_DESTROY()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()
// clang-format on

BOOL CSVT_PortInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The columns belong to the list of this window: a new window is set up anew.
    m_setUp = 0;
    return TRUE;
}

BOOL CSVT_PortInfoDlg::PreTranslateMessage(MSG* pMsg)
{
    if (IsFilteredKey(pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

// The main dialog moves the page away from its own origin once it has made it: the first move
// to a place whose x and y are both non-zero sets the list up.
void CSVT_PortInfoDlg::OnMove(int x, int y)
{
    if (x == 0 || y == 0)
        return;
    CDialog::OnMove(x, y);
    if (m_setUp)
        return;
    m_setUp = 1;

    GetClientRect(&m_clientRect);
    m_list.MoveWindow(0, 0, m_clientRect.right - 1, m_clientRect.bottom - 1, FALSE);
    // Replaces every extended style, the grid's own included.
    m_list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    m_list.SetMarginFactor(1.2);
    m_list.SetRowTrait(new CGridRowTraitXP);
    SetUpColumns(m_clientRect.Width(), x);
    FillList();
}

void CSVT_PortInfoDlg::SetUpColumns(int clientWidth, int x)
{
    // The grid owns each trait from its insertion on.
    auto trigger = std::make_unique<CGridColumnTraitCombo>();
    auto protocol = std::make_unique<CGridColumnTraitCombo>();
    auto alias = std::make_unique<CGridColumnTraitEdit>();
    auto address = std::make_unique<CGridColumnTraitEdit>();
    auto port = std::make_unique<CGridColumnTraitEdit>();

    const auto insert = [&](int column, CGridColumnTrait* pTrait) {
        const PortListColumnSpec& spec = kPortListColumns[column];
        const int width = PortColumnSetupWidth(column, clientWidth, x);
        if (pTrait == nullptr)
            m_list.InsertColumn(column, spec.title, spec.format, width);  // a plain text column
        else
            m_list.InsertColumnWithTrait(column, spec.title, spec.format, width, column, pTrait);
    };
    // "No" and "COM Port" are plain columns without a subitem number of their own.
    insert(PORTCOL_NO, nullptr);
    insert(PORTCOL_COMPORT, nullptr);

    CString text;
    for (int level = 1; level <= static_cast<int>(kMaxTriggerLevel); ++level) {
        text.Format(L"%d", level);
        trigger->AddListItem(static_cast<ULONGLONG>(level - 1), text);
    }
    insert(PORTCOL_TRIGGER, trigger.release());
    insert(PORTCOL_ALIAS, alias.release());
    insert(PORTCOL_IPADDRESS, address.release());
    insert(PORTCOL_PORT, port.release());

    protocol->AddListItem(0, L"COM");
    protocol->AddListItem(1, L"Encryption");
    insert(PORTCOL_PROTOCOL, protocol.release());
}

void CSVT_PortInfoDlg::FillList()
{
    m_list.DeleteAllItems();

    // A copy taken under the table's lock: the list is filled without holding it.
    std::vector<CSVT_ComInfo> records;
    {
        CSingleLock lock(&g_portTableLock, TRUE);
        g_deviceCount = static_cast<int>(g_portTable.GetSize());
        records.reserve(static_cast<size_t>(g_deviceCount));
        for (INT_PTR i = 0; i < g_portTable.GetSize(); ++i) {
            // A level outside the offered 1 to 255 shows as the default, which the next Apply
            // stores; the registry keeps its value until then.
            UINT& level = g_portTable[i].TxTriggerLevel;
            if (level == 0 || level > kMaxTriggerLevel)
                level = kDefaultTxTriggerLevel;
            records.push_back(g_portTable[i]);
        }
    }

    // Painted once, when every row is in.
    m_list.SetRedraw(FALSE);
    CString text;
    for (size_t i = 0; i < records.size(); ++i) {
        const CSVT_ComInfo& record = records[i];
        const int row = static_cast<int>(i);
        text.Format(L"%4d", row + 1);
        m_list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, row, text, 0, 0, 0,
                          static_cast<LPARAM>(RowData(record)));
        text.Format(L"COM%u", record.ShownComNumber());
        m_list.SetItemText(row, PORTCOL_COMPORT, text);
        text.Format(L"%u", record.TxTriggerLevel);
        m_list.SetItemText(row, PORTCOL_TRIGGER, text);
        m_list.SetItemText(row, PORTCOL_ALIAS, record.Alias);
        m_list.SetItemText(row, PORTCOL_IPADDRESS, FormatIpAddress(record.IPaddress));
        m_list.SetItemText(row, PORTCOL_PORT, FormatNumber(record.Port));
        m_list.SetItemText(row, PORTCOL_PROTOCOL, FormatProtocol(record.Protocol));
    }
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
}

int CSVT_PortInfoDlg::RowKeyNumber(int row)
{
    return static_cast<int>(m_list.GetItemData(row) & kKeyNumberMask);
}

// Rows are taken in the order the list shows them. Each row is written to its own port: the
// subkey and device of the key number it was filled with, whatever ComPort value the subkey
// holds, so that Apply never makes a subkey (and so a port) that no add made. Every row is read
// and checked first: a cell out of range stops the apply before anything is written, with the
// user's edits still in the list to be corrected.
void CSVT_PortInfoDlg::ApplySettings()
{
    const int rows = std::min(g_deviceCount, m_list.GetItemCount());
    std::vector<RowSettings> settings;
    settings.reserve(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const DWORD_PTR data = m_list.GetItemData(row);
        RowSettings rowSettings;
        rowSettings.com = RowKeyNumber(row);
        if (rowSettings.com < 1 || rowSettings.com > kMaxPortComNumber)
            continue;
        // An open port is never rewritten: the driver holds its settings while it is in use.
        rowSettings.open = IsPortOpen(rowSettings.com);
        if (!rowSettings.open && !ReadRow(m_list, row, data, rowSettings))
            return;
        settings.push_back(rowSettings);
    }

    CDeviceParamWriter devices;
    for (const RowSettings& rowSettings : settings) {
        if (rowSettings.open)
            ::SendMessageW(g_hMainWnd, WM_PORT_IN_USE, 1, rowSettings.com);
        else
            WriteRow(devices, rowSettings);
    }
    Reload();
}

void CSVT_PortInfoDlg::Reload()
{
    const bool devicesRead = LoadPortTable();
    FillList();
    if (!devicesRead)
        ReportPortDevicesNotRead();
}

void CSVT_PortInfoDlg::ResizeList(int width, int height)
{
    MoveRepaintingUncovered(m_list, CRect(0, 0, width, height));
    for (int column = 0; column < PORTCOL_COUNT; ++column)
        m_list.SendMessage(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(PortColumnResizeWidth(column, width), 0));
}

void CSVT_PortInfoDlg::OnNmClickList(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    Invalidate(TRUE);
    *pResult = 0;
}

void CSVT_PortInfoDlg::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (nIDCtl == IDC_PORTLIST)
        lpMeasureItemStruct->itemHeight += 25;
    else
        CDialog::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

void CSVT_PortInfoDlg::OnDestroy()
{
    CDialog::OnDestroy();
    m_list.DeleteAllItems();
}

// White behind the page and every control on it, whatever a control would choose itself.
HBRUSH CSVT_PortInfoDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return m_backgroundBrush;
}
