// Dialogs from resources: templates, the common controls they need, child pages.
#include "framework/framework.h"
#include "tests/support/DialogTemplate.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using uitest::Do;
using uitest::UiHarness;

const UINT IDD_ADDPORT = 200;
const UINT IDD_PAGE = 201;
const UINT IDD_PROGRESS = 202;
const UINT IDD_PLAIN = 203;

TEST(DialogTemplate, TheCommonControlsATemplateUsesAreFoundInBothTemplateForms)
{
    EXPECT_EQ(AfxTemplateCommonControls(AfxLoadDialogTemplate(MAKEINTRESOURCEW(IDD_ADDPORT))),
              static_cast<DWORD>(ICC_INTERNET_CLASSES | ICC_LISTVIEW_CLASSES));
    EXPECT_EQ(AfxTemplateCommonControls(AfxLoadDialogTemplate(MAKEINTRESOURCEW(IDD_PROGRESS))),
              static_cast<DWORD>(ICC_PROGRESS_CLASS));
    EXPECT_EQ(AfxTemplateCommonControls(AfxLoadDialogTemplate(MAKEINTRESOURCEW(IDD_PLAIN))), 0u);
    EXPECT_EQ(AfxLoadDialogTemplate(MAKEINTRESOURCEW(4711)), nullptr);

    uitest::DialogTemplate inMemory(WS_POPUP, 100, 100, L"x", L"Arial", 9);
    inMemory.Control(L"Button", L"b", 1, 0, 0, 0, 10, 10).Control(L"SysTabControl32", L"", 2, 0, 0, 0, 10, 10);
    EXPECT_EQ(AfxTemplateCommonControls(inMemory.Get()), static_cast<DWORD>(ICC_TAB_CLASSES));
}

class AddPortDlg : public CDialogEx {
public:
    AddPortDlg() : CDialogEx(IDD_ADDPORT) {}
    CWnd m_ip;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 100, m_ip); }
};

TEST(DialogCreate, AModalDialogFromAResourceTemplateComesUpWithItsControls)
{
    UiHarness harness;
    AddPortDlg dlg;
    std::wstring caption, ipClass;
    const INT_PTR result =
        harness.RunModal(dlg, {
                                  Do([&](CWnd& wnd) {
                                      caption = uitest::WindowText(wnd.m_hWnd);
                                      wchar_t cls[64] = {};
                                      ::GetClassNameW(dlg.m_ip.m_hWnd, cls, 64);
                                      ipClass = cls;
                                  }),
                                  Do([](CWnd& wnd) { uitest::Click(::GetDlgItem(wnd.m_hWnd, IDOK)); }),
                              });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(caption, L"Add Port");
    EXPECT_EQ(ipClass, L"SysIPAddress32");
    EXPECT_EQ(dlg.m_ip.m_hWnd, nullptr) << "the control's object let go when the dialog was destroyed";
}

std::vector<std::string> g_keys;

class Page : public CDialog {
public:
    CWnd m_edit;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 100, m_edit); }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN) {
            g_keys.push_back("page " + std::to_string(pMsg->wParam));
            if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_F1)
                return TRUE;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }
};

class MainDlg : public CDialog {
public:
    Page m_page;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (!m_page.Create(IDD_PAGE, this))
            return TRUE;
        m_page.MoveWindow(10, 10, 200, 100);
        m_page.ShowWindow(SW_SHOW);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            g_keys.push_back("main " + std::to_string(pMsg->wParam));
        return CDialog::PreTranslateMessage(pMsg);
    }
};

TEST(DialogCreate, AChildPageSitsInsideItsParentAndKeysWalkThroughIt)
{
    g_keys.clear();
    UiHarness harness;
    uitest::DialogTemplate mainTmpl(WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 120, L"Main");
    mainTmpl.Control(L"Button", L"OK", IDOK, BS_DEFPUSHBUTTON, 5, 100, 40, 14);
    MainDlg dlg;
    dlg.InitModalIndirect(mainTmpl.Get());
    HWND pageParent = nullptr;
    HWND mainWnd = nullptr;
    bool pageIsChild = false;
    bool openAfterEnter = false;
    const INT_PTR result =
        harness.RunModal(dlg, {
                                  Do([&](CWnd& wnd) {
                                      mainWnd = wnd.m_hWnd;
                                      pageParent = ::GetParent(dlg.m_page.m_hWnd);
                                      pageIsChild = (dlg.m_page.GetStyle() & WS_CHILD) != 0;
                                      dlg.m_page.m_edit.SetFocus();
                                  }),
                                  Do([&](CWnd&) { uitest::PressKey(dlg.m_page.m_edit.m_hWnd, VK_RETURN); }),
                                  Do([&](CWnd& wnd) { openAfterEnter = ::IsWindowVisible(wnd.m_hWnd) != FALSE; }),
                                  Do([&](CWnd&) { uitest::PressKey(dlg.m_page.m_edit.m_hWnd, 'A'); }),
                                  Do([&](CWnd&) { dlg.EndDialog(IDOK); }),
                              });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(pageParent, mainWnd);
    EXPECT_TRUE(pageIsChild);
    EXPECT_TRUE(openAfterEnter) << "the page swallows Enter before the dialog manager sees it";
    EXPECT_EQ(g_keys, (std::vector<std::string>{"page 13", "page 65", "main 65"}));
    EXPECT_EQ(dlg.m_page.m_hWnd, nullptr);
    EXPECT_EQ(harness.DialogsEndedByHarness(), 0);
}

}  // namespace
