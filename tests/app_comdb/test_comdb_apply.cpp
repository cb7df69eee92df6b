// What the dialog writes to the COM-port database: Apply with and without clicks, Clear All,
// COM256, a database that does not open, and the ways the dialog closes.
#include "tests/app_comdb/ComDbDialogTestSupport.h"

#include "app/Globals.h"
#include "app/SarventoCtlDlg.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using uitest::Do;
using uitest::Step;

namespace {

const COLORREF kGreen = 0x000A800A;  // present
const COLORREF kBlue = 0x00A47D5B;   // claimed
const COLORREF kLilac = 0x00BB9D9E;  // free

Step Apply()
{
    return Do([](CWnd& w) { ClickItem(w, IDC_COMDB_APPLY); });
}

Step ClearAll()
{
    return Do([](CWnd& w) { ClickItem(w, IDC_COMDB_CLEARALL); });
}

// Each click a separate step, so that the button has seen the release before the next press.
void AddClicks(std::vector<Step>& steps, int comNumber, int times)
{
    for (int i = 0; i < times; ++i)
        steps.push_back(Do([comNumber](CWnd& w) { uitest::Click(TileWindow(w, comNumber)); }));
}

Step ExpectClaims(std::vector<unsigned> claims)
{
    return Do([claims](CWnd&) { EXPECT_EQ(claims, simtest::ComDbClaims()); });
}

}  // namespace

TEST_F(ComDbDialogTest, ApplyWithoutClicksWritesTheStateFoundAtOpening)
{
    ArrangeMixedMachine();
    Run({// Meanwhile another program claims COM7 and COM256; the dialog shows them free.
         Do([](CWnd&) {
             ASSERT_TRUE(simtest::SetComDbClaims({1, 2, 5, 7, 256}));
             ASSERT_TRUE(simtest::ClearRequestLog());
         }),
         Apply(), Do([this](CWnd& w) {
             EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(1u, 2u, 3u, 5u));
             // One open, a claim or a release of each number in turn, one close.
             std::vector<simtest::ComDbCall> expected = {{SIM_CALL_COMDB_OPEN, 0, 0}};
             for (unsigned n = 1; n <= 256; ++n) {
                 const bool claimed = n == 1 || n == 2 || n == 3 || n == 5;
                 expected.push_back({claimed ? SIM_CALL_COMDB_CLAIM_PORT : SIM_CALL_COMDB_RELEASE_PORT, n, 0});
             }
             expected.push_back({SIM_CALL_COMDB_CLOSE, 0, 0});
             EXPECT_EQ(expected, simtest::ComDbCalls());
             EXPECT_THAT(ui.MessageBoxes(), IsEmpty());
             EXPECT_FALSE(::IsWindowEnabled(Item(w, IDC_COMDB_CANCEL)));
             EXPECT_TRUE(::IsWindowVisible(w.m_hWnd));
             // The tiles keep their looks.
             EXPECT_EQ(kBlue, Tile(2).BackColor);
             EXPECT_EQ(kLilac, Tile(7).BackColor);
         })});
    EXPECT_EQ(1, ui.DialogsEndedByHarness()) << "the dialog stayed open after Apply";
}

TEST_F(ComDbDialogTest, ApplyWritesEachTileAsItsClicksLeftIt)
{
    ArrangeMixedMachine();
    std::vector<Step> steps;
    AddClicks(steps, 4, 1);  // free -> claimed
    AddClicks(steps, 2, 1);  // claimed -> free
    AddClicks(steps, 6, 2);  // free, twice
    AddClicks(steps, 1, 1);  // present tiles flip unseen and are claimed all the same
    AddClicks(steps, 3, 2);
    steps.push_back(Do([this](CWnd&) {
        EXPECT_FALSE(Tile(4).ToggleState);
        EXPECT_EQ(kBlue, Tile(4).BackColor);
        EXPECT_EQ(kLilac, Tile(4).HoverBackColor);
        EXPECT_TRUE(Tile(2).ToggleState);
        EXPECT_EQ(kLilac, Tile(2).BackColor);
        EXPECT_TRUE(Tile(6).ToggleState);
        EXPECT_EQ(kLilac, Tile(6).BackColor);
        EXPECT_EQ(kGreen, Tile(1).BackColor);
        // Nothing is written before Apply.
        EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(1u, 2u, 5u));
    }));
    steps.push_back(Apply());
    steps.push_back(ExpectClaims({1, 3, 4, 5}));
    // A second click and a second Apply release it again.
    AddClicks(steps, 4, 1);
    steps.push_back(Apply());
    steps.push_back(ExpectClaims({1, 3, 5}));
    Run(steps);
}

