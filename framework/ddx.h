// Dialog data exchange and validation.
//
// DoDataExchange lists, control by control, what goes between the controls and the dialog's
// members: UpdateData(FALSE) fills the controls, UpdateData(TRUE) reads and checks them. A value
// that does not pass shows the library's prompt, puts the focus on the control (and selects an
// edit's text), and makes UpdateData return FALSE.
#pragma once

#include "framework/cstring.h"
#include "framework/wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The control nIDC of the dialog, which becomes the one a later failure points at; a missing
    // control fails the exchange.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the exchange as failed (focus to the last control when validating).
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;

    // What Fail throws; UpdateData catches it.
    struct Failure {};
};

// Subclasses control nIDC with rControl the first time (nothing on later exchanges).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);

// Call right after the DDX_ line of the same control.
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
