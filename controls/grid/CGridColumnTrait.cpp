#include "controls/grid/CGridColumnTrait.h"

void CGridColumnTrait::OnInsertColumn(CGridListCtrlEx& /*owner*/, int /*nCol*/) {}

void CGridColumnTrait::OnCellCustomDraw(CGridListCtrlEx& /*owner*/, NMLVCUSTOMDRAW* /*pLVCD*/, LRESULT* /*pResult*/) {}

int CGridColumnTrait::ClassifyClick(CGridListCtrlEx& /*owner*/, int /*nRow*/, int /*nCol*/, CPoint /*pt*/,
                                    bool /*bDblClick*/)
{
    return 0;
}

CWnd* CGridColumnTrait::BeginEditAtPoint(CGridListCtrlEx& owner, int nRow, int nCol, CPoint /*pt*/)
{
    return StartCellEdit(owner, nRow, nCol);
}

CWnd* CGridColumnTrait::StartCellEdit(CGridListCtrlEx& /*owner*/, int /*nRow*/, int /*nCol*/)
{
    return nullptr;
}

void CGridColumnTrait::FinishCellEdit() {}

int CGridColumnTrait::CompareCellTexts(LPCWSTR /*pszLeft*/, LPCWSTR /*pszRight*/, bool /*bAscending*/)
{
    return 0;
}

int CGridColumnTrait::CompareRows(const LVITEMW& left, const LVITEMW& right, bool bAscending)
{
    return CompareCellTexts(left.pszText, right.pszText, bAscending);
}

bool CGridColumnTrait::IsCellReadOnly(CGridListCtrlEx& /*owner*/, int /*nRow*/, int /*nCol*/, CPoint /*pt*/)
{
    return !Editable;
}
