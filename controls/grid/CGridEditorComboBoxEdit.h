// The edit field of the grid's combo-box editor. It tells the combo box when the focus leaves
// both of them (an Enter sent to the combo box), so that the edit ends with acceptance.
#pragma once

#include "framework/framework.h"

class CGridEditorComboBoxEdit : public CEdit {
protected:
    void OnKillFocus(CWnd* pNewWnd);

    DECLARE_MESSAGE_MAP()
};
