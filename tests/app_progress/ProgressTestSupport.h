// Shared set-up of the progress dialog's tests: the machine reset, the globals of an operation,
// and reading the registry back.
#pragma once

#include "app/Globals.h"
#include "app/ProgressDlg.h"
#include "tests/support/SimMachine.h"
#include "tests/support/UiHarness.h"

#include <string>
#include <vector>

namespace progresstest {

enum { IDC_PROGRESS = 1024, IDC_PROGRESS_TEXT = 1025 };

// A DWORD value of HKLM\path, or -1 when it is missing.
long long ReadDword(const std::wstring& path, const wchar_t* name);
bool KeyExists(const std::wstring& path);
std::wstring PortKey(unsigned comNumber);
std::wstring DeviceParamsKey(unsigned comNumber);

inline std::wstring ProgressText(CWnd& dlg)
{
    return uitest::DlgItemText(dlg.GetSafeHwnd(), IDC_PROGRESS_TEXT);
}

class ProgressDialogTest : public SimMachineTest {
protected:
    void SetUp() override;
    void TearDown() override;
    std::vector<std::wstring> BoxTexts() const;

    uitest::UiHarness harness;
    int savedOsVersion = 0;
};

}  // namespace progresstest
