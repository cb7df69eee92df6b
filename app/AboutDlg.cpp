// The About box.
#include "app/AboutDlg.h"

void CSVT_AboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_okButton);
}

BOOL CSVT_AboutDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    m_okButton.BackColor = RGB(91, 125, 164);
    m_okButton.HoverBackColor = RGB(158, 157, 187);
    m_okButton.BorderColor = RGB(198, 226, 255);
    m_okButton.CornerSize = CPoint(5, 5);
    m_okButton.SetTooltipText(L"OK");
    return TRUE;
}
