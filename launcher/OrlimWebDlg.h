#pragma once

#include "launcher/LauncherHost.h"
#include "browser/DlgWeb.h"
#include "framework/CComboBox.h"
#include "framework/CDialog.h"
#include "framework/CString.h"
#include "framework/UniqueHandle.h"

class CDC;

// The launcher: one window with a blue header strip (platform drop-down,
// enter button, address box, auto-fit check box) above the browser pane.
// Its members live in one file per concern: the window itself
// (OrlimWebDlg.cpp), the catalogue (OrlimWebDlgCatalogue.cpp), the settings
// file (OrlimWebDlgSettings.cpp) and the auto-fit (OrlimWebDlgAutoFit.cpp).
// The comforts of the system menu are features it hosts (CLauncherHost):
// each a class of its own that brings its rows, messages, timers and
// options; the host shows them the game in the pane (CPaneGame).
//
// It opens the chosen platform's page, or a typed address, in the pane's
// browser control; remembers the row and the address in .\UserVar.ini; and,
// once a second while the auto-fit is on, fits itself to the game's Flash
// window inside the browser.
class COrlimWebDlg : public CDialog
{
public:
    explicit COrlimWebDlg(CWnd* pParent = nullptr);

    static const int kUrlSlots = 100;
    // The last row of the drop-down, where the player types an address; its
    // slot holds the remembered address.
    static const int kManualEntryRow = 78;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Catalogue: rows 0-77 are platforms, the last row is the manual entry.
    void FillPlatformUrls();
    // The address of a row; empty for an index that names no row.
    CString GetPlatformUrl(int nRow) const;
    BOOL IsManualEntryRow(int nRow) const;

    // The features it hosts.
    const CFeatureList& Features() const noexcept { return m_host.Features(); }

protected:
    HICON m_hIcon;
    CString m_strUrls[kUrlSlots];
    int m_nCurSel;
    CComboBox m_cbPlatform;
    CDlgWeb m_dlgWeb;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // The features take their messages first.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnBnClickedEnterButton();
    afx_msg void OnCbnSelchangePlatformCombo();
    afx_msg void OnClose();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnBnClickedAutofitCheck();
    afx_msg void OnDestroy();
    afx_msg void OnEndSession(BOOL bEnding);
    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()

private:
    // Settings file, .\UserVar.ini of the folder the launcher was started
    // from (CSettings): the row and the address are read at start and saved
    // after each navigation the launcher's controls start, the player's
    // (bChosen) or the start's own.
    void LoadSettings();
    void SaveSettings(bool bChosen);
    // The row and the address as the settings file has them.
    void ShowStoredRow();
    // Opens the current row's address, as chosen by the player or by the
    // launcher itself.
    void OpenCurrentRow(bool bChosen);
    // The launcher's base size (1148 x 750), the pane below the strip.
    void ApplyBaseLayout();

    UniqueBrush m_brStrip; // the header strip's colour, behind the label
    bool m_bAskingToClose = false;
    // The folder the launcher was started from, and the settings file there,
    // for the whole run: a file dialog (a page's upload, the Flash Player's)
    // moves the current directory.
    CString m_strStartFolder;
    CLauncherHost m_host;
};

// Gives a top-level window a client area 1100 pixels wide (at a zoom of
// nZoom percent, that much less) and nHeight pixels high, keeping its
// position and frame; does nothing for a handle that is not a window, or
// when the client area already has that size.
void SetClientSize(HWND hWnd, int nHeight, int nZoom = 100);
