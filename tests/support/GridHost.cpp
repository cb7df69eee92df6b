#include "tests/support/GridHost.h"

#include "tests/support/DialogTemplate.h"

namespace gridhost {

bool GridHost::Make(DWORD listStyle, short listCx, const wchar_t* font, WORD points)
{
    static std::vector<uitest::DialogTemplate> templates;  // must outlive the dialogs
    templates.emplace_back(WS_POPUP | WS_CAPTION | WS_VISIBLE, static_cast<short>(listCx + 20), 200, L"Grid", font,
                           points);
    templates.back()
        .Control(L"SysListView32", L"", kListId, listStyle | WS_TABSTOP | WS_BORDER, 5, 5, listCx, 150)
        .Control(L"Edit", L"", kNextId, WS_TABSTOP | WS_BORDER, 5, 170, 100, 14);
    if (!CreateIndirect(templates.back().Get(), nullptr))
        return false;
    SetWindowPos(nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    return true;
}

int GridHost::Count(UINT code) const
{
    int n = 0;
    for (UINT seen : notifications)
        n += seen == code ? 1 : 0;
    return n;
}

BOOL GridHost::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The base offers the notification to the list's own object first (reflection).
    if (CDialog::OnNotify(wParam, lParam, pResult))
        return TRUE;
    const auto* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    if (pNMHDR->hwndFrom == nullptr || ::GetDlgCtrlID(pNMHDR->hwndFrom) != kListId)
        return FALSE;
    notifications.push_back(pNMHDR->code);
    const auto* pInfo = reinterpret_cast<const NMLVDISPINFOW*>(pNMHDR);
    // The notifications the dialog answers; what the grid left as the result stands, but for the
    // begin-edit answer.
    switch (pNMHDR->code) {
        case LVN_BEGINLABELEDITW:
            ++beginEdits;
            beginEditData = pInfo->item.lParam;
            *pResult = beginEditAnswer;
            return TRUE;
        case LVN_ENDLABELEDITW: {
            EndEdit edit;
            edit.mask = pInfo->item.mask;
            edit.item = pInfo->item.iItem;
            edit.subItem = pInfo->item.iSubItem;
            edit.textNull = pInfo->item.pszText == nullptr;
            if (!edit.textNull && pInfo->item.pszText != LPSTR_TEXTCALLBACKW)
                edit.text = pInfo->item.pszText;
            edit.cchTextMax = pInfo->item.cchTextMax;
            edit.lParam = pInfo->item.lParam;
            edit.image = pInfo->item.iImage;
            edit.hwndFrom = pInfo->hdr.hwndFrom;
            edit.idFrom = pInfo->hdr.idFrom;
            if (edit.item >= 0 && edit.subItem >= 0)
                edit.cellTextThen = uitest::ListViewCellText(pInfo->hdr.hwndFrom, edit.item, edit.subItem);
            edit.resultOnEntry = *pResult;
            endEdits.push_back(edit);
            return TRUE;
        }
        case NM_CUSTOMDRAW:
            ++customDrawSeen;
            return TRUE;
        case NM_CLICK:
            ++clicks;
            clickResultSeen = *pResult;
            return TRUE;
        case LVN_GETDISPINFOW:
            ++dispInfoSeen;
            return TRUE;
        case LVN_KEYDOWN:
            ++keyDowns;
            return TRUE;
        case NM_KILLFOCUS:
            ++killFocusNotes;
            return TRUE;
        default:
            return FALSE;
    }
}

std::vector<MenuItem> ReadMenu(HMENU hMenu)
{
    std::vector<MenuItem> items;
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        MenuItem item;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.id = item.separator ? 0u : info.wID;
        item.text = item.separator ? L"-" : text;
        item.state = info.fState;
        item.checked = (info.fState & MFS_CHECKED) != 0;
        item.disabled = (::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_DISABLED) != 0;
        if (info.hSubMenu != nullptr)
            item.popup = ReadMenu(info.hSubMenu);
        items.push_back(item);
    }
    return items;
}

std::string Describe(const std::vector<MenuItem>& menu)
{
    std::string s;
    for (const MenuItem& item : menu) {
        s += std::to_string(item.id) + " " + uitest::Narrow(item.text);
        if (item.id == 0) {
            s += "; ";
            continue;
        }
        if (item.state & MFS_CHECKED)
            s += " [checked]";
        if (item.state & MFS_DISABLED)
            s += " [disabled]";
        s += "; ";
    }
    return s;
}

}  // namespace gridhost
