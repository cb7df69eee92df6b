// Data exchange: moving values between controls and members, and checking them.
#include "framework/ddx.h"

#include "framework/fwstrings.h"
#include "framework/msgbox.h"

#include <cerrno>
#include <cwchar>

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr)
        throw Failure();  // a template without the control: nothing to exchange with
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl != 0) {
        if (HWND hWndLast = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl); hWndLast != nullptr) {
            ::SetFocus(hWndLast);
            if (m_bEditLastControl)
                ::SendMessageW(hWndLast, EM_SETSEL, 0, -1);
        }
    }
    throw Failure();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    // Filling the controls makes them notify (EN_CHANGE, ...); those are not the user's doing.
    HWND hWndOldLockout = AfxSetLockoutNotifyWindow(m_hWnd);
    BOOL ok = TRUE;
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failure&) {
        ok = FALSE;
    }
    AfxSetLockoutNotifyWindow(hWndOldLockout);
    return ok;
}

void CWnd::DoDataExchange(CDataExchange*) {}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        pDX->Fail();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        CWnd(hWndCtrl).GetWindowText(value);
    else
        ::SetWindowTextW(hWndCtrl, value);
}

namespace {

CString ControlText(HWND hWndCtrl)
{
    CString text;
    CWnd(hWndCtrl).GetWindowText(text);
    return text;
}

bool OnlyBlanks(const wchar_t* p)
{
    while (*p == L' ' || *p == L'\t')
        ++p;
    return *p == L'\0';
}

bool ParseUInt(const CString& text, UINT& value)
{
    const wchar_t* p = text;
    while (*p == L' ' || *p == L'\t')
        ++p;
    if (*p < L'0' || *p > L'9')
        return false;  // no sign: a negative number is not a positive integer
    wchar_t* end = nullptr;
    errno = 0;
    const unsigned long long v = wcstoull(p, &end, 10);
    if (end == p || errno == ERANGE || v > UINT_MAX || !OnlyBlanks(end))
        return false;
    value = static_cast<UINT>(v);
    return true;
}

[[noreturn]] void FailWithPrompt(CDataExchange* pDX, const CString& prompt, UINT nIDPrompt)
{
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        if (!ParseUInt(ControlText(hWndCtrl), value))
            FailWithPrompt(pDX, AfxLoadString(AFX_IDP_PARSE_UINT), AFX_IDP_PARSE_UINT);
    } else {
        CString text;
        text.Format(L"%u", value);
        ::SetWindowTextW(hWndCtrl, text);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString min, max;
    min.Format(L"%u", minVal);
    max.Format(L"%u", maxVal);
    CString prompt;
    AfxFormatString2(prompt, AFX_IDP_PARSE_INT_RANGE, min, max);
    FailWithPrompt(pDX, prompt, AFX_IDP_PARSE_INT_RANGE);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate) {
        // Filling: the edit itself refuses longer input from then on.
        if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
            if (HWND hWndLast = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl); hWndLast != nullptr)
                ::SendMessageW(hWndLast, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        }
        return;
    }
    if (value.GetLength() <= nChars)
        return;
    CString count;
    count.Format(L"%d", nChars);
    CString prompt;
    AfxFormatString1(prompt, AFX_IDP_PARSE_STRING_SIZE, count);
    FailWithPrompt(pDX, prompt, AFX_IDP_PARSE_STRING_SIZE);
}
