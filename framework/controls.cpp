#include "framework/controls.h"

#include "framework/app.h"

#include <map>
#include <memory>
#include <typeindex>
#include <utility>

// --- temporary wrappers --------------------------------------------------------------------
//
// A control or menu handle that no object owns gets a wrapper of the asked class, kept per
// handle and class in maps of the calling thread; a wrapper never destroys its handle. A window
// that has a permanent object of the asked class is answered with that object.

namespace {

struct TempControls {
    std::map<std::pair<HWND, std::type_index>, std::unique_ptr<CWnd>> windows;
    std::map<HMENU, std::unique_ptr<CMenu>> menus;

    TempControls() = default;
    TempControls(const TempControls&) = delete;
    TempControls& operator=(const TempControls&) = delete;
    ~TempControls()
    {
        for (auto& entry : windows)
            entry.second->m_hWnd = nullptr;
        for (auto& entry : menus)
            entry.second->Detach();
    }
};

TempControls& ThreadTempControls()
{
    thread_local TempControls maps;
    return maps;
}

template <class T>
T* TempControl(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (T* pPermanent = dynamic_cast<T*>(CWnd::FromHandlePermanent(hWnd)))
        return pPermanent;
    auto& map = ThreadTempControls().windows;
    auto key = std::make_pair(hWnd, std::type_index(typeid(T)));
    auto it = map.find(key);
    if (it != map.end())
        return static_cast<T*>(it->second.get());
    auto wrapper = std::make_unique<T>();
    wrapper->m_hWnd = hWnd;
    wrapper->m_nFlags |= WF_TEMPORARY;
    T* result = wrapper.get();
    map.emplace(key, std::move(wrapper));
    return result;
}

// Reads a text whose length is not known beforehand: fetch(buffer, size) returns the number of
// characters copied, which is size - 1 when the text may have been cut.
template <class Fetch>
CString ReadGrowingText(Fetch fetch)
{
    CString text;
    for (int nSize = 256;; nSize *= 2) {
        int nCopied = fetch(text.GetBuffer(nSize), nSize);
        if (nCopied < 0)
            nCopied = 0;
        if (nCopied < nSize - 1 || nSize >= (1 << 24)) {
            text.ReleaseBuffer(nCopied < nSize ? nCopied : nSize - 1);
            return text;
        }
        text.ReleaseBuffer(0);
    }
}

// The owner-draw messages a parent reflects to a combo box object.
template <class T>
BOOL OwnerDrawNotify(T* pCtrl, UINT message, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_DRAWITEM:
        pCtrl->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        pCtrl->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM: {
        int nResult = pCtrl->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        if (pResult)
            *pResult = nResult;
        return TRUE;
    }
    case WM_DELETEITEM:
        pCtrl->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return FALSE;
    }
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

}  // namespace

// --- CButton -------------------------------------------------------------------------------

void CButton::DrawItem(LPDRAWITEMSTRUCT)
{
    // A plain owner-drawn button draws nothing.
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

// --- CEdit, CComboBox -------------------------------------------------------------------

CEdit* CEdit::FromHandle(HWND hWnd)
{
    return TempControl<CEdit>(hWnd);
}

int CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int nLength = GetLBTextLen(nIndex);
    if (nLength == CB_ERR) {
        rString.Empty();
        return CB_ERR;
    }
    int nCopied = GetLBText(nIndex, rString.GetBuffer(nLength));
    rString.ReleaseBuffer(nCopied == CB_ERR ? 0 : nCopied);
    return nCopied;
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT)
{
    return 0;
}
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Only an owner-drawn combo box draws for itself; the others leave the messages to the parent.
    if ((GetStyle() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) && OwnerDrawNotify(this, message, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// --- CHeaderCtrl, CToolTipCtrl -------------------------------------------------------------

CHeaderCtrl* CHeaderCtrl::FromHandle(HWND hWnd)
{
    return TempControl<CHeaderCtrl>(hWnd);
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    HWND hWndParent = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    // The control makes itself a topmost tool window when it shows a tip.
    return CWnd::CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, hWndParent, nullptr);
}

void CToolTipCtrl::FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool)
{
    ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    HWND hWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (nIDTool == 0) {
        // The window is the tool; its parent answers TTN_GETDISPINFO.
        ti.hwnd = ::GetParent(hWnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
    } else {
        ti.hwnd = hWnd;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return FALSE;
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool)
        ti.rect = *lpRectTool;
    else if (nIDTool != 0)
        ::GetClientRect(pWnd->GetSafeHwnd(), &ti.rect);
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    ti.hinst = nullptr;
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    // TTM_GETTEXTW has no buffer size: the common controls copy at most 80 characters unless
    // the newer form (wParam = size) is understood, so ask with a generous buffer either way.
    const int nSize = 1024;
    ti.lpszText = str.GetBuffer(nSize);
    ti.lpszText[0] = L'\0';
    SendMessage(TTM_GETTEXTW, nSize, reinterpret_cast<LPARAM>(&ti));
    str.ReleaseBuffer();
}

// --- CListCtrl -----------------------------------------------------------------------------

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCWSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam)
{
    LVITEMW item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.stateMask = nStateMask;
    item.state = nState;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return SetItem(&item);
}

