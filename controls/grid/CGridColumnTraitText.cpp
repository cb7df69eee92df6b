#include "controls/grid/CGridColumnTraitText.h"

#include "controls/grid/CGridListCtrlEx.h"

#include <climits>

namespace {

const LRESULT kNewFontAndPostPaint = CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;

bool IsCRuntimeSpace(wchar_t ch)
{
    return ch == L' ' || (ch >= L'\t' && ch <= L'\r');
}

wchar_t FoldAZ(wchar_t ch)
{
    return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
}

}  // namespace

int GridParseInt32(LPCWSTR psz)
{
    if (psz == nullptr)
        return 0;
    while (IsCRuntimeSpace(*psz))
        ++psz;
    bool negative = false;
    if (*psz == L'+' || *psz == L'-')
        negative = *psz++ == L'-';
    long long value = 0;
    for (; *psz >= L'0' && *psz <= L'9'; ++psz) {
        value = value * 10 + (*psz - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;  // saturated; more digits change nothing
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

int GridCompareNoCaseAZ(LPCWSTR pszLeft, LPCWSTR pszRight)
{
    if (pszLeft == nullptr)
        pszLeft = L"";
    if (pszRight == nullptr)
        pszRight = L"";
    for (;; ++pszLeft, ++pszRight) {
        const wchar_t left = FoldAZ(*pszLeft);
        const wchar_t right = FoldAZ(*pszRight);
        if (left != right)
            return static_cast<int>(left) - static_cast<int>(right);
        if (left == L'\0')
            return 0;
    }
}

void CGridColumnTraitText::OnCellCustomDraw(CGridListCtrlEx& owner, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult)
{
    HDC hDC = pLVCD->nmcd.hdc;
    switch (pLVCD->nmcd.dwDrawStage) {
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            m_SavedTextColor = pLVCD->clrText;
            m_SavedBackColor = pLVCD->clrTextBk;
            COLORREF color = 0;
            if (GetTextColor(pLVCD, color)) {
                pLVCD->clrText = color;
                *pResult |= kNewFontAndPostPaint;
            }
            if (GetBackColor(pLVCD, color)) {
                pLVCD->clrTextBk = color;
                *pResult |= kNewFontAndPostPaint;
            }
            // The grid's colours come last, so that they win over the column's.
            if (owner.QueryCellColorsForDraw(pLVCD))
                *pResult |= kNewFontAndPostPaint;

            LOGFONTW font = {};
            const bool gridFont = owner.QueryCellFontForDraw(pLVCD, font);
            const bool cellFont = GetCellFont(pLVCD, font);
            if (gridFont || cellFont) {
                // A font that cannot be made leaves the DC's font as it is.
                if (HFONT hFont = ::CreateFontIndirectW(&font)) {
                    HGDIOBJ hPrev = ::SelectObject(hDC, hFont);
                    if (hPrev != nullptr && hPrev != HGDI_ERROR) {
                        m_hPrevFont = static_cast<HFONT>(hPrev);
                        *pResult |= kNewFontAndPostPaint;
                    } else {
                        ::DeleteObject(hFont);
                    }
                }
            }
            break;
        }
        case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
            if (m_hPrevFont != nullptr) {
                HGDIOBJ hCellFont = ::SelectObject(hDC, m_hPrevFont);
                if (hCellFont != nullptr && hCellFont != HGDI_ERROR)
                    ::DeleteObject(hCellFont);
                m_hPrevFont = nullptr;
            }
            pLVCD->clrText = m_SavedTextColor;
            pLVCD->clrTextBk = m_SavedBackColor;
            *pResult |= CDRF_NEWFONT;
            break;
        default:
            break;
    }
}

int CGridColumnTraitText::CompareCellTexts(LPCWSTR pszLeft, LPCWSTR pszRight, bool bAscending)
{
    if (SortAsNumber) {
        // Compared, not subtracted: the difference of two saturated values can overflow.
        const int left = GridParseInt32(pszLeft);
        const int right = GridParseInt32(pszRight);
        const int order = left < right ? -1 : (left > right ? 1 : 0);
        return bAscending ? order : -order;
    }
    return bAscending ? GridCompareNoCaseAZ(pszLeft, pszRight) : GridCompareNoCaseAZ(pszRight, pszLeft);
}

bool CGridColumnTraitText::GetCellFont(NMLVCUSTOMDRAW* /*pLVCD*/, LOGFONTW& /*font*/)
{
    return false;
}

bool CGridColumnTraitText::GetTextColor(NMLVCUSTOMDRAW* /*pLVCD*/, COLORREF& color)
{
    if (TextColor == 0xFFFFFFFF)
        return false;
    color = TextColor;
    return true;
}

bool CGridColumnTraitText::GetBackColor(NMLVCUSTOMDRAW* /*pLVCD*/, COLORREF& color)
{
    if (BackColor == 0xFFFFFFFF)
        return false;
    color = BackColor;
    return true;
}

int CGridColumnTraitText::MeasureTextHeight(CGridListCtrlEx& owner)
{
    HDC hDC = ::GetDC(owner.m_hWnd);
    if (hDC == nullptr)
        return 0;
    HGDIOBJ hPrevFont = nullptr;
    if (CFont* pFont = owner.GetGridFont(); pFont != nullptr && pFont->GetSafeHandle() != nullptr)
        hPrevFont = ::SelectObject(hDC, pFont->GetSafeHandle());
    RECT rect = {};
    const int height =
        ::DrawTextW(hDC, L"yjp\x7690", -1, &rect, DT_CALCRECT | DT_SINGLELINE) != 0 ? rect.bottom - rect.top : 0;
    if (hPrevFont != nullptr && hPrevFont != HGDI_ERROR)
        ::SelectObject(hDC, hPrevFont);
    ::ReleaseDC(owner.m_hWnd, hDC);
    return height;
}

RECT CGridColumnTraitText::GetEditorRect(CGridListCtrlEx& owner, int nRow, int nCol)
{
    RECT rect = {};
    if (!owner.GetCellPartRect(nRow, nCol, LVIR_LABEL, rect)) {
        const RECT none = {};
        return none;
    }
    const int border = ::GetSystemMetrics(SM_CXBORDER);
    const DWORD exStyle = owner.GetExtendedStyle();
    if (exStyle & LVS_EX_GRIDLINES)
        rect.bottom -= border;

    const bool smallImages = owner.GetImageList(LVSIL_SMALL) != nullptr;
    if (nCol == 0) {
        if (smallImages)
            rect.left += border;
        else if (owner.FirstVisibleColumn() != 0)
            rect.left -= border;
    } else {
        if ((exStyle & LVS_EX_SUBITEMIMAGES) && smallImages && owner.GetCellImage(nRow, nCol) != -1)
            rect.left += border;
        else if (owner.FirstVisibleColumn() != nCol)
            rect.left -= border;
    }

    // Never lower than one line of text and the editor's two edges.
    const int minHeight = MeasureTextHeight(owner) + 2 * ::GetSystemMetrics(SM_CXEDGE);
    if (rect.bottom - rect.top < minHeight)
        rect.bottom = rect.top + minHeight;
    return rect;
}
