// The floor of the COM-number dialog's opening: a dialog of 256 owner-drawn number tiles and
// three legend tiles where the program has them, each with its tooltip text (one tooltip
// control, one tool per tile), each drawn as a rounded tile in its colour with its caption;
// timed from the dialog's creation until every tile has painted once.
#include "bench/Floor.h"

#include <windows.h>

#include <commctrl.h>

#include <stdio.h>

namespace floorbench {
namespace {

constexpr int kNumberTiles = 256;
constexpr int kTiles = kNumberTiles + 3;
constexpr int kFirstId = 1029;
const int kRowY[16] = {32, 50, 72, 90, 111, 129, 150, 168, 189, 207, 229, 247, 269, 287, 309, 327};

struct TileDialog {
    HBRUSH fill[3];
    HPEN border;
    int painted;
    bool seen[kTiles];
};

INT_PTR CALLBACK TileProc(HWND hDlg, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_DRAWITEM)
        return FALSE;
    auto* dialog = reinterpret_cast<TileDialog*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const int index = static_cast<int>(item->CtlID) - kFirstId;
    if (dialog == nullptr || index < 0 || index >= kTiles)
        return FALSE;
    // Three looks, as the program's present, claimed and free tiles.
    HGDIOBJ oldBrush = SelectObject(item->hDC, dialog->fill[index % 3]);
    HGDIOBJ oldPen = SelectObject(item->hDC, dialog->border);
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    RoundRect(item->hDC, item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom, 5, 5);
    SelectObject(item->hDC, oldPen);
    SelectObject(item->hDC, oldBrush);
    wchar_t caption[24];
    GetWindowTextW(item->hwndItem, caption, 24);
    RECT text = item->rcItem;
    SetBkMode(item->hDC, TRANSPARENT);
    DrawTextW(item->hDC, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (!dialog->seen[index]) {
        dialog->seen[index] = true;
        ++dialog->painted;
    }
    SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

// An empty modeless dialog of the program's size (367 x 375 dialog units, "MS Shell Dlg" 8).
HWND MakeDialog()
{
    struct {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
        WORD pointSize;
        wchar_t face[13];
    } templ{};
    templ.header.style = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;
    templ.header.cx = 367;
    templ.header.cy = 375;
    templ.pointSize = 8;
    wcscpy(templ.face, L"MS Shell Dlg");
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &templ.header, nullptr, TileProc, 0);
}

}  // namespace

unsigned Tiles()
{
    TileDialog dialog{};
    dialog.fill[0] = CreateSolidBrush(RGB(10, 128, 10));
    dialog.fill[1] = CreateSolidBrush(RGB(91, 125, 164));
    dialog.fill[2] = CreateSolidBrush(RGB(158, 157, 187));
    dialog.border = CreatePen(PS_SOLID, 1, RGB(198, 226, 255));
    HWND hDlg = MakeDialog();
    if (hDlg == nullptr)
        return 0;
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(&dialog));
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hDlg, nullptr, nullptr, nullptr);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(hDlg, WM_GETFONT, 0, 0));
    for (int i = 0; i < kTiles; ++i) {
        RECT place;
        wchar_t caption[24];
        if (i < kNumberTiles) {
            place = {7 + 22 * (i % 16), kRowY[i / 16], 0, 0};
            place.right = place.left + 22;
            place.bottom = place.top + 17;
            swprintf(caption, 24, L"%d", i + 1);
        } else {
            const int legend = i - kNumberTiles;
            place = {legend == 0 ? 7 : legend == 1 ? 129 : 250, 7, 0, 0};
            place.right = place.left + 110;
            place.bottom = place.top + 17;
            wcscpy(caption, legend == 0 ? L"Do not change" : legend == 1 ? L"Use the com db" : L"Do not use com db");
        }
        MapDialogRect(hDlg, &place);
        HWND tile = CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                    place.left, place.top, place.right - place.left, place.bottom - place.top, hDlg,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + i)), nullptr, nullptr);
        if (tile == nullptr)
            continue;
        SendMessageW(tile, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (tip != nullptr && i < kNumberTiles) {
            wchar_t text[16];
            swprintf(text, 16, L"COM%d", i + 1);
            TOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = hDlg;
            tool.uId = reinterpret_cast<UINT_PTR>(tile);
            tool.lpszText = text;
            SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    ShowWindow(hDlg, SW_SHOW);
    RedrawWindow(hDlg, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Paint messages that came late (a child shown after the update) are let through too.
    MSG msg;
    while (dialog.painted < kTiles && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    const unsigned painted = static_cast<unsigned>(dialog.painted);
    DestroyWindow(hDlg);
    for (HBRUSH brush : dialog.fill)
        DeleteObject(brush);
    DeleteObject(dialog.border);
    return painted;
}

}  // namespace floorbench
