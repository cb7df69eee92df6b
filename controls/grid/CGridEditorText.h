// The in-place text editor of a grid cell: a single-line edit box over the cell that reports the
// result of the edit once, as the list view's own end-of-label-edit notification (LVN_ENDLABELEDITW)
// to the list's parent, then closes and deletes itself.
//
// Enter or a lost focus accepts, Escape cancels, Tab accepts and still moves on to the next
// control. Made with new by CGridColumnTraitEdit; nobody else deletes it.
#pragma once

#include "framework/framework.h"

class CGridEditorText : public CEdit {
public:
    CGridEditorText(int nRow, int nCol);

    // Creates the window. On success the object lives as long as the window and deletes itself
    // after it; on failure it stays with its creator, who deletes it.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Reports the result (the text only when accepted and changed by the user), hides the editor
    // and closes it; later calls do nothing.
    virtual void EndEdit(bool bAccept);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PostNcDestroy() override;
    void OnKillFocus(CWnd* pNewWnd);
    void OnEnChange();

    int m_Row;
    int m_Col;
    bool m_Ended = false;
    bool m_Modified = false;
    // The next EN_CHANGE comes from putting the cell's text into the box, not from the user.
    bool m_InitialChangePending = true;
    bool m_OwnsItself = false;

    DECLARE_MESSAGE_MAP()
};
