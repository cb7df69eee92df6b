// Data exchange and validation: the values, the library's prompts, focus and the result.
#include "framework/framework.h"
#include "tests/support/DialogTemplate.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

namespace {

using uitest::DialogTemplate;
using uitest::UiHarness;

const int IDC_PORT = 100;
const int IDC_ALIAS = 101;
const int IDC_MISSING = 199;

class SettingsDlg : public CDialog {
public:
    UINT port = 4001;
    CString alias = L"line";
    bool bindMissing = false;
    CWnd m_portEdit;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_PORT, m_portEdit);
        DDX_Text(pDX, IDC_PORT, port);
        DDV_MinMaxUInt(pDX, port, 1, 65535);
        DDX_Text(pDX, IDC_ALIAS, alias);
        DDV_MaxChars(pDX, alias, 50);
        if (bindMissing)
            DDX_Text(pDX, IDC_MISSING, alias);
    }
};

class DdxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_template.Control(L"Edit", L"", IDC_PORT, WS_BORDER | WS_TABSTOP, 5, 5, 80, 12)
            .Control(L"Edit", L"", IDC_ALIAS, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 5, 20, 80, 12);
        ASSERT_TRUE(m_dlg.CreateIndirect(m_template.Get(), nullptr));
        m_dlg.ShowWindow(SW_SHOW);
    }
    void TearDown() override { m_dlg.DestroyWindow(); }

    void Type(int id, const wchar_t* text) { ::SetDlgItemTextW(m_dlg.m_hWnd, id, text); }
    HWND Item(int id) { return ::GetDlgItem(m_dlg.m_hWnd, id); }

    UiHarness m_harness;  // records the prompts instead of showing them
    DialogTemplate m_template{WS_POPUP | WS_CAPTION, 120, 80, L"Settings"};
    SettingsDlg m_dlg;
};

TEST_F(DdxTest, FillingShowsTheMembersAndReadingGivesThemBack)
{
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(uitest::DlgItemText(m_dlg.m_hWnd, IDC_PORT), L"4001");
    EXPECT_EQ(uitest::DlgItemText(m_dlg.m_hWnd, IDC_ALIAS), L"line");
    EXPECT_EQ(CWnd::FromHandlePermanent(Item(IDC_PORT)), &m_dlg.m_portEdit);

    Type(IDC_PORT, L" 65535 ");
    Type(IDC_ALIAS, L"");
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(m_dlg.port, 65535u);
    EXPECT_STREQ(m_dlg.alias, L"");
    EXPECT_TRUE(m_harness.MessageBoxes().empty());
}

TEST_F(DdxTest, TextThatIsNotAPositiveIntegerIsRefusedWithTheLibrarysPrompt)
{
    for (const wchar_t* text : {L"abc", L"-5", L"", L"12x", L"4294967296", L"+"}) {
        m_harness.ClearMessageBoxes();
        m_dlg.port = 4001;
        Type(IDC_PORT, text);
        EXPECT_FALSE(m_dlg.UpdateData(TRUE)) << uitest::Narrow(text);
        ASSERT_EQ(m_harness.MessageBoxes().size(), 1u) << uitest::Narrow(text);
        const AfxMessageBoxCall& box = m_harness.MessageBoxes()[0];
        EXPECT_EQ(box.text, L"Please enter a positive integer.");
        EXPECT_EQ(box.caption, AfxGetAppName());
        EXPECT_EQ(box.nType & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(m_dlg.port, 4001u) << "a refused value leaves the member alone";
        EXPECT_EQ(::GetFocus(), Item(IDC_PORT));
    }
}

TEST_F(DdxTest, ANumberOutsideTheRangeNamesTheRangeAndSelectsTheText)
{
    Type(IDC_PORT, L"70000");
    EXPECT_FALSE(m_dlg.UpdateData(TRUE));
    ASSERT_EQ(m_harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_harness.MessageBoxes()[0].text, L"Please enter an integer between 1 and 65535.");
    EXPECT_EQ(::GetFocus(), Item(IDC_PORT));
    DWORD start = 1, end = 0;
    ::SendMessageW(Item(IDC_PORT), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u);

    m_harness.ClearMessageBoxes();
    Type(IDC_PORT, L"0");
    EXPECT_FALSE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(m_harness.MessageBoxes().size(), 1u);
}

TEST_F(DdxTest, TooLongATextIsRefusedAndTheEditIsLimitedWhenFilled)
{
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(::SendMessageW(Item(IDC_ALIAS), EM_GETLIMITTEXT, 0, 0), 50);

    Type(IDC_PORT, L"4001");
    const CString fifty(L'x', 50);
    ::SendMessageW(Item(IDC_ALIAS), EM_SETLIMITTEXT, 0, 0);
    Type(IDC_ALIAS, fifty);
    EXPECT_TRUE(m_dlg.UpdateData(TRUE));
    Type(IDC_ALIAS, fifty + L"y");
    EXPECT_FALSE(m_dlg.UpdateData(TRUE));
    ASSERT_EQ(m_harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_harness.MessageBoxes()[0].text, L"Please enter no more than 50 characters.");
    EXPECT_EQ(::GetFocus(), Item(IDC_ALIAS));
}

TEST_F(DdxTest, AControlTheTemplateLacksFailsTheExchangeWithoutAPrompt)
{
    m_dlg.bindMissing = true;
    Type(IDC_PORT, L"1");
    EXPECT_FALSE(m_dlg.UpdateData(TRUE));
    EXPECT_FALSE(m_dlg.UpdateData(FALSE));
    EXPECT_TRUE(m_harness.MessageBoxes().empty());
}

TEST_F(DdxTest, OkWithARefusedValueKeepsTheDialogOpen)
{
    SettingsDlg dlg;
    dlg.InitModalIndirect(m_template.Get());
    bool openAfterOk = false;
    const INT_PTR result = m_harness.RunModal(
        dlg, {
                 uitest::Do([](CWnd& wnd) { ::SetDlgItemTextW(wnd.m_hWnd, IDC_PORT, L"99999"); }),
                 uitest::Do([](CWnd& wnd) { ::SendMessageW(wnd.m_hWnd, WM_COMMAND, IDOK, 0); }),
                 uitest::Do([&](CWnd& wnd) { openAfterOk = ::IsWindowVisible(wnd.m_hWnd) != FALSE; }),
                 uitest::Do([](CWnd& wnd) { ::SetDlgItemTextW(wnd.m_hWnd, IDC_PORT, L"80"); }),
                 uitest::Do([](CWnd& wnd) { ::SendMessageW(wnd.m_hWnd, WM_COMMAND, IDOK, 0); }),
             });
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.port, 80u);
    EXPECT_EQ(m_harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_harness.DialogsEndedByHarness(), 0);
}

}  // namespace
