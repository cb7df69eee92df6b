// A fixture that runs the COM-number database dialog on the simulated machine under the UI
// harness, and what its tests share.
#pragma once

#include "app/ComDBDlg.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <string>
#include <vector>

class ComDbDialogTest : public SimMachineTest {
protected:
    // The machine most tests start from: SERIALCOMM lists COM1 and COM3, the database claims
    // COM1, COM2 and COM5, and this system's port COM5 is present. So COM1, COM3 and COM5 are
    // present, COM2 is claimed, and every other number is free.
    void ArrangeMixedMachine();

    INT_PTR Run(std::vector<uitest::Step> steps) { return ui.RunModal(dlg, std::move(steps)); }

    CIXButtonEx& Tile(int comNumber) { return dlg.m_tiles[comNumber - 1]; }

    CWinApp app;
    uitest::UiHarness ui;
    CSVT_ComDBDlg dlg;
};

// A control of the dialog.
HWND Item(CWnd& dlg, int id);
// The tile of COM n.
HWND TileWindow(CWnd& dlg, int comNumber);
// Clicks a button as the user does (left button down and up on it).
void ClickItem(CWnd& dlg, int id);
// The texts of the message boxes shown, in order.
std::vector<std::wstring> Texts(const std::vector<AfxMessageBoxCall>& boxes);
