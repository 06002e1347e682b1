#pragma once

#include "AudioMute.h"
#include "BossKey.h"
#include "FlashStatus.h"
#include "browser/DlgWeb.h"
#include "framework/CComboBox.h"
#include "framework/CRect.h"
#include "framework/CDialog.h"
#include "framework/CString.h"
#include "framework/UniqueHandle.h"

class CDC;
class CPaintDC;

// The launcher: one window with a blue header strip (platform drop-down,
// enter button, address box, auto-fit check box) above the browser pane.
// Its members live in one file per concern: the window itself
// (OrlimWebDlg.cpp), the catalogue, the settings file and the auto-fit
// (OrlimWebDlgCatalogue.cpp, OrlimWebDlgSettings.cpp, OrlimWebDlgAutoFit.cpp)
// and the system menu's options (OrlimWebDlgOptions.cpp).
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

    // The options of the system menu, in the settings file's [options]
    // section: read at start, written only when the player changes one.
    void LoadOptions();
    BOOL SaveOption(const wchar_t* lpszKey, int nValue);
    static constexpr wchar_t kOptionTopMost[] = L"TopMost";
    static constexpr wchar_t kOptionZoom[] = L"Zoom";
    static constexpr wchar_t kOptionMute[] = L"Mute";
    static constexpr wchar_t kOptionBossKey[] = L"BossKey";

    // Layout and auto-fit.
    void ApplyBaseLayout();
    HWND FindFlashWindow(HWND hWndParent);

    // Page zoom in percent; kZoomAuto picks one for the screen.
    static const int kZoomAuto = 0;

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
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHotKey(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    static const int kStripHeight = 25;
    static const UINT kTrayMessage = WM_APP + 1;
    static const UINT_PTR kAutoFitTimer = 0;
    static const UINT kAutoFitPeriod = 1000;

    int GetCurrentRow() const;
    bool IsOverDisabledControl(POINT ptScreen) const;

    void AddSystemMenuItems();
    void UpdateSystemMenu();
    void SetTopMost(bool bTopMost);
    void SelectZoom(int nZoomOption);
    // With the automatic zoom, the largest zoom at which the fitted launcher
    // fits its screen, for the game found at rcFlash.
    int ChooseZoomForScreen(const CRect& rcFlash, const CRect& rcExplorer) const;

    void SetMute(bool bMute);
    void TakeScreenshot();
    CString BossKeyText() const;
    void RegisterBossKey();
    void HideForBoss();
    void ShowAfterBoss();
    void EndBossHiding();
    void PaintFlashNotice(CPaintDC& dc);

    bool m_bTopMost = false;
    CAudioMute m_audio;
    bool m_bMute = false; // the player's choice; the boss key mutes on top of it
    CBossKey m_bossKey;
    bool m_bBossKeyRegistered = false;
    bool m_bHiddenForBoss = false;
    CFlashStatus m_flashStatus;
    int m_nZoomOption = 100;
    HWND m_hWndZoomChosenFor = nullptr; // the game the automatic zoom was chosen for
};

// Gives a top-level window a client area 1100 pixels wide (at a zoom of
// nZoom percent, that much less) and nHeight pixels high, keeping its
// position and frame; does nothing for a handle that is not a window, or
// when the client area already has that size.
void SetClientSize(HWND hWnd, int nHeight, int nZoom = 100);

// Where a window of rcWindow goes so that it stays inside the work area
// rcWork: moved left and up just enough, but never past the work area's left
// or top edge.
POINT OnScreenPosition(const RECT& rcWindow, const RECT& rcWork);
// Moves a window that reaches past its monitor's work area back onto it
// (see OnScreenPosition), without activating it or changing its z-order; a
// minimised window and one that fits are left where they are.
void KeepOnScreen(HWND hWnd);
