// Message boxes: one road, the application's title as caption, flags and owner, scripted answers.
#include "framework/framework.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

namespace {

using uitest::UiHarness;

TEST(MsgBox, AfxMessageBoxIsCaptionedWithTheExecutablesNameWhenThereIsNoTitleString)
{
    UiHarness harness;
    CWinApp app;
    AfxMessageBox(L"Program is already running!");
    ASSERT_EQ(harness.MessageBoxes().size(), 1u);
    EXPECT_EQ(harness.MessageBoxes()[0].text, L"Program is already running!");
    EXPECT_EQ(harness.MessageBoxes()[0].caption, L"framework_window_tests");
    EXPECT_STREQ(app.m_pszAppName, L"framework_window_tests");
}

TEST(MsgBox, OkBoxesWithoutIconGetTheExclamationMarkAndYesNoBoxesTheQuestionMark)
{
    UiHarness harness;
    AfxMessageBox(L"a", MB_OK);
    AfxMessageBox(L"b", MB_OKCANCEL);
    AfxMessageBox(L"c", MB_YESNO);
    AfxMessageBox(L"d", MB_OKCANCEL | MB_ICONINFORMATION);
    AfxMessageBox(L"e", MB_RETRYCANCEL);
    const auto& boxes = harness.MessageBoxes();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].nType, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[1].nType, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[2].nType, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(boxes[3].nType, static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION));
    EXPECT_EQ(boxes[4].nType, static_cast<UINT>(MB_RETRYCANCEL));
}

TEST(MsgBox, ScriptedAnswersComeFirstThenTheDefaultButton)
{
    UiHarness harness;
    harness.AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(AfxMessageBox(L"Do you want to delete ports?", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox(L"Do you want to delete ports?", MB_OKCANCEL), IDOK);
    EXPECT_EQ(AfxMessageBox(L"x", MB_YESNO | MB_DEFBUTTON2), IDNO);
}

}  // namespace
