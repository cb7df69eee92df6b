// Message maps: the search order, commands, notifications and reflection to the sending control.
#include "framework/framework.h"
#include "tests/support/DialogTemplate.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using uitest::DialogTemplate;

const int IDC_EDIT = 100;
const int IDC_LIST = 101;
const UINT ID_CMD_FIRST = 32770;
const UINT ID_CMD_LAST = 32779;
const UINT ID_CMD_BASE = 32790;
const int TEST_NOTIFY = -1001;  // a notification code of the tests' own
const int TEST_NOTIFY_EX = -1002;

std::vector<std::string> g_log;

// The sending control: its reflected handlers log and answer as each test sets them.
class ReflectingEdit : public CWnd {
public:
    BOOL changeExResult = FALSE;
    BOOL notifyExResult = FALSE;
    LRESULT notifyResult = 0;
    HBRUSH brush = nullptr;

    void OnChangeReflect() { g_log.push_back("child EN_CHANGE"); }
    BOOL OnUpdateReflectEx()
    {
        g_log.push_back("child EN_UPDATE");
        return changeExResult;
    }
    void OnNotifyReflect(NMHDR*, LRESULT* pResult)
    {
        g_log.push_back("child notify");
        *pResult = notifyResult;
    }
    BOOL OnNotifyReflectEx(NMHDR*, LRESULT* pResult)
    {
        g_log.push_back("child notify ex");
        *pResult = notifyResult;
        return notifyExResult;
    }
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        g_log.push_back(pDC != nullptr && nCtlColor == CTLCOLOR_EDIT ? "child ctlcolor edit" : "child ctlcolor ?");
        return brush;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingEdit, CWnd)
ON_CONTROL_REFLECT(EN_CHANGE, &ReflectingEdit::OnChangeReflect)
ON_CONTROL_REFLECT_EX(EN_UPDATE, &ReflectingEdit::OnUpdateReflectEx)
ON_NOTIFY_REFLECT(TEST_NOTIFY, &ReflectingEdit::OnNotifyReflect)
ON_NOTIFY_REFLECT_EX(TEST_NOTIFY_EX, &ReflectingEdit::OnNotifyReflectEx)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class BaseDlg : public CDialog {
public:
    void OnBaseCommand() { g_log.push_back("base command"); }
    void OnOverridden() { g_log.push_back("base overridden"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseDlg, CDialog)
ON_COMMAND(ID_CMD_BASE, &BaseDlg::OnBaseCommand)
ON_COMMAND(ID_CMD_BASE + 1, &BaseDlg::OnOverridden)
END_MESSAGE_MAP()

class ParentDlg : public BaseDlg {
public:
    ReflectingEdit m_edit;
    std::vector<UINT> rangeIds;
    LRESULT parentSeesResult = -1;
    BOOL notifyExResult = FALSE;

    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_EDIT, m_edit); }
    void OnRange(UINT nID) { rangeIds.push_back(nID); }
    void OnOverridden() { g_log.push_back("derived overridden"); }
    void OnEditChange() { g_log.push_back("parent EN_CHANGE"); }
    void OnEditUpdate() { g_log.push_back("parent EN_UPDATE"); }
    void OnNotifyEx(NMHDR*, LRESULT* pResult)
    {
        g_log.push_back("parent notify ex");
        parentSeesResult = *pResult;
        *pResult += 1;
    }
    void OnNotifyPlain(NMHDR*, LRESULT*) { g_log.push_back("parent notify"); }
    BOOL OnIdZeroFirst(UINT nID, NMHDR*, LRESULT*)
    {
        g_log.push_back("id zero first " + std::to_string(nID));
        return notifyExResult;
    }
    BOOL OnIdZeroSecond(UINT, NMHDR*, LRESULT* pResult)
    {
        g_log.push_back("id zero second");
        *pResult = 77;
        return TRUE;
    }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        g_log.push_back("parent ctlcolor");
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentDlg, BaseDlg)
ON_CONTROL_RANGE(CN_COMMAND, ID_CMD_FIRST, ID_CMD_LAST, &ParentDlg::OnRange)
ON_COMMAND(ID_CMD_BASE + 1, &ParentDlg::OnOverridden)
ON_CONTROL(EN_CHANGE, IDC_EDIT, &ParentDlg::OnEditChange)
ON_CONTROL(EN_UPDATE, IDC_EDIT, &ParentDlg::OnEditUpdate)
ON_NOTIFY(TEST_NOTIFY, IDC_EDIT, &ParentDlg::OnNotifyPlain)
ON_NOTIFY(TEST_NOTIFY_EX, IDC_EDIT, &ParentDlg::OnNotifyEx)
ON_NOTIFY_EX(TEST_NOTIFY, 0, &ParentDlg::OnIdZeroFirst)
ON_NOTIFY_EX(TEST_NOTIFY, 0, &ParentDlg::OnIdZeroSecond)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        m_template.Control(L"Edit", L"", IDC_EDIT, WS_BORDER | ES_AUTOHSCROLL, 5, 5, 80, 12)
            .Control(L"SysListView32", L"", IDC_LIST, LVS_REPORT, 5, 20, 80, 40);
        ASSERT_TRUE(m_dlg.CreateIndirect(m_template.Get(), nullptr));
        g_log.clear();
    }
    void TearDown() override { m_dlg.DestroyWindow(); }

    LRESULT SendNotify(int code, HWND hWndFrom, UINT_PTR idFrom)
    {
        NMHDR nm = {hWndFrom, idFrom, static_cast<UINT>(code)};
        return ::SendMessageW(m_dlg.m_hWnd, WM_NOTIFY, idFrom, reinterpret_cast<LPARAM>(&nm));
    }
    LRESULT SendEditCommand(UINT code)
    {
        return ::SendMessageW(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_EDIT, code),
                              reinterpret_cast<LPARAM>(m_dlg.m_edit.m_hWnd));
    }

    DialogTemplate m_template{WS_POPUP | WS_CAPTION, 120, 80, L"Dispatch"};
    ParentDlg m_dlg;
};