int CListCtrl::InsertItem(int nItem, LPCWSTR lpszItem)
{
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCWSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam)
{
    LVITEMW item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCWSTR lpszText)
{
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPWSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    return ReadGrowingText([&](LPWSTR pszBuffer, int nSize) { return GetItemText(nItem, nSubItem, pszBuffer, nSize); });
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPWSTR lpszText, int nLen) const
{
    if (!lpszText || nLen <= 0)
        return 0;
    lpszText[0] = L'\0';
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.pszText = lpszText;
    item.cchTextMax = nLen;
    return static_cast<int>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(dwData));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    if (!GetItem(&item))
        return 0;
    return static_cast<DWORD_PTR>(item.lParam);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMW item = {};
    item.state = nState;
    item.stateMask = nMask;
    return SetItemState(nItem, &item);
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    if (!lpRect)
        return FALSE;
    lpRect->left = static_cast<LONG>(nCode);
    return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const
{
    ref.top = iSubItem;
    ref.left = nArea;
    return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(iItem), reinterpret_cast<LPARAM>(&ref)));
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    int nItem = HitTest(&info);
    if (pFlags)
        *pFlags = info.flags;
    return nItem;
}

int CListCtrl::InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_TEXT;
    column.fmt = nFormat;
    column.pszText = const_cast<LPWSTR>(lpszColumnHeading);
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

BOOL CListCtrl::GetColumnOrderArray(LPINT piArray, int iCount) const
{
    if (!piArray)
        return FALSE;
    if (iCount < 0) {
        CHeaderCtrl* pHeader = GetHeaderCtrl();
        if (!pHeader)
            return FALSE;
        iCount = pHeader->GetItemCount();
        if (iCount < 0)
            return FALSE;
    }
    return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(iCount), reinterpret_cast<LPARAM>(piArray)));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    return CHeaderCtrl::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)));
}

CEdit* CListCtrl::EditLabel(int nItem)
{
    return CEdit::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_EDITLABELW, static_cast<WPARAM>(nItem))));
}

BOOL CListCtrl::GetGroupRect(int iGroupId, LPRECT lpRect, int iType) const
{
    if (!lpRect)
        return FALSE;
    lpRect->top = iType;
    return static_cast<BOOL>(SendMessage(LVM_GETGROUPRECT, static_cast<WPARAM>(iGroupId), reinterpret_cast<LPARAM>(lpRect)));
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM || !(GetStyle() & LVS_OWNERDRAWFIXED))
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

// --- CTabCtrl ------------------------------------------------------------------------------

LONG CTabCtrl::InsertItem(int nItem, LPCWSTR lpszItem)
{
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    return InsertItem(nItem, &item);
}

