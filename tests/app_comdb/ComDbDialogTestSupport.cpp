// What the COM-number database dialog tests share.
#include "tests/app_comdb/ComDbDialogTestSupport.h"

void ComDbDialogTest::ArrangeMixedMachine()
{
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial0", 1));
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial2", 3));
    ASSERT_TRUE(simtest::SetComDbClaims({1, 2}));
    ASSERT_TRUE(simtest::CreatePorts({5}));  // and its claim
}

HWND Item(CWnd& dlg, int id)
{
    return ::GetDlgItem(dlg.m_hWnd, id);
}

HWND TileWindow(CWnd& dlg, int comNumber)
{
    return Item(dlg, IDC_COMDB_COM1 + comNumber - 1);
}

void ClickItem(CWnd& dlg, int id)
{
    uitest::Click(Item(dlg, id));
}

std::vector<std::wstring> Texts(const std::vector<AfxMessageBoxCall>& boxes)
{
    std::vector<std::wstring> texts;
    for (const AfxMessageBoxCall& box : boxes)
        texts.push_back(box.text);
    return texts;
}
