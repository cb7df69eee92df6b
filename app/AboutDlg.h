// The About box: the picture, the product's name and version, and OK as a colour tile.
#pragma once

#include "controls/IXButtonEx.h"
#include "framework/framework.h"
#include "res/resource.h"

class CSVT_AboutDlg : public CDialogEx {
public:
    enum { IDD = IDD_ABOUTBOX };

    CSVT_AboutDlg() : CDialogEx(IDD) {}

    CIXButtonEx m_okButton;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
