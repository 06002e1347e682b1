#pragma once

#include "browser/DlgWeb.h"
#include "framework/CComboBox.h"
#include "framework/CDialog.h"
#include "framework/CString.h"
#include "framework/UniqueHandle.h"

class CDC;

// The launcher: one window with a blue header strip (platform drop-down,
// enter button, address box, auto-fit check box) above the browser pane.
// Its members live in one file per concern: the window itself
// (OrlimWebDlg.cpp), the catalogue, the settings file and the auto-fit
// (OrlimWebDlgCatalogue.cpp, OrlimWebDlgSettings.cpp, OrlimWebDlgAutoFit.cpp).
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

    // Settings file. A save writes both values into a copy of the file
    // (SaveServersSel writes the row there), which then replaces the file.
    void LoadSettings();
    void SaveSettings();
    BOOL SaveServersSel(int nSel, const wchar_t* lpszFile);

    // Layout and auto-fit.
    void ApplyBaseLayout();
    HWND FindFlashWindow(HWND hWndParent);

protected:
    HICON m_hIcon;
    CString m_strUrls[kUrlSlots];
    int m_nCurSel;
    CComboBox m_cbPlatform;
    CDlgWeb m_dlgWeb;
    UniqueBrush m_brStrip; // the header strip's colour, behind the label
    bool m_bAskingToClose = false;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnBnClickedEnterButton();
    afx_msg void OnCbnSelchangePlatformCombo();
    afx_msg void OnClose();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnBnClickedAutofitCheck();

    DECLARE_MESSAGE_MAP()

private:
    static const UINT_PTR kAutoFitTimer = 0;
    static const UINT kAutoFitPeriod = 1000;

    int GetCurrentRow() const;
    bool IsOverDisabledControl(POINT ptScreen) const;
};

// Gives a top-level window a client area 1100 pixels wide and nHeight
// pixels high, keeping its position and frame; does nothing for a handle
// that is not a window, or when the client area already has that size.
void SetClientSize(HWND hWnd, int nHeight);
