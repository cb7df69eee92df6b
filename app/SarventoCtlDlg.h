// The main dialog: menu bar, four tool buttons, the tab control with the two pages, and the
// status bar. Its modal loop is the program's message loop.
#pragma once

#include "controls/ButtonST.h"
#include "framework/framework.h"
#include "res/resource.h"

// The tool buttons: icon buttons with a hover icon, a tooltip and the hover cursor.
using ToolButton = CButtonST;

class CSVT_SarventoCtlDlg : public CDialogEx {
public:
    enum { IDD = IDD_MAIN };

    explicit CSVT_SarventoCtlDlg(CWnd* pParent = nullptr);
    ~CSVT_SarventoCtlDlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    HICON m_hIcon;
    // The page rectangle in client coordinates, taken once from the tab control; only its left
    // and top are used afterwards.
    CRect PageRect;
    CTabCtrl m_tab;
    int LayoutReady = 0;
    ToolButton m_toolButtons[4];  // 1022 add, 1023 delete, 1024 apply, 1025 revert
    struct {
        UINT cx;
        UINT cy;
    } ClientSize = {0, 0};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void InitButtons();
    void InitTabs();
    void ShowPortInUse(int comNumber);

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnSize(UINT nType, int cx, int cy);
    void OnTcnSelchangeTab(NMHDR* pNMHDR, LRESULT* pResult);
    void OnAbout();
    void OnComDBSetting();
    void OnHelp();
    // Commands 32775 and 32776, sent by the installer and the uninstaller; no menu carries them.
    void OnInstall();
    void OnUninstall();

    // The port commands (app/SarventoCtlDlgCommands.cpp): they hand over to the two pages.
    void OnBnClickedAdd();
    void OnAddPorts();
    void OnDeletePorts();
    void OnDeleteAllPorts();
    void OnBnClickedApply();
    void OnBnClickedRevert();

    DECLARE_MESSAGE_MAP()

private:
    void AddAboutToSystemMenu();
    void LoadMenuBar();
    void CreateStatusBar();
    void SetStatusPaneWidth(int cx);
    void ShowToolButtons(int nCmdShow);

    // The status bar's fonts while a port in use is shown and afterwards; the dialog owns them
    // for its whole life, so the bar never draws with a deleted font.
    CFont m_fontInUse;
    CFont m_fontReady;
};
