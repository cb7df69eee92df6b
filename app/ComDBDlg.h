// The COM-number database dialog: all 256 COM numbers as coloured toggle tiles. Present numbers
// are always claimed; every other number is claimed or released in the COM-port database as its
// tile shows when the user applies. Nothing is written while tiles are toggled.
#pragma once

#include "app/ComUsage.h"
#include "controls/IXButtonEx.h"
#include "framework/framework.h"
#include "res/parts/comdb.h"

class CSVT_ComDBDlg : public CDialog {
public:
    enum { IDD = IDD_COMDB };

    // Tiles: COM1 to COM256, then the three legends.
    static constexpr int kComTileCount = 256;
    static constexpr int kTileCount = kComTileCount + 3;

    explicit CSVT_ComDBDlg(CWnd* pParent = nullptr);
    ~CSVT_ComDBDlg() override;

    // Element n - 1 is the tile of COM n (control 1028 + n); elements 256 to 258 are the
    // legends 1285 to 1287.
    CIXButtonEx m_tiles[kTileCount];
    // Cancel (1028): ends the dialog with IDOK.
    CButton m_cancelButton;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnBnClickedClearAll();
    void OnBnClickedApply();

    DECLARE_MESSAGE_MAP()

private:
    // What the map built at opening lacks. Without the database's claims every number that
    // other software reserved would look free, and Apply would release it.
    ComUsageGap m_mapGap = ComUsageGap::None;
};
