// A fixture that runs the real main dialog under the UI harness, and what its tests share.
#pragma once

#include "app/Globals.h"
#include "app/MonitorDlg.h"
#include "app/PortInfoDlg.h"
#include "app/SarventoCtlDlg.h"
#include "tests/support/UiHarness.h"

#include <gtest/gtest.h>

class MainDialogTest : public ::testing::Test {
protected:
    // As at program start: the dialog is the application's main window, the first tab shown.
    void SetUp() override
    {
        app.m_pMainWnd = &dlg;
        g_currentTab = 0;
    }

    INT_PTR Run(std::vector<uitest::Step> steps) { return ui.RunModal(dlg, std::move(steps)); }

    CWinApp app;
    uitest::UiHarness ui;
    CSVT_SarventoCtlDlg dlg;
};

// A child's rectangle in its parent's client coordinates.
CRect ChildRect(HWND hWnd);

// The page origin (L, T), taken independently of the dialog's code: the tab control's place in
// the template (7, 7), in pixels of the dialog's font, moved in by 8 and down by 70.
CPoint PageOrigin(HWND hDlg);

// Checks rect against (x, y, width, height).
void ExpectPlaced(const CRect& rect, int x, int y, int width, int height, const char* what);
