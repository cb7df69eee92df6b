// The add-port dialog driven as a user drives it, against the simulated machine.
#include "app/ComInstConfDlg.h"

#include "app/Globals.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <string>
#include <vector>

using namespace uitest;

namespace {

enum {
    IDC_START_COM = 1003,
    IDC_COUNT = 1004,
    IDC_PROTOCOL = 1005,
    IDC_PORT = 1006,
    IDC_IP = 1007,
    IDC_ALIAS = 1021,
    IDC_TRIGGER = 1288
};

HWND Item(CWnd& dlg, int id)
{
    return ::GetDlgItem(dlg.GetSafeHwnd(), id);
}

void SelectCombo(CWnd& dlg, int id, const wchar_t* text)
{
    HWND combo = Item(dlg, id);
    LRESULT index = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    ASSERT_NE(CB_ERR, index) << Narrow(text);
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SetText(CWnd& dlg, int id, const wchar_t* text)
{
    ::SetWindowTextW(Item(dlg, id), text);
}

Step PressOk()
{
    return Do([](CWnd& dlg) { Click(Item(dlg, IDOK)); });
}

class AddPortDialogTest : public SimMachineTest {
protected:
    void SetUp() override
    {
        SimMachineTest::SetUp();
        g_addPortRequest = AddPortRequest();
    }
    std::vector<std::wstring> BoxTexts() const
    {
        std::vector<std::wstring> texts;
        for (const auto& box : harness.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }
    UiHarness harness;
};

TEST_F(AddPortDialogTest, OffersOnlyFreeNumbersAndSelectsTheLowest)
{
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial3", 3));
    ASSERT_TRUE(simtest::SetComDbClaims({4}));
    CSVT_ComInstConfDlg dlg;
    std::vector<std::wstring> starts, counts, protocols, triggers;
    std::wstring selectedStart, port, trigger;
    harness.RunModal(dlg, {Do([&](CWnd& d) {
                         starts = ComboBoxItems(Item(d, IDC_START_COM));
                         counts = ComboBoxItems(Item(d, IDC_COUNT));
                         protocols = ComboBoxItems(Item(d, IDC_PROTOCOL));
                         triggers = ComboBoxItems(Item(d, IDC_TRIGGER));
                         selectedStart = WindowText(Item(d, IDC_START_COM));
                         port = DlgItemText(d.GetSafeHwnd(), IDC_PORT);
                         trigger = WindowText(Item(d, IDC_TRIGGER));
                     })});

    ASSERT_GE(starts.size(), 3u);
    EXPECT_EQ(L"COM1", starts[0]);
    EXPECT_EQ(L"COM2", starts[1]);
    EXPECT_EQ(L"COM5", starts[2]);
    EXPECT_EQ(253u, starts.size());  // 255 numbers, less COM3 (present) and COM4 (claimed)
    EXPECT_EQ(L"COM1", selectedStart);
    ASSERT_EQ(32u, counts.size());
    EXPECT_EQ(L"32", counts.back());
    EXPECT_EQ((std::vector<std::wstring>{L"COM", L"Encryption"}), protocols);
    ASSERT_EQ(255u, triggers.size());
    EXPECT_EQ(L"255", trigger);
    EXPECT_EQ(L"4001", port);
}

// Without the database's claims (or the device list) no number is known to be free: the dialog
// says so as it opens, offers none, and OK takes none, also once the fault is gone.
TEST_F(AddPortDialogTest, AMapWithoutTheClaimsOffersNoNumberAndOkTakesNone)
{
    const struct {
        const wchar_t* fault;
        const wchar_t* text;
    } gaps[] = {
        {SIM_CONTROL_COMDB_OPEN_FAILS, L"ComDBOpen Fail!"},
        {SIM_CONTROL_COMDB_REPORT_FAILS, L"Failed to read the COM DB usage. Unable to add ports"},
        {SIM_CONTROL_DEVICE_LIST_FAILS, L"Failed to get the device list. Unable to add ports"},
    };
    for (const auto& gap : gaps) {
        SCOPED_TRACE(Narrow(gap.fault));
        ASSERT_TRUE(simtest::InjectFault(gap.fault));
        harness.ClearMessageBoxes();
        CSVT_ComInstConfDlg dlg;
        std::vector<std::wstring> starts, textsAtOpening;
        INT_PTR result = harness.RunModal(dlg, {Do([&](CWnd& d) {
                                                    starts = ComboBoxItems(Item(d, IDC_START_COM));
                                                    textsAtOpening = BoxTexts();
                                                    ASSERT_TRUE(simtest::ClearFault(gap.fault));
                                                }),
                                                PressOk()});
        EXPECT_EQ((std::vector<std::wstring>{gap.text}), textsAtOpening);
        EXPECT_TRUE(starts.empty());
        EXPECT_EQ((std::vector<std::wstring>{gap.text, gap.text}), BoxTexts());
        EXPECT_EQ(IDCANCEL, result);
    }
}

TEST_F(AddPortDialogTest, OkFillsTheRequestAndSkipsNumbersInUse)
{
    ASSERT_TRUE(simtest::AddSerialComm(L"\\Device\\Serial4", 4));
    CSVT_ComInstConfDlg dlg;
    INT_PTR result =
        harness.RunModal(dlg, {Do([](CWnd& d) {
                                   SelectCombo(d, IDC_START_COM, L"COM3");
                                   SelectCombo(d, IDC_COUNT, L"2");
                                   SelectCombo(d, IDC_PROTOCOL, L"Encryption");
                                   SelectCombo(d, IDC_TRIGGER, L"14");
                                   ::SendMessageW(Item(d, IDC_IP), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 20));
                                   SetText(d, IDC_PORT, L"5000");
                                   SetText(d, IDC_ALIAS, L"Line A");
                               }),
                               PressOk()});

    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(BoxTexts().empty());
    const AddPortRequest& r = g_addPortRequest;
    EXPECT_EQ(3u, r.startCom);
    EXPECT_EQ(2u, r.count);
    EXPECT_EQ(0xC0A80114u, r.ipAddress);
    EXPECT_EQ(5000u, r.firstTcpPort);
    EXPECT_EQ(1u, r.protocol);
    EXPECT_EQ(14u, r.txTriggerLevel);
    EXPECT_EQ(CString(L"Line A"), r.alias);
    std::vector<int> chosen;
    for (int n = 0; n < 256; ++n)
        if (r.chosen[n])
            chosen.push_back(n);
    EXPECT_EQ((std::vector<int>{3, 5}), chosen);
}

TEST_F(AddPortDialogTest, BlankAddressGivesZero)
{
    g_addPortRequest.ipAddress = 0x01020304;
    CSVT_ComInstConfDlg dlg;
    EXPECT_EQ(IDOK, harness.RunModal(dlg, {PressOk()}));
    EXPECT_EQ(0u, g_addPortRequest.ipAddress);
    EXPECT_EQ(255u, g_addPortRequest.txTriggerLevel);
    EXPECT_EQ(0u, g_addPortRequest.protocol);
}

// From COM254 two numbers are left for three ports; with every number claimed the start list is
// empty and none is left at all.
TEST_F(AddPortDialogTest, TooFewNumbersUpTo255KeepTheDialogOpen)
{
    const std::vector<unsigned> everyNumber = simtest::FirstComNumbers(255);
    struct {
        const wchar_t* start;  // null: the start list is empty
        const wchar_t* count;
        std::vector<unsigned> claims;
    } const cases[] = {{L"COM254", L"3", {}}, {nullptr, L"1", everyNumber}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start ? Narrow(c.start) : "every number claimed");
        harness.ClearMessageBoxes();
        ASSERT_TRUE(simtest::SetComDbClaims(c.claims));
        CSVT_ComInstConfDlg dlg;
        bool stillOpen = false;
        size_t starts = 0;
        INT_PTR result =
            harness.RunModal(dlg, {Do([&](CWnd& d) {
                                       starts = ComboBoxItems(Item(d, IDC_START_COM)).size();
                                       if (c.start)
                                           SelectCombo(d, IDC_START_COM, c.start);
                                       SelectCombo(d, IDC_COUNT, c.count);
                                   }),
                                   PressOk(), Do([&](CWnd& d) { stillOpen = ::IsWindowVisible(d.GetSafeHwnd()); })});
        EXPECT_EQ(c.start ? 255u : 0u, starts);
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ((std::vector<std::wstring>{L"COM number can not exceed 255."}), BoxTexts());
    }
}

const wchar_t kUnsignedPrompt[] = L"Please enter a positive integer.";
const wchar_t kPortRangePrompt[] = L"Please enter an integer between 1 and 65535.";
const wchar_t kPortSumMessage[] = L"Port number can not exceed 65535.";
const wchar_t kAliasLengthPrompt[] = L"Please enter no more than 50 characters.";

struct EntryCase {
    const wchar_t* port;
    const wchar_t* count;
    const wchar_t* alias;             // null: left empty
    std::vector<std::wstring> boxes;  // none: accepted
};

void PrintTo(const EntryCase& c, std::ostream* os)
{
    *os << "port '" << Narrow(c.port) << "', " << Narrow(c.count) << " ports, alias of "
        << (c.alias ? wcslen(c.alias) : 0) << " characters";
}

class AddPortDialogEntries : public AddPortDialogTest, public ::testing::WithParamInterface<EntryCase> {};

// OK runs the exchange and the library's OK handling runs it again: a rule that fails speaks
// twice, or once followed by the sum check when the port text was still read.
TEST_P(AddPortDialogEntries, AcceptsAnEntryOrShowsWhatItsRulesSay)
{
    const EntryCase c = GetParam();
    CSVT_ComInstConfDlg dlg;
    INT_PTR result = harness.RunModal(dlg, {Do([&](CWnd& d) {
                                                SetText(d, IDC_PORT, c.port);
                                                SelectCombo(d, IDC_COUNT, c.count);
                                                // Set as a program sets it, past the edit's limit.
                                                if (c.alias)
                                                    ::SendMessageW(Item(d, IDC_ALIAS), WM_SETTEXT, 0,
                                                                   reinterpret_cast<LPARAM>(c.alias));
                                            }),
                                            PressOk()});
    EXPECT_EQ(c.boxes.empty() ? IDOK : IDCANCEL, result);
    EXPECT_EQ(c.boxes, BoxTexts());
}

const std::wstring kLongAlias(51, L'a');

INSTANTIATE_TEST_SUITE_P(
    Rules, AddPortDialogEntries,
    ::testing::Values(EntryCase{L"65535", L"1", nullptr, {}}, EntryCase{L"65535", L"2", nullptr, {kPortSumMessage}},
                      EntryCase{L"65534", L"2", nullptr, {}},
                      EntryCase{L"abc", L"1", nullptr, {kUnsignedPrompt, kUnsignedPrompt}},
                      EntryCase{L"", L"1", nullptr, {kUnsignedPrompt, kUnsignedPrompt}},
                      EntryCase{L"70000", L"1", nullptr, {kPortRangePrompt, kPortSumMessage}},
                      EntryCase{L"4001", L"1", kLongAlias.c_str(), {kAliasLengthPrompt, kAliasLengthPrompt}}));

TEST_F(AddPortDialogTest, PortZeroShowsTheRangeMessageTwice)
{
    // The exchange runs when OK is pressed and again in the library's OK handling: the range
    // rule speaks both times and the dialog stays open.
    CSVT_ComInstConfDlg dlg;
    INT_PTR result = harness.RunModal(dlg, {Do([](CWnd& d) { SetText(d, IDC_PORT, L"0"); }), PressOk()});
    EXPECT_EQ(IDCANCEL, result);
    auto texts = BoxTexts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(texts[0], texts[1]);
    EXPECT_NE(std::wstring::npos, texts[0].find(L"65535")) << Narrow(texts[0]);
}

TEST_F(AddPortDialogTest, AliasTakesFiftyCharactersAndNoMore)
{
    CSVT_ComInstConfDlg dlg;
    std::wstring typed;
    INT_PTR result =
        harness.RunModal(dlg, {Do([](CWnd& d) {
                                   HWND alias = Item(d, IDC_ALIAS);
                                   ::SetFocus(alias);
                                   TypeText(alias, std::wstring(51, L'a').c_str());
                               }),
                               Do([&](CWnd& d) { typed = DlgItemText(d.GetSafeHwnd(), IDC_ALIAS); }), PressOk()});
    EXPECT_EQ(std::wstring(50, L'a'), typed);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(50, g_addPortRequest.alias.GetLength());
}

// Cancel, Escape and the close box end the dialog with IDCANCEL and leave the request alone;
// Enter is OK.
TEST_F(AddPortDialogTest, CancelEscapeAndTheCloseBoxLeaveTheRequestAloneAndEnterIsOk)
{
    struct {
        const char* name;
        void (*act)(CWnd& d);
        INT_PTR result;
    } const cases[] = {
        {"Cancel", [](CWnd& d) { Click(Item(d, IDCANCEL)); }, IDCANCEL},
        {"Escape", [](CWnd& d) { PressKey(Item(d, IDC_PORT), VK_ESCAPE); }, IDCANCEL},
        {"close box", [](CWnd& d) { ::SendMessageW(d.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
        {"Enter", [](CWnd& d) { PressKey(Item(d, IDC_PORT), VK_RETURN); }, IDOK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_addPortRequest.count = 7;
        CSVT_ComInstConfDlg dlg;
        EXPECT_EQ(c.result, harness.RunModal(dlg, {Do([&](CWnd& d) {
                                                       ::SetFocus(Item(d, IDC_PORT));
                                                       c.act(d);
                                                   }),
                                                   WaitUntil([](CWnd&) { return false; }, 5000)}));
        EXPECT_EQ(0, harness.DialogsEndedByHarness());
        EXPECT_EQ(c.result == IDOK ? 1u : 7u, g_addPortRequest.count);
    }
}

}  // namespace