TEST_F(DispatchTest, DerivedEntriesComeFirstAndTheBaseMapIsStillSearched)
{
    ::SendMessageW(m_dlg.m_hWnd, WM_COMMAND, ID_CMD_BASE + 1, 0);
    ::SendMessageW(m_dlg.m_hWnd, WM_COMMAND, ID_CMD_BASE, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"derived overridden", "base command"}));
}

TEST_F(DispatchTest, ACommandWithoutControlIsAPlainCommandWhateverItsHighWord)
{
    ::SendMessageW(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_CMD_FIRST, 0), 0);      // menu
    ::SendMessageW(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_CMD_FIRST + 3, 1), 0);  // accelerator
    ::SendMessageW(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_CMD_LAST + 1, 0), 0);   // outside the range
    EXPECT_EQ(m_dlg.rangeIds, (std::vector<UINT>{ID_CMD_FIRST, ID_CMD_FIRST + 3}));
}

TEST_F(DispatchTest, ACommandFromAnotherThreadWithLParamZeroReachesTheCommandHandler)
{
    HWND hDlg = m_dlg.m_hWnd;
    std::thread sender([hDlg] { ::PostMessageW(hDlg, WM_COMMAND, ID_CMD_LAST, 0); });
    sender.join();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    EXPECT_EQ(m_dlg.rangeIds, (std::vector<UINT>{ID_CMD_LAST}));
}

TEST_F(DispatchTest, AReflectedCommandTakenByTheControlNeverReachesTheParent)
{
    SendEditCommand(EN_CHANGE);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child EN_CHANGE"}));
}

TEST_F(DispatchTest, AReflectedExHandlerReturningFalseLetsTheParentHandleItAfterTheControl)
{
    m_dlg.m_edit.changeExResult = FALSE;
    SendEditCommand(EN_UPDATE);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child EN_UPDATE", "parent EN_UPDATE"}));

    g_log.clear();
    m_dlg.m_edit.changeExResult = TRUE;
    SendEditCommand(EN_UPDATE);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child EN_UPDATE"}));
}

TEST_F(DispatchTest, AReflectedNotificationsResultReachesTheSenderAndTheDialogResult)
{
    m_dlg.m_edit.notifyResult = CDRF_NOTIFYITEMDRAW;
    const LRESULT result = SendNotify(TEST_NOTIFY, m_dlg.m_edit.m_hWnd, IDC_EDIT);
    EXPECT_EQ(result, CDRF_NOTIFYITEMDRAW);
    EXPECT_EQ(::GetWindowLongPtrW(m_dlg.m_hWnd, DWLP_MSGRESULT), CDRF_NOTIFYITEMDRAW);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child notify"}));
}

