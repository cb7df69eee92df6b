// Modal dialogs: the library's own loop, the pre-translate walk, the owner, nesting, the end.
#include "framework/framework.h"
#include "tests/support/DialogTemplate.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using uitest::DialogTemplate;
using uitest::Do;
using uitest::UiHarness;
using uitest::WaitUntil;

const int IDC_EDIT = 100;
const int IDC_OPEN = 101;

std::vector<std::string> g_walk;

// An edit that swallows F2 and logs every key it sees first (as a window of another name, too).
class KeyEdit : public CWnd {
public:
    const char* name = "edit";
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN) {
            g_walk.push_back(name + (" " + std::to_string(pMsg->wParam)));
            if (pMsg->wParam == VK_F2)
                return TRUE;
        }
        return CWnd::PreTranslateMessage(pMsg);
    }
};

class WalkDlg : public CDialog {
public:
    KeyEdit m_edit;
    bool swallowReturn = false;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN) {
            g_walk.push_back("dialog " + std::to_string(pMsg->wParam));
            if (swallowReturn && pMsg->wParam == VK_RETURN)
                return TRUE;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_EDIT, m_edit); }
};

DialogTemplate WalkTemplate()
{
    DialogTemplate tmpl(WS_POPUP | WS_CAPTION | WS_SYSMENU, 150, 60, L"Walk");
    tmpl.Control(L"Edit", L"", IDC_EDIT, WS_BORDER | WS_TABSTOP, 5, 5, 80, 12)
        .Control(L"Button", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 25, 40, 14)
        .Control(L"Button", L"Cancel", IDCANCEL, WS_TABSTOP, 50, 25, 40, 14);
    return tmpl;
}

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override { g_walk.clear(); }
    UiHarness harness;
};

TEST_F(ModalTest, KeysGoToTheControlThenItsParentsBeforeTheDialogManager)
{
    DialogTemplate tmpl = WalkTemplate();
    WalkDlg dlg;
    KeyEdit owner;  // the walk never goes on from the dialog to its owner
    owner.name = "owner";
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    dlg.InitModalIndirect(tmpl.Get(), &owner);
    const INT_PTR result = harness.RunModal(
        dlg, {
                 Do([&](CWnd&) { dlg.m_edit.SetFocus(); }),
                 Do([&](CWnd&) { uitest::PressKey(dlg.m_edit.m_hWnd, VK_F2); }),      // the edit takes it
                 Do([&](CWnd&) { uitest::PressKey(dlg.m_edit.m_hWnd, VK_RETURN); }),  // nobody takes it: IDOK
             });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(harness.DialogsEndedByHarness(), 0);
    EXPECT_EQ(g_walk, (std::vector<std::string>{"edit 113", "edit 13", "dialog 13"}));
}

TEST_F(ModalTest, AKeyTheDialogTakesInPreTranslateNeverReachesTheDialogManager)
{
    DialogTemplate tmpl = WalkTemplate();
    WalkDlg dlg;
    dlg.swallowReturn = true;
    dlg.InitModalIndirect(tmpl.Get());
    bool stillOpen = false;
    const INT_PTR result =
        harness.RunModal(dlg, {
                                  Do([&](CWnd&) { dlg.m_edit.SetFocus(); }),
                                  Do([&](CWnd&) { uitest::PressKey(dlg.m_edit.m_hWnd, VK_RETURN); }),
                                  Do([&](CWnd& wnd) { stillOpen = ::IsWindowVisible(wnd.m_hWnd) != FALSE; }),
                                  Do([&](CWnd&) { uitest::PressKey(dlg.m_edit.m_hWnd, VK_ESCAPE); }),
                              });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, IDCANCEL);  // Escape went on to the dialog manager
    EXPECT_EQ(harness.DialogsEndedByHarness(), 0);
}

TEST_F(ModalTest, ClickingAButtonEndsTheDialogWithItsId)
{
    DialogTemplate tmpl = WalkTemplate();
    WalkDlg dlg;
    dlg.InitModalIndirect(tmpl.Get());
    const INT_PTR result =
        harness.RunModal(dlg, {
                                  Do([](CWnd& wnd) { uitest::Click(::GetDlgItem(wnd.m_hWnd, IDCANCEL)); }),
                              });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(harness.DialogsEndedByHarness(), 0);
}