// --- CStatusBar ----------------------------------------------------------------------------

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    HWND hWndParent = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    if (!hWndParent)
        return FALSE;
    DWORD dwWindowStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALL)) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER |
                          CCS_NORESIZE;
    if (::GetWindowLongPtrW(hWndParent, GWL_STYLE) & WS_THICKFRAME)
        dwWindowStyle |= SBARS_SIZEGRIP;
    return CWnd::CreateEx(0, STATUSCLASSNAMEW, nullptr, dwWindowStyle, 0, 0, 0, 0, hWndParent,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || nIDCount > 255 || (nIDCount > 0 && !lpIDArray))
        return FALSE;
    std::vector<Pane> panes;
    std::vector<CString> texts;
    // Indicator texts are measured in the bar's font, as they will be drawn.
    CClientDC dc(nullptr);
    HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HGDIOBJ hOldFont = hFont ? ::SelectObject(dc, hFont) : nullptr;
    BOOL bResult = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane = {lpIDArray[i], SBPS_NORMAL, 0};
        CString text;
        if (pane.nID != ID_SEPARATOR) {
            if (!text.LoadString(pane.nID)) {
                bResult = FALSE;
                break;
            }
            pane.cxWidth = dc.GetTextExtent(text).cx;
        } else {
            pane.cxWidth = ::GetSystemMetrics(SM_CXSCREEN) / 4;
            if (i == 0)
                pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
        }
        panes.push_back(pane);
        texts.push_back(text);
    }
    if (hOldFont)
        ::SelectObject(dc, hOldFont);
    if (!bResult)
        return FALSE;
    m_panes = panes;
    if (!UpdateAllPanes())
        return FALSE;
    for (int i = 0; i < nIDCount; ++i) {
        if (!SetPaneText(i, texts[i], FALSE))
            return FALSE;
    }
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (!IsValidPane(nIndex))
        AfxThrowInvalidArgException();
    nID = m_panes[nIndex].nID;
    nStyle = m_panes[nIndex].nStyle;
    cxWidth = m_panes[nIndex].cxWidth;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (!IsValidPane(nIndex))
        AfxThrowInvalidArgException();
    CString text = GetPaneText(nIndex);
    m_panes[nIndex] = {nID, nStyle, cxWidth < 0 ? 0 : cxWidth};
    UpdateAllPanes();
    SetPaneText(nIndex, text);  // again with the drawing bits of the new style
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    if (!IsValidPane(nIndex))
        return CString();
    int nLength = LOWORD(SendMessage(SB_GETTEXTLENGTHW, static_cast<WPARAM>(nIndex)));
    CString text;
    SendMessage(SB_GETTEXTW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.GetBuffer(nLength)));
    text.ReleaseBuffer();
    return text;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate)
{
    if (!IsValidPane(nIndex))
        return FALSE;
    const UINT nDrawBits = m_panes[nIndex].nStyle & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW | SBT_RTLREADING);
    if (!SendMessage(SB_SETTEXTW, static_cast<WPARAM>(nIndex) | nDrawBits, reinterpret_cast<LPARAM>(lpszNewText ? lpszNewText : L"")))
        return FALSE;
    if (!bUpdate)
        return TRUE;
    RECT rect;
    if (SendMessage(SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rect)))
        ::InvalidateRect(m_hWnd, &rect, TRUE);
    return TRUE;
}

BOOL CStatusBar::UpdateAllPanes()
{
    if (!m_hWnd)
        return FALSE;
    const int nCount = GetCount();
    if (nCount == 0)
        return TRUE;
    // A pane is as wide as its content plus the borders the control draws around it; a stretching
    // pane takes what the others leave of the client width.
    const int cxBorders = 2 * ::GetSystemMetrics(SM_CXEDGE);
    int cxFixed = 0;
    for (const Pane& pane : m_panes)
        cxFixed += (pane.nStyle & SBPS_STRETCH) ? 0 : pane.cxWidth + cxBorders;
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    int cxStretch = client.right - cxFixed - cxBorders;
    std::vector<int> edges(static_cast<size_t>(nCount));
    int right = 0;
    for (int i = 0; i < nCount; ++i) {
        const Pane& pane = m_panes[static_cast<size_t>(i)];
        int cx = (pane.nStyle & SBPS_STRETCH) ? (cxStretch > pane.cxWidth ? cxStretch : pane.cxWidth) : pane.cxWidth;
        right += cx + cxBorders;
        edges[static_cast<size_t>(i)] = right;
    }
    return static_cast<BOOL>(SendMessage(SB_SETPARTS, static_cast<WPARAM>(nCount), reinterpret_cast<LPARAM>(edges.data())));
}

LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE) {
        for (const Pane& pane : m_panes) {
            if (pane.nStyle & SBPS_STRETCH) {
                UpdateAllPanes();
                break;
            }
        }
    }
    return lResult;
}

// --- CMenu ---------------------------------------------------------------------------------

BOOL CMenu::Attach(HMENU hMenu) noexcept
{
    if (!hMenu || m_hMenu)
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() noexcept
{
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::DestroyMenu() noexcept
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    auto& map = ThreadTempControls().menus;
    auto it = map.find(hMenu);
    if (it != map.end())
        return it->second.get();
    auto wrapper = std::make_unique<CMenu>();
    wrapper->m_hMenu = hMenu;
    CMenu* result = wrapper.get();
    map.emplace(hMenu, std::move(wrapper));
    return result;
}

BOOL CMenu::LoadMenu(UINT nIDResource) noexcept
{
    return Attach(::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource)));
}
