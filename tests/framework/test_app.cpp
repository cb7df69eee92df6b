// The application object and the entry work: InitInstance, the main window, the run.
#include "framework/framework.h"
#include "tests/support/DialogTemplate.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

namespace {

using uitest::Do;

class DialogApp : public CWinApp {
public:
    uitest::DialogTemplate tmpl{WS_POPUP | WS_CAPTION, 100, 40, L"Main"};
    INT_PTR dialogResult = 0;
    HWND ownerOfMain = reinterpret_cast<HWND>(1);
    BOOL InitInstance() override
    {
        CDialog dlg;
        dlg.InitModalIndirect(tmpl.Get());
        m_pMainWnd = &dlg;
        dialogResult = dlg.DoModal();
        return FALSE;  // the program ends when its main dialog closes
    }
};

TEST(App, AProgramWhoseInitInstanceRunsTheMainDialogEndsWhenItReturns)
{
    uitest::UiHarness harness;
    DialogApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    harness.OnNextModal({
        Do([&](CWnd& wnd) {
            app.ownerOfMain = ::GetWindow(wnd.m_hWnd, GW_OWNER);
            EXPECT_EQ(AfxGetMainWnd(), &wnd);
        }),
        Do([](CWnd& wnd) { static_cast<CDialog&>(wnd).EndDialog(IDOK); }),
    });
    EXPECT_EQ(AfxWinMain(::GetModuleHandleW(nullptr), nullptr, const_cast<LPWSTR>(L""), SW_SHOWNORMAL), 0);
    EXPECT_EQ(app.dialogResult, IDOK);
    EXPECT_EQ(app.ownerOfMain, nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr) << "the main dialog's object cleared it when it went away";
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    EXPECT_EQ(harness.DialogsEndedByHarness(), 0);
}

class LoopApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        ::PostQuitMessage(5);
        return TRUE;
    }
};

TEST(App, AProgramWhoseInitInstanceSucceedsRunsItsLoopUntilQuit)
{
    LoopApp app;
    EXPECT_EQ(AfxWinMain(::GetModuleHandleW(nullptr), nullptr, const_cast<LPWSTR>(L""), SW_SHOWNORMAL), 5);
}

TEST(App, TheApplicationObjectKnowsItsNamesAndInstance)
{
    {
        CWinApp app;
        EXPECT_STREQ(app.m_pszExeName, L"framework_window_tests");
        EXPECT_STREQ(AfxGetAppName(), L"framework_window_tests");
        EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandleW(nullptr));
        EXPECT_EQ(app.m_pszRegistryKey, nullptr);
        app.SetRegistryKey(L"Local AppWizard-Generated Applications");
        EXPECT_STREQ(app.m_pszRegistryKey, L"Local AppWizard-Generated Applications");
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

}  // namespace