class OwnerTest : public ModalTest {
protected:
    void SetUp() override
    {
        ModalTest::SetUp();
        ASSERT_TRUE(
            m_owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    }
    void TearDown() override { m_owner.DestroyWindow(); }
    CWnd m_owner;
};

TEST_F(OwnerTest, TheParentIsDisabledWhileTheDialogRunsAndEnabledAfter)
{
    DialogTemplate tmpl = WalkTemplate();
    WalkDlg dlg;
    dlg.InitModalIndirect(tmpl.Get(), &m_owner);
    bool ownerEnabled = true;
    HWND ownerOfDialog = nullptr;
    harness.RunModal(dlg, {Do([&](CWnd& wnd) {
                         ownerEnabled = m_owner.IsWindowEnabled() != FALSE;
                         ownerOfDialog = ::GetWindow(wnd.m_hWnd, GW_OWNER);
                     })});
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(ownerOfDialog, m_owner.m_hWnd);
    EXPECT_TRUE(m_owner.IsWindowEnabled());
}

TEST_F(OwnerTest, WithoutParentTheMainWindowOwnsTheDialog)
{
    CWinApp app;
    app.m_pMainWnd = &m_owner;
    DialogTemplate tmpl = WalkTemplate();
    WalkDlg dlg;
    dlg.InitModalIndirect(tmpl.Get());
    bool ownerEnabled = true;
    HWND ownerOfDialog = nullptr;
    harness.RunModal(dlg, {Do([&](CWnd& wnd) {
                         ownerEnabled = m_owner.IsWindowEnabled() != FALSE;
                         ownerOfDialog = ::GetWindow(wnd.m_hWnd, GW_OWNER);
                     })});
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(ownerOfDialog, m_owner.m_hWnd);
    EXPECT_TRUE(m_owner.IsWindowEnabled());
}

TEST_F(OwnerTest, AnOwnerThatWasAlreadyDisabledStaysDisabled)
{
    m_owner.EnableWindow(FALSE);
    DialogTemplate tmpl = WalkTemplate();
    WalkDlg dlg;
    dlg.InitModalIndirect(tmpl.Get(), &m_owner);
    harness.RunModal(dlg, {});
    EXPECT_FALSE(m_owner.IsWindowEnabled());
}

TEST(ModalMainWindow, TheMainDialogItselfHasNoOwner)
{
    UiHarness harness;
    CWinApp app;
    DialogTemplate tmpl = WalkTemplate();
    WalkDlg dlg;
    app.m_pMainWnd = &dlg;
    dlg.InitModalIndirect(tmpl.Get());
    HWND owner = reinterpret_cast<HWND>(1);
    harness.RunModal(dlg, {Do([&](CWnd& wnd) { owner = ::GetWindow(wnd.m_hWnd, GW_OWNER); })});
    EXPECT_EQ(owner, nullptr);
}

class EndsInInit : public CDialog {
public:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        EndDialog(42);
        return TRUE;
    }
};

TEST_F(ModalTest, EndDialogDuringInitialisationReturnsWithoutRunningTheLoop)
{
    DialogTemplate tmpl = WalkTemplate();
    EndsInInit dlg;
    dlg.InitModalIndirect(tmpl.Get());
    harness.OnNextModal({});  // a loop that ran would take this script
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(harness.DialogsEndedByHarness(), 0);
}

