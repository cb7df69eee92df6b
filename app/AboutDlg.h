// The About box: the picture, the product's name and version, and OK.
#pragma once

#include "framework/framework.h"
#include "res/resource.h"

class CSVT_AboutDlg : public CDialogEx {
public:
    enum { IDD = IDD_ABOUTBOX };

    CSVT_AboutDlg() : CDialogEx(IDD) {}
};