TEST_F(ComDbDialogTest, ClearAllThenApplyReleasesEveryNumberThatIsNotPresent)
{
    ArrangeMixedMachine();
    std::vector<Step> steps;
    AddClicks(steps, 4, 1);
    AddClicks(steps, 1, 1);
    steps.push_back(ClearAll());
    steps.push_back(Do([this](CWnd&) {
        for (int n : {2, 4}) {
            EXPECT_TRUE(Tile(n).ToggleState) << "COM" << n;
            EXPECT_EQ(kLilac, Tile(n).BackColor) << "COM" << n;
            EXPECT_EQ(kBlue, Tile(n).HoverBackColor) << "COM" << n;
        }
        EXPECT_FALSE(Tile(1).ToggleState);
        EXPECT_EQ(kGreen, Tile(1).BackColor);
        // Clear All writes nothing by itself.
        EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(1u, 2u, 5u));
    }));
    steps.push_back(Apply());
    steps.push_back(ExpectClaims({1, 3, 5}));
    Run(steps);
}

TEST_F(ComDbDialogTest, Com256IsClaimedAndReleasedLikeTheRest)
{
    ASSERT_TRUE(simtest::SetComDbClaims({255}));
    std::vector<Step> steps;
    AddClicks(steps, 256, 1);
    AddClicks(steps, 255, 1);
    steps.push_back(Apply());
    steps.push_back(ExpectClaims({256}));
    steps.push_back(ClearAll());
    steps.push_back(Apply());
    steps.push_back(ExpectClaims({}));
    Run(steps);
}

TEST_F(ComDbDialogTest, ADatabaseThatDoesNotOpenAtApplyIsReportedAndNothingIsWritten)
{
    ArrangeMixedMachine();
    std::vector<Step> steps;
    AddClicks(steps, 4, 1);
    steps.push_back(Do([](CWnd&) { ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_COMDB_OPEN_FAILS)); }));
    steps.push_back(Apply());
    steps.push_back(Do([this](CWnd& w) {
        EXPECT_THAT(Texts(ui.MessageBoxes()), ElementsAre(L"ComDBOpen Fail!"));
        EXPECT_EQ(static_cast<UINT>(MB_OK), ui.MessageBoxes().at(0).nType & MB_TYPEMASK);
        EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(1u, 2u, 5u));
        EXPECT_FALSE(::IsWindowEnabled(Item(w, IDC_COMDB_CANCEL)));
        EXPECT_TRUE(::IsWindowVisible(w.m_hWnd));
        ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_COMDB_OPEN_FAILS));
    }));
    // Apply can be tried again.
    steps.push_back(Apply());
    steps.push_back(ExpectClaims({1, 2, 3, 4, 5}));
    Run(steps);
    EXPECT_EQ(1u, ui.MessageBoxes().size());
}

TEST_F(ComDbDialogTest, AMapBuiltWithoutTheDatabaseIsNeverWrittenBack)
{
    // The database is unreadable as the dialog opens: COM2, reserved by other software, looks
    // free. Writing that map would release COM2; Apply refuses, also once the database is back.
    ArrangeMixedMachine();
    ASSERT_TRUE(simtest::InjectFault(SIM_CONTROL_COMDB_OPEN_FAILS));
    Run({Do([this](CWnd&) {
             EXPECT_THAT(Texts(ui.MessageBoxes()), ElementsAre(L"ComDBOpen Fail!"));
             EXPECT_EQ(kLilac, Tile(2).BackColor);
             ASSERT_TRUE(simtest::ClearFault(SIM_CONTROL_COMDB_OPEN_FAILS));
         }),
         Apply(), Do([this](CWnd& w) {
             EXPECT_THAT(Texts(ui.MessageBoxes()), ElementsAre(L"ComDBOpen Fail!", L"ComDBOpen Fail!"));
             EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(1u, 2u, 5u));
             EXPECT_FALSE(::IsWindowEnabled(Item(w, IDC_COMDB_CANCEL)));
         })});
}