class OpensNested : public CDialog {
public:
    DialogTemplate* nestedTemplate = nullptr;
    INT_PTR nestedResult = 0;
    bool outerEnabledDuringNested = true;
    int opens = 1;  // dialogs opened one after another, each where the one before lived
    int ended = 0;
    void OnOpen()
    {
        std::optional<WalkDlg> nested;
        for (int i = 0; i < opens; ++i) {
            nested.emplace();
            nested->InitModalIndirect(nestedTemplate->Get(), this);
            nestedResult = nested->DoModal();
            ++ended;
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OpensNested, CDialog)
ON_BN_CLICKED(IDC_OPEN, &OpensNested::OnOpen)
END_MESSAGE_MAP()

TEST_F(ModalTest, ADialogOpenedFromAStepRunsItsOwnScriptInsideTheOuterLoop)
{
    DialogTemplate outerTmpl(WS_POPUP | WS_CAPTION, 120, 50, L"Outer");
    outerTmpl.Control(L"Button", L"Open", IDC_OPEN, WS_TABSTOP, 5, 5, 50, 14);
    DialogTemplate nestedTmpl = WalkTemplate();
    OpensNested outer;
    outer.nestedTemplate = &nestedTmpl;
    outer.InitModalIndirect(outerTmpl.Get());

    bool outerEnabled = true;
    harness.OnNextModal({
        Do([&](CWnd&) { outerEnabled = outer.IsWindowEnabled() != FALSE; }),
        Do([](CWnd& wnd) { uitest::Click(::GetDlgItem(wnd.m_hWnd, IDOK)); }),
    });
    const INT_PTR result =
        harness.RunModal(outer, {
                                    Do([](CWnd& wnd) { uitest::Click(::GetDlgItem(wnd.m_hWnd, IDC_OPEN)); }),
                                    WaitUntil([&](CWnd&) { return outer.nestedResult != 0; }),
                                    Do([&](CWnd&) { outer.EndDialog(7); }),
                                });
    EXPECT_FALSE(outerEnabled);
    EXPECT_EQ(outer.nestedResult, IDOK);
    EXPECT_EQ(result, 7);
    EXPECT_EQ(harness.DialogsEndedByHarness(), 0);
    EXPECT_EQ(harness.UnexpectedDialogs(), 0);
}

// The second dialog is another one although it lives where the first did: it runs its own script.
TEST_F(ModalTest, ADialogMadeWhereAnEndedOneLivedRunsItsOwnScript)
{
    DialogTemplate outerTmpl(WS_POPUP | WS_CAPTION, 120, 50, L"Outer");
    outerTmpl.Control(L"Button", L"Open", IDC_OPEN, WS_TABSTOP, 5, 5, 50, 14);
    DialogTemplate nestedTmpl = WalkTemplate();
    OpensNested outer;
    outer.nestedTemplate = &nestedTmpl;
    outer.opens = 2;
    outer.InitModalIndirect(outerTmpl.Get());

    harness.OnNextModal({Do([](CWnd& wnd) { uitest::Click(::GetDlgItem(wnd.m_hWnd, IDOK)); })});
    harness.OnNextModal({Do([](CWnd& wnd) { static_cast<CDialog&>(wnd).EndDialog(5); })});
    harness.RunModal(outer, {Do([](CWnd& wnd) { uitest::Click(::GetDlgItem(wnd.m_hWnd, IDC_OPEN)); }),
                             WaitUntil([&](CWnd&) { return outer.ended == 2; })});
    EXPECT_EQ(outer.nestedResult, 5);
    EXPECT_EQ(harness.DialogsEndedByHarness(), 1);  // the outer dialog
}

TEST_F(ModalTest, WmQuitEndsTheModalLoopAndStaysQueuedForTheLoopsOutside)
{
    DialogTemplate tmpl = WalkTemplate();
    WalkDlg dlg;
    dlg.InitModalIndirect(tmpl.Get());
    const INT_PTR result = harness.RunModal(dlg, {Do([](CWnd&) { ::PostQuitMessage(3); })});
    EXPECT_EQ(result, -1);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(ModalTest, AMissingTemplateFailsWithoutTouchingTheOwner)
{
    CDialog dlg(4711);
    EXPECT_EQ(dlg.DoModal(), -1);
}

const UINT ID_FILE_EXIT = 32772;
const UINT ID_APP_ONLY = 32790;

class MenuDlg : public CDialog {
public:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        HMENU hBar = ::CreateMenu();
        HMENU hFile = ::CreatePopupMenu();
        ::AppendMenuW(hFile, MF_STRING, ID_FILE_EXIT, L"&Exit");
        ::AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hFile), L"File");
        ::SetMenu(m_hWnd, hBar);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuDlg, CDialog)
ON_COMMAND(ID_FILE_EXIT, &CDialog::OnOK)
END_MESSAGE_MAP()

TEST_F(ModalTest, AMenuCommandMappedToOnOkEndsTheDialogWithIdOk)
{
    DialogTemplate tmpl = WalkTemplate();
    MenuDlg dlg;
    dlg.InitModalIndirect(tmpl.Get());
    EXPECT_EQ(harness.RunModal(dlg, {Do([](CWnd& wnd) { uitest::ChooseMenuItem(wnd.m_hWnd, ID_FILE_EXIT); })}), IDOK);
    EXPECT_EQ(harness.DialogsEndedByHarness(), 0);
}

TEST_F(ModalTest, AltF4ClosesTheDialogAsCancel)
{
    DialogTemplate tmpl = WalkTemplate();
    WalkDlg dlg;
    dlg.InitModalIndirect(tmpl.Get());
    EXPECT_EQ(harness.RunModal(dlg, {Do([](CWnd& wnd) { uitest::PressAltKey(wnd.m_hWnd, VK_F4); })}), IDCANCEL);
    EXPECT_EQ(harness.DialogsEndedByHarness(), 0);
}

class CommandApp : public CWinApp {
public:
    int helpCalls = 0;
    void OnAppOnly() { ++helpCalls; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandApp, CWinApp)
ON_COMMAND(ID_APP_ONLY, &CommandApp::OnAppOnly)
END_MESSAGE_MAP()

TEST_F(ModalTest, ACommandTheDialogDoesNotHandleGoesOnToTheApplication)
{
    CommandApp app;
    DialogTemplate tmpl = WalkTemplate();
    WalkDlg dlg;
    dlg.InitModalIndirect(tmpl.Get());
    harness.RunModal(dlg, {Do([](CWnd& wnd) { ::SendMessageW(wnd.m_hWnd, WM_COMMAND, ID_APP_ONLY, 0); })});
    EXPECT_EQ(app.helpCalls, 1);
}

}  // namespace
