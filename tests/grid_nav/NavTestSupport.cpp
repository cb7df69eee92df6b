#include "tests/grid_nav/NavTestSupport.h"

namespace navtest {

// ---- NavGrid ------------------------------------------------------------------------------------

void NavGrid::ShowGridMenu(CWnd* pWnd, CPoint point)
{
    menuCalls.push_back(MenuCall{"grid", point, -1, -1});
    CGridListCtrlEx::ShowGridMenu(pWnd, point);
}

void NavGrid::ShowCellMenu(CWnd* pWnd, CPoint point, int nRow, int nCol)
{
    menuCalls.push_back(MenuCall{"cell", point, nRow, nCol});
    CGridListCtrlEx::ShowCellMenu(pWnd, point, nRow, nCol);
}

void NavGrid::ShowHeaderMenu(CWnd* pWnd, CPoint point, int nCol)
{
    menuCalls.push_back(MenuCall{"header", point, -1, nCol});
    CGridListCtrlEx::ShowHeaderMenu(pWnd, point, nCol);
}

void NavGrid::SetOwnerDataRowCheck(int nRow, bool bChecked)
{
    ownerDataChecks.emplace_back(nRow, bChecked);
    checkedRows[nRow] = bChecked;
    CGridListCtrlEx::SetOwnerDataRowCheck(nRow, bChecked);
}

bool NavGrid::IsOwnerDataRowChecked(int nRow)
{
    const auto found = checkedRows.find(nRow);
    return found != checkedRows.end() ? found->second : CGridListCtrlEx::IsOwnerDataRowChecked(nRow);
}

void NavGrid::CopySelectionToClipboard()
{
    ++copies;
    CGridListCtrlEx::CopySelectionToClipboard();
}

bool NavGrid::AllowCellTooltip(CPoint pt, TOOLINFOW* pTI)
{
    return allowTooltips && CGridListCtrlEx::AllowCellTooltip(pt, pTI);
}

bool NavGrid::QueryCellText(int nRow, int nCol, CString& text)
{
    return cellText ? cellText(nRow, nCol, text) : CGridListCtrlEx::QueryCellText(nRow, nCol, text);
}

bool NavGrid::QueryCellImage(int nRow, int nCol, int& nImage)
{
    return cellImage ? cellImage(nRow, nCol, nImage) : CGridListCtrlEx::QueryCellImage(nRow, nCol, nImage);
}

BOOL NavGrid::OnToolNeedText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
{
    const DWORD pos = ::GetMessagePos();
    toolTextAsked.emplace_back(static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)));
    return CGridListCtrlEx::OnToolNeedText(nID, pNMHDR, pResult);
}

// ---- FakeStore ----------------------------------------------------------------------------------

namespace {

std::string Narrow(LPCWSTR psz)
{
    return uitest::Narrow(psz ? psz : L"");
}

}  // namespace

FakeStore::FakeStore(std::vector<std::string>* pLog, bool* pDeleted) : log(pLog ? pLog : &ownLog), m_pDeleted(pDeleted)
{
}

FakeStore::~FakeStore()
{
    delete defaultState;
    if (m_pDeleted != nullptr)
        *m_pDeleted = true;
}

int FakeStore::GetIntValue(LPCWSTR pszKey, int nDefault)
{
    log->push_back("get " + Narrow(pszKey));
    const auto found = values.find(pszKey);
    return found != values.end() ? found->second : nDefault;
}

void FakeStore::SetIntValue(LPCWSTR pszKey, int nValue)
{
    log->push_back("set " + Narrow(pszKey) + "=" + std::to_string(nValue));
    values[pszKey] = nValue;
}

void FakeStore::RemoveValues()
{
    log->push_back("remove");
    values.clear();
}

ColumnStateStore* FakeStore::GetDefaultState()
{
    log->push_back("default");
    if (defaultState == nullptr)
        defaultState = new FakeStore(log);
    return defaultState;
}

bool FakeStore::HasDefaultState()
{
    log->push_back("has default");
    return hasDefault;
}

void FakeStore::ResetToDefault()
{
    log->push_back("reset");
    if (defaultState != nullptr)
        values = defaultState->values;
}

void FakeStore::GetProfiles(CStringArray& result)
{
    log->push_back("profiles");
    for (const auto& name : profiles)
        result.Add(CString(name.c_str()));
}

void FakeStore::GetActiveProfile(CString& profile)
{
    log->push_back("active");
    profile = activeProfile.c_str();
}

void FakeStore::SelectProfile(LPCWSTR pszProfile)
{
    log->push_back("select " + Narrow(pszProfile));
    activeProfile = pszProfile;
}

// ---- menus --------------------------------------------------------------------------------------

MenuRecorder::MenuRecorder()
{
    m_old = AfxSetPopupMenuHandler([this](const AfxPopupMenuCall& call) {
        calls.push_back(call);
        menus.push_back(ReadMenu(call.hMenu));
        return answer;
    });
}

MenuRecorder::~MenuRecorder()
{
    AfxSetPopupMenuHandler(m_old);
}

// ---- NavFixture ---------------------------------------------------------------------------------

void NavFixture::AddColumns(const std::vector<std::wstring>& headings, int width)
{
    for (const auto& heading : headings) {
        const int nCol = grid.GetColumnCount();
        grid.InsertColumn(nCol, heading.c_str(), LVCFMT_LEFT, width, nCol);
    }
}

void NavFixture::AddRows(int nRows)
{
    const int nCols = grid.GetColumnCount();
    for (int r = 0; r < nRows; ++r) {
        for (int c = 0; c < nCols; ++c) {
            CString text;
            text.Format(L"r%d-c%d", r, c);
            if (c == 0)
                grid.InsertItem(r, text);
            else
                grid.SetItemText(r, c, text);
        }
    }
}

std::vector<int> NavFixture::Order()
{
    std::vector<int> order(static_cast<size_t>(grid.GetColumnCount()));
    if (!order.empty())
        grid.GetColumnOrderArray(order.data(), static_cast<int>(order.size()));
    return order;
}

CPoint NavFixture::CellCenter(int nRow, int nCol)
{
    RECT rect = {};
    EXPECT_TRUE(grid.GetCellPartRect(nRow, nCol, LVIR_BOUNDS, rect));
    return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void NavFixture::Key(UINT vk)
{
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(grid.m_hWnd, WM_KEYDOWN, vk, scan | 1);
    ::PostMessageW(grid.m_hWnd, WM_KEYUP, vk, scan | 1 | 0xC0000000);
    uitest::PumpMessages();
}

void NavFixture::Char(wchar_t ch)
{
    grid.SendMessage(WM_CHAR, ch, 1);
}

}  // namespace navtest