TEST_F(ComDbDialogTest, AMapWithoutTheDeviceListOrTheUsageReportIsNamedAtOpeningAndNeverWritten)
{
    // The database opens, but the map lacks this system's ports or the database's claims:
    // the dialog says which at opening and again at Apply, which writes nothing.
    ArrangeMixedMachine();
    const struct {
        const wchar_t* fault;
        const wchar_t* text;
    } gaps[] = {
        {SIM_CONTROL_DEVICE_LIST_FAILS, L"Failed to get the device list. Unable to apply COM DB"},
        {SIM_CONTROL_COMDB_REPORT_FAILS, L"Failed to read the COM DB usage. Unable to apply COM DB"},
    };
    for (const auto& gap : gaps) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(gap.fault)));
        ASSERT_TRUE(simtest::InjectFault(gap.fault));
        const size_t before = ui.MessageBoxes().size();
        CSVT_ComDBDlg dialog;
        ui.RunModal(dialog, {Do([&](CWnd&) {
                                 const std::vector<std::wstring> texts = Texts(ui.MessageBoxes());
                                 EXPECT_THAT(std::vector<std::wstring>(texts.begin() + before, texts.end()),
                                             ElementsAre(gap.text));
                                 ASSERT_TRUE(simtest::ClearFault(gap.fault));
                                 ASSERT_TRUE(simtest::ClearRequestLog());
                             }),
                             Apply(), Do([&](CWnd& w) {
                                 EXPECT_EQ(before + 2, ui.MessageBoxes().size());
                                 EXPECT_EQ(gap.text, ui.MessageBoxes().back().text);
                                 EXPECT_THAT(simtest::ComDbCalls(), IsEmpty());
                                 EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(1u, 2u, 5u));
                                 EXPECT_FALSE(::IsWindowEnabled(Item(w, IDC_COMDB_CANCEL)));
                             })});
    }
}

TEST_F(ComDbDialogTest, CancelEndsWithOkWritesNothingAndLeavesTheMapAsBuilt)
{
    ArrangeMixedMachine();
    std::vector<Step> steps;
    AddClicks(steps, 4, 1);
    steps.push_back(Do([](CWnd& w) { ClickItem(w, IDC_COMDB_CANCEL); }));
    EXPECT_EQ(IDOK, Run(steps));
    EXPECT_EQ(0, ui.DialogsEndedByHarness());
    EXPECT_THAT(simtest::ComDbClaims(), ElementsAre(1u, 2u, 5u));
    EXPECT_EQ(COMUSE_PRESENT, g_comUsageMap[0]);
    EXPECT_EQ(COMUSE_RESERVED, g_comUsageMap[1]);
    EXPECT_EQ(COMUSE_PRESENT, g_comUsageMap[2]);
    EXPECT_EQ(COMUSE_FREE, g_comUsageMap[3]);
    EXPECT_EQ(COMUSE_PRESENT, g_comUsageMap[4]);
}

TEST_F(ComDbDialogTest, TheCloseBoxEndsWithCancel)
{
    EXPECT_EQ(IDCANCEL, Run({Do([](CWnd& w) { w.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); })}));
    EXPECT_EQ(0, ui.DialogsEndedByHarness());
}

// The main dialog opens it from Configuration > ComDB Setting, as its owner.
TEST_F(ComDbDialogTest, OpensFromTheMainDialogsMenu)
{
    CSVT_SarventoCtlDlg mainDlg;
    app.m_pMainWnd = &mainDlg;
    g_currentTab = 0;
    HWND hMain = nullptr;
    ui.OnNextModal({Do([&hMain](CWnd& w) {
        EXPECT_EQ(L"COM DB Setting", uitest::WindowText(w.m_hWnd));
        EXPECT_EQ(hMain, ::GetWindow(w.m_hWnd, GW_OWNER));
        EXPECT_FALSE(::IsWindowEnabled(hMain));
        ClickItem(w, IDC_COMDB_CANCEL);
    })});
    ui.RunModal(mainDlg, {Do([&hMain](CWnd& w) {
                              hMain = w.m_hWnd;
                              EXPECT_TRUE(uitest::ChooseMenuItem(w.m_hWnd, ID_COMDB));
                          }),
                          uitest::WaitUntil([](CWnd& w) { return ::IsWindowEnabled(w.m_hWnd) != FALSE; })});
    EXPECT_EQ(1, ui.DialogsEndedByHarness()) << "only the main dialog was left open";
    EXPECT_EQ(0, ui.UnexpectedDialogs());
}
