// The COM-number database dialog.
#include "app/ComDBDlg.h"

#include "app/ComUsage.h"
#include "app/Globals.h"
#include "app/ScopedHandles.h"

#include <ddk/msports.h>

#include <string.h>

namespace {

// The three looks of a tile. A left press flips a tile's ToggleState and, where SwapColorsOnClick
// is set, exchanges its two colours, so a free tile turns into a claimed one and back.
struct TileLook {
    COLORREF back;
    COLORREF hover;
    BOOL toggleState;  // 1: Apply releases the number; 0: Apply claims it
    BOOL swapColorsOnClick;
};

const COLORREF kPresentColor = RGB(10, 128, 10);
const COLORREF kClaimedColor = RGB(91, 125, 164);
const COLORREF kFreeColor = RGB(158, 157, 187);
const COLORREF kBorderColor = RGB(198, 226, 255);
const CPoint kCornerSize(5, 5);

// Present numbers are claimed whatever their tile shows; their tile never changes colour.
const TileLook kPresentLook = {kPresentColor, kPresentColor, FALSE, FALSE};
const TileLook kClaimedLook = {kClaimedColor, kFreeColor, FALSE, TRUE};
const TileLook kFreeLook = {kFreeColor, kClaimedColor, TRUE, TRUE};

const int kLegendCount = 3;
const UINT kLegendIds[kLegendCount] = {IDC_COMDB_LEGEND_PRESENT, IDC_COMDB_LEGEND_CLAIMED, IDC_COMDB_LEGEND_FREE};
const COLORREF kLegendColors[kLegendCount] = {kPresentColor, kClaimedColor, kFreeColor};

void SetLook(CIXButtonEx& tile, const TileLook& look)
{
    tile.BackColor = look.back;
    tile.HoverBackColor = look.hover;
    tile.ToggleState = look.toggleState;
    tile.SwapColorsOnClick = look.swapColorsOnClick;
}

void SetFrame(CIXButtonEx& tile)
{
    tile.BorderColor = kBorderColor;
    tile.CornerSize = kCornerSize;
}

void SetComTooltip(CIXButtonEx& tile, int comNumber)
{
    CString text;
    text.Format(L"COM%d", comNumber);
    tile.SetTooltipText(text);
}

bool IsPresent(int comNumber)
{
    return g_comUsageMap[comNumber - 1] == COMUSE_PRESENT;
}

// Why a map that lacks the database's claims is not written, in the words shown at opening
// and at Apply.
CString UnwritableMapText(ComUsageGap gap)
{
    return DescribeComUsageGap(gap, L"Unable to apply COM DB");
}

}  // namespace

CSVT_ComDBDlg::CSVT_ComDBDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

// The tiles destroy their tooltips; the windows themselves go with the dialog.
CSVT_ComDBDlg::~CSVT_ComDBDlg() = default;

void CSVT_ComDBDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < kTileCount; ++i)
        DDX_Control(pDX, IDC_COMDB_COM1 + i, m_tiles[i]);
    DDX_Control(pDX, IDC_COMDB_CANCEL, m_cancelButton);
}

// clang-format off
BEGIN_MESSAGE_MAP(CSVT_ComDBDlg, CDialog)
    ON_BN_CLICKED(IDC_COMDB_CLEARALL, &CSVT_ComDBDlg::OnBnClickedClearAll)
    ON_BN_CLICKED(IDC_COMDB_APPLY, &CSVT_ComDBDlg::OnBnClickedApply)
    ON_BN_CLICKED(IDC_COMDB_CANCEL, &CDialog::OnOK)
END_MESSAGE_MAP()
// clang-format on

BOOL CSVT_ComDBDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    memset(g_comUsageMap, COMUSE_FREE, sizeof(g_comUsageMap));
    m_mapGap = BuildComUsageMap();
    // A database that does not open has been reported by the map; the other gaps are said here.
    if (m_mapGap == ComUsageGap::DeviceList || m_mapGap == ComUsageGap::ComDbUsage)
        AfxMessageBox(UnwritableMapText(m_mapGap), MB_OK);

    for (int n = 1; n <= kComTileCount; ++n) {
        CIXButtonEx& tile = m_tiles[n - 1];
        switch (g_comUsageMap[n - 1]) {
            case COMUSE_PRESENT:
                SetLook(tile, kPresentLook);
                break;
            case COMUSE_RESERVED:
                SetLook(tile, kClaimedLook);
                break;
            default:
                SetLook(tile, kFreeLook);
                break;
        }
        SetFrame(tile);
        SetComTooltip(tile, n);
    }

    // The legends get no tooltip, so they never hover, and keep their colour when pressed.
    for (int i = 0; i < kLegendCount; ++i) {
        CIXButtonEx& legend = m_tiles[kLegendIds[i] - IDC_COMDB_COM1];
        legend.BackColor = kLegendColors[i];
        legend.HoverBackColor = kLegendColors[i];
        legend.SwapColorsOnClick = FALSE;
        SetFrame(legend);
    }
    return TRUE;
}

void CSVT_ComDBDlg::OnBnClickedApply()
{
    // Cancel would suggest that Apply can be undone; it stays disabled from the first Apply on.
    m_cancelButton.EnableWindow(FALSE);

    // A map built without the database's claims shows others' reservations as free: writing it
    // would release them. Nothing is written; the user may open the dialog again.
    if (m_mapGap != ComUsageGap::None) {
        AfxMessageBox(UnwritableMapText(m_mapGap), MB_OK);
        return;
    }

    ScopedComDb comDb;
    if (comDb.Open() != ERROR_SUCCESS) {
        AfxMessageBox(L"ComDBOpen Fail!", MB_OK);
        return;
    }
    // A number that cannot be claimed or released does not stop the others: each is the user's
    // choice on its own, and the database keeps its state for a number it refuses.
    for (int n = 1; n <= kComTileCount; ++n) {
        const DWORD comNumber = static_cast<DWORD>(n);
        if (IsPresent(n) || !m_tiles[n - 1].ToggleState)
            ::ComDBClaimPort(comDb, comNumber, TRUE, nullptr);
        else
            ::ComDBReleasePort(comDb, comNumber);
    }
}

void CSVT_ComDBDlg::OnBnClickedClearAll()
{
    for (int n = 1; n <= kComTileCount; ++n) {
        CIXButtonEx& tile = m_tiles[n - 1];
        SetComTooltip(tile, n);
        if (IsPresent(n)) {
            SetLook(tile, kPresentLook);
            continue;
        }
        SetLook(tile, kFreeLook);
        SetFrame(tile);
        tile.InvalidateRect(nullptr, TRUE);
    }
}
