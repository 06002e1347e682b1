#pragma once

#include "AnotherAccount.h"
#include "BossMode.h"
#include "FlashStatus.h"
#include "GameMute.h"
#include "GameScreenshot.h"
#include "Options.h"
#include "PageZoom.h"
#include "SettingsSaver.h"
#include "SiteCacheClear.h"
#include "SystemMenu.h"
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
// (OrlimWebDlg.cpp), the catalogue (OrlimWebDlgCatalogue.cpp), the settings
// file and the options (OrlimWebDlgSettings.cpp), the auto-fit
// (OrlimWebDlgAutoFit.cpp) and the system menu (OrlimWebDlgOptions.cpp: the
// table of rows for CSystemMenu, SystemMenu.h, and what each row does).
// The player's choices are one COptions (Options.h); saves go through
// CSettingsFileCopy in the launchers' CSettingsTurn. Each comfort is a class
// of its own that the dialog owns and forwards its messages to: the page
// zoom (CPageZoom), the game's silence (CGameMute), screenshots
// (CGameScreenshot), the boss key (CBossMode, with CBossKey and
// CNotifyIcon), what was found of the Flash Player (CFlashStatus), another
// account's launcher (CAnotherAccount) and the site's cache (CSiteCache).
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
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Catalogue: rows 0-77 are platforms, the last row is the manual entry.
    void FillPlatformUrls();
    // The address of a row; empty for an index that names no row.
    CString GetPlatformUrl(int nRow) const;
    BOOL IsManualEntryRow(int nRow) const;

    // Settings file, .\UserVar.ini of the folder the launcher was started
    // from. A save writes both values into a copy of the file
    // (SaveServersSel writes the row there), which then replaces the file;
    // one that cannot be made now is made as soon as it can (CSettingsSaver).
    void LoadSettings();
    void SaveSettings();
    BOOL SaveServersSel(int nSel, const wchar_t* lpszFile);

    // The options of the system menu, in the settings file's [options]
    // section: read at start, written only when the player changes one.
    void LoadOptions();

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
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnDestroy();
    afx_msg void OnInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnHotKey(UINT nHotKeyId, UINT nKey1, UINT nKey2);
    afx_msg void OnEndSession(BOOL bEnding);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnNotifyIcon(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBossTogether(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnAudioDeviceChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCacheCleared(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    using SystemMenu = CSystemMenu<COrlimWebDlg>;

    static const int kStripHeight = 25;
    static const UINT kNotifyIconMessage = WM_APP + 1;
    static const UINT kAudioDeviceMessage = WM_APP + 2;
    static const UINT kCacheClearedMessage = WM_APP + 3;
    static const UINT_PTR kAutoFitTimer = 0;
    static const UINT kAutoFitPeriod = 1000;
    static const UINT_PTR kScreenshotTimer = 1;
    static const UINT_PTR kSettingsTimer = 2;
    // How long a launcher that ends waits for a program holding the file.
    static const DWORD kEndSavePatienceMs = 2000;

    int GetCurrentRow() const;
    bool IsOverDisabledControl(POINT ptScreen) const;

    // The system menu's rows and what they do (OrlimWebDlgOptions.cpp).
    static std::vector<SystemMenu::Row> SystemMenuRows();
    CString FlashStatusText() const;
    CString BossKeyText() const;
    UINT GreyedState(UINT nID) const;
    UINT TopMostState(UINT nID) const;
    UINT ZoomState(UINT nID) const;
    UINT MuteState(UINT nID) const;
    UINT ScreenshotFolderState(UINT nID) const;
    UINT SiteCacheState(UINT nID) const;
    void OnTopMostCommand(UINT nID);
    void OnReloadCommand(UINT nID);
    void OnClearCacheCommand(UINT nID);
    void OnAnotherAccountCommand(UINT nID);
    void OnZoomCommand(UINT nID);
    void OnMuteCommand(UINT nID);
    void OnScreenshotCommand(UINT nID);
    void OnOpenScreenshotsCommand(UINT nID);
    void OnBossKeyCommand(UINT nID);

    // Saves one of the options as it is now.
    void SaveOption(COptions::Item item);
    // What the launcher has yet to save, given its last chance before it ends.
    void SaveBeforeEnd();
    void SetTopMost(bool bTopMost);
    void SelectZoom(int nZoomOption);
    // What of the launcher fitted to a game at a zoom must be on the screen,
    // and whether it fits the screen's work area.
    SIZE FittedSizeOnScreen(bool bTallGame, int nZoom) const;
    bool FitsScreen(bool bTallGame, int nZoom) const;
    // With the automatic zoom, the largest zoom at which the fitted launcher
    // fits its screen.
    int ChooseZoomForScreen(bool bTallGame) const;
    // The game's area on the screen as far as the launcher shows it, or all
    // the pane shows when there is no game.
    CRect GameArea();
    void TakeScreenshot();
    // The strip's notice line: what is wrong, if anything (the settings
    // cannot be saved, no usable Flash Player).
    CString NoticeText() const;
    void PaintNotice(CPaintDC& dc);
    void InvalidateStrip();

    // The settings file and the screenshots' folder, in the folder the
    // launcher was started from, for the whole run: a file dialog (a page's
    // upload, the Flash Player's) moves the current directory.
    CString m_strSettingsFile;
    CSettingsSaver m_saver;
    // The player's choices in the system menu, as the file keeps them.
    COptions m_options;
    // What the menu showed when it was last opened: it asks the system only
    // then.
    bool m_bScreenshotFolderExists = false;
    bool m_bPageHasSite = false;
    CPageZoom m_zoom;
    CGameMute m_mute;
    CBossMode m_bossMode;
    CGameScreenshot m_screenshot;
    CFlashStatus m_flashStatus;
    CSiteCacheClear m_cacheClear;
    CAnotherAccount m_anotherAccount;
    SystemMenu m_systemMenu;
};

// Gives a top-level window a client area 1100 pixels wide (at a zoom of
// nZoom percent, that much less) and nHeight pixels high, keeping its
// position and frame; does nothing for a handle that is not a window, or
// when the client area already has that size.
void SetClientSize(HWND hWnd, int nHeight, int nZoom = 100);

// Where a window of rcWindow, whose visible edges are rcVisible, goes so
// that what is seen of it stays inside the work area rcWork: moved left and
// up just enough, but never past the work area's left or top edge.
POINT OnScreenPosition(const RECT& rcWindow, const RECT& rcVisible, const RECT& rcWork);
// Moves a window that reaches past its monitor's work area back onto it
// (see OnScreenPosition), without activating it or changing its z-order; a
// minimised window and one that fits are left where they are.
void KeepOnScreen(HWND hWnd);