TEST_F(DispatchTest, TheParentSeesTheResultAReflectedExHandlerLeftWhenItDeclined)
{
    m_dlg.m_edit.notifyResult = 40;
    m_dlg.m_edit.notifyExResult = FALSE;
    const LRESULT result = SendNotify(TEST_NOTIFY_EX, m_dlg.m_edit.m_hWnd, IDC_EDIT);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child notify ex", "parent notify ex"}));
    EXPECT_EQ(m_dlg.parentSeesResult, 40);
    EXPECT_EQ(result, 41);
    EXPECT_EQ(::GetWindowLongPtrW(m_dlg.m_hWnd, DWLP_MSGRESULT), 41);

    g_log.clear();
    m_dlg.m_edit.notifyExResult = TRUE;
    EXPECT_EQ(SendNotify(TEST_NOTIFY_EX, m_dlg.m_edit.m_hWnd, IDC_EDIT), 40);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child notify ex"}));
}

TEST_F(DispatchTest, ANotificationFromAWindowWithoutObjectGoesToTheParentMap)
{
    HWND hList = ::GetDlgItem(m_dlg.m_hWnd, IDC_LIST);
    SendNotify(TEST_NOTIFY, hList, IDC_LIST);  // no handler for IDC_LIST: nothing runs
    EXPECT_TRUE(g_log.empty());
}

TEST_F(DispatchTest, NotificationsMatchTheSendersWindowIdAndExHandlersThatDeclinePassItOn)
{
    // A tooltip is a popup: its window id is 0 whatever tool id it reports in idFrom.
    HWND hTip =
        ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, m_dlg.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(hTip, nullptr);
    m_dlg.notifyExResult = FALSE;
    EXPECT_EQ(SendNotify(TEST_NOTIFY, hTip, 1234), 77);
    EXPECT_EQ(g_log, (std::vector<std::string>{"id zero first 0", "id zero second"}));

    g_log.clear();
    m_dlg.notifyExResult = TRUE;
    SendNotify(TEST_NOTIFY, hTip, 1234);
    EXPECT_EQ(g_log, (std::vector<std::string>{"id zero first 0"}));
    ::DestroyWindow(hTip);
}

TEST_F(DispatchTest, ACtlColorTheControlAnswersIsTheParentsAnswer)
{
    CBrush brush;
    ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
    m_dlg.m_edit.brush = brush;
    HDC hDC = ::GetDC(m_dlg.m_edit.m_hWnd);
    LRESULT result = ::SendMessageW(m_dlg.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC),
                                    reinterpret_cast<LPARAM>(m_dlg.m_edit.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(result), static_cast<HBRUSH>(brush));
    EXPECT_EQ(g_log, (std::vector<std::string>{"parent ctlcolor", "child ctlcolor edit"}));

    // A control that answers no brush leaves the colouring to the parent's default processing.
    m_dlg.m_edit.brush = nullptr;
    result = ::SendMessageW(m_dlg.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC),
                            reinterpret_cast<LPARAM>(m_dlg.m_edit.m_hWnd));
    EXPECT_NE(reinterpret_cast<HBRUSH>(result), static_cast<HBRUSH>(brush));
    ::ReleaseDC(m_dlg.m_edit.m_hWnd, hDC);
}

class LockoutDlg : public CDialog {
public:
    CString text = L"filled";
    int changes = 0;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_EDIT, text); }
    void OnEditChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LockoutDlg, CDialog)
ON_CONTROL(EN_CHANGE, IDC_EDIT, &LockoutDlg::OnEditChange)
END_MESSAGE_MAP()

TEST(Dispatch, ControlNotificationsCausedByUpdateDataAreNotTheUsers)
{
    DialogTemplate tmpl(WS_POPUP, 100, 40, L"Lockout");
    tmpl.Control(L"Edit", L"", IDC_EDIT, WS_BORDER, 5, 5, 80, 12);
    LockoutDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get(), nullptr));  // OnInitDialog fills the edit
    wchar_t shown[16] = {};
    ::GetDlgItemTextW(dlg.m_hWnd, IDC_EDIT, shown, 16);
    EXPECT_STREQ(shown, L"filled");
    EXPECT_EQ(dlg.changes, 0);
    ::SetDlgItemTextW(dlg.m_hWnd, IDC_EDIT, L"typed");
    EXPECT_EQ(dlg.changes, 1);
    dlg.DestroyWindow();
}

}  // namespace
