#include "OrlimWebDlg.h"

#include "SiteCache.h"
#include "browser/PageResources.h"
#include "framework/CPaintDC.h"
#include "res/resource.h"

#include <cwchar>

namespace
{

const COLORREF kNoticeColor = RGB(255, 255, 255);
const int kNoticeGap = 12; // between the check box and the notice, and at the strip's right end
// A screenshot waits until the menu it was chosen in has gone (its fading
// selection, where the system fades it), and then again until what the
// launcher painted for it is on the screen.
const UINT kScreenshotDelay = 50;
const UINT kScreenshotDelayFading = 400;

} // namespace

// The system menu's rows, in their order above Close.
std::vector<COrlimWebDlg::SystemMenu::Row> COrlimWebDlg::SystemMenuRows()
{
    std::vector<SystemMenu::Row> zoomRows;
    for (const CPageZoom::Step& step : CPageZoom::kSteps)
        zoomRows.push_back({step.nID, step.lpszText, nullptr, &COrlimWebDlg::ZoomState, &COrlimWebDlg::OnZoomCommand, {}});
    return {
        {IDM_FLASH_STATUS, nullptr, &COrlimWebDlg::FlashStatusText, &COrlimWebDlg::GreyedState, nullptr, {}},
        {IDM_TOPMOST, L"窗口置顶", nullptr, &COrlimWebDlg::TopMostState, &COrlimWebDlg::OnTopMostCommand, {}},
        {IDM_RELOAD, L"刷新页面", nullptr, nullptr, &COrlimWebDlg::OnReloadCommand, {}},
        {IDM_CLEAR_CACHE, L"清除缓存并刷新", nullptr, &COrlimWebDlg::SiteCacheState, &COrlimWebDlg::OnClearCacheCommand,
         {}},
        {0, L"页面缩放", nullptr, nullptr, nullptr, zoomRows},
        {IDM_MUTE, L"静音", nullptr, &COrlimWebDlg::MuteState, &COrlimWebDlg::OnMuteCommand, {}},
        {IDM_SCREENSHOT, L"截图", nullptr, nullptr, &COrlimWebDlg::OnScreenshotCommand, {}},
        {IDM_OPEN_SCREENSHOTS, L"打开截图文件夹", nullptr, &COrlimWebDlg::ScreenshotFolderState,
         &COrlimWebDlg::OnOpenScreenshotsCommand, {}},
        {IDM_BOSSKEY, nullptr, &COrlimWebDlg::BossKeyText, nullptr, &COrlimWebDlg::OnBossKeyCommand, {}},
        {IDM_ANOTHER_ACCOUNT, L"新开窗口（另一个账号）", nullptr, nullptr, &COrlimWebDlg::OnAnotherAccountCommand, {}},
    };
}

void COrlimWebDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if (!m_systemMenu.Command(nID & 0xFFF0))
        CDialog::OnSysCommand(nID, lParam);
}

BOOL COrlimWebDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The items of a sub-menu of the system menu come as WM_COMMAND (the
    // sub-menu is no system menu of its own): its ids are taken from both.
    return lParam == 0 && HIWORD(wParam) == 0 && m_systemMenu.Command(LOWORD(wParam));
}

void COrlimWebDlg::OnInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    // What the world changed meanwhile: the sound (the system's volume
    // mixer, a device plugged in or out), the screenshots' folder, the page
    // shown. All of it is asked only now that the player opens the menu.
    if (bSysMenu)
    {
        m_mute.Refresh();
        m_bossMode.TryKeyAgain(); // its holder may have ended
        m_bScreenshotFolderExists = m_screenshot.FolderExists();
        m_bPageHasSite = CSiteCache(m_dlgWeb.m_explorer.TryGetLocationURL()).HasSite();
        m_systemMenu.Update();
    }
    else if (m_systemMenu.IsSubMenu(hPopupMenu))
    {
        m_systemMenu.Update();
    }
    CDialog::OnInitMenuPopup(hPopupMenu, nIndex, bSysMenu);
}

// Texts and states

CString COrlimWebDlg::FlashStatusText() const
{
    return m_flashStatus.MenuText();
}

CString COrlimWebDlg::BossKeyText() const
{
    CString strText;
    strText.Format(L"老板键 (%ls)%ls", static_cast<const wchar_t*>(m_bossMode.Key().Format()),
                   m_bossMode.IsKeyRegistered() ? L"" : L"（已被占用）");
    return strText;
}

UINT COrlimWebDlg::GreyedState(UINT) const
{
    return MFS_GRAYED;
}

UINT COrlimWebDlg::TopMostState(UINT) const
{
    return m_options.bTopMost ? MFS_CHECKED : 0;
}

UINT COrlimWebDlg::ZoomState(UINT nID) const
{
    const CPageZoom::Step* pStep = CPageZoom::FindStep(nID);
    return MFT_RADIOCHECK | (pStep && pStep->nOption == m_zoom.Option() ? MFS_CHECKED : 0);
}

UINT COrlimWebDlg::MuteState(UINT) const
{
    return (m_mute.IsKnownUnavailable() ? MFS_GRAYED : 0) | (m_mute.IsPlayerMuted() ? MFS_CHECKED : 0);
}

UINT COrlimWebDlg::ScreenshotFolderState(UINT) const
{
    return m_bScreenshotFolderExists ? 0 : MFS_GRAYED;
}

UINT COrlimWebDlg::SiteCacheState(UINT) const
{
    // Nothing loaded yet: no site whose entries could go; or they are going.
    return m_bPageHasSite && !m_cacheClear.IsUnderWay() ? 0 : MFS_GRAYED;
}

// Commands

void COrlimWebDlg::OnTopMostCommand(UINT)
{
    SetTopMost(!m_options.bTopMost);
    SaveOption(COptions::Item::TopMost);
}

void COrlimWebDlg::OnReloadCommand(UINT)
{
    m_dlgWeb.Reload();
}

void COrlimWebDlg::OnClearCacheCommand(UINT)
{
    // A game update left a stale game in the cache: its site's entries go,
    // and the page is loaded anew from the network. Cookies stay: the
    // player stays logged in.
    // The game often comes from another host than the page: the hosts the
    // page shows things from go too. The cache is walked off this thread;
    // the page is loaded anew once that is done.
    const CString strPage = m_dlgWeb.m_explorer.TryGetLocationURL();
    CSiteCache cache(strPage, CPageResources::UrlsOf(m_dlgWeb.m_explorer.TryGetDocument().Get(), strPage));
    if (cache.HasSite())
        m_cacheClear.Start(std::move(cache), m_hWnd, kCacheClearedMessage);
}

LRESULT COrlimWebDlg::OnCacheCleared(WPARAM, LPARAM)
{
    m_cacheClear.Finish();
    m_dlgWeb.Reload(true);
    return 0;
}

void COrlimWebDlg::OnAnotherAccountCommand(UINT)
{
    // From the folder this launcher started in: the same settings file.
    const wchar_t* pszFile = m_strSettingsFile;
    const wchar_t* pszName = std::wcsrchr(pszFile, L'\\');
    const CString strFolder(pszFile, pszName ? static_cast<int>(pszName - pszFile) : 0);
    // Nothing to say when it cannot start: no launcher appears.
    m_anotherAccount.Start(m_hWnd, strFolder.IsEmpty() ? CString(L".") : strFolder);
}

void COrlimWebDlg::OnZoomCommand(UINT nID)
{
    const CPageZoom::Step* pStep = CPageZoom::FindStep(nID);
    SelectZoom(pStep->nOption);
    m_options.nZoom = pStep->nOption;
    SaveOption(COptions::Item::Zoom);
    // With no game to fit to, a launcher fitted at another zoom goes back
    // to its base size.
    const HWND hWndExplorer = m_dlgWeb.m_explorer.m_hWnd;
    if (!m_zoom.IsAuto() && hWndExplorer && !FindFlashWindow(hWndExplorer))
        ApplyBaseLayout();
}

void COrlimWebDlg::OnMuteCommand(UINT)
{
    if (!m_mute.SetPlayerMute(!m_mute.IsPlayerMuted()))
        return;
    m_options.bMute = m_mute.IsPlayerMuted();
    SaveOption(COptions::Item::Mute);
}

void COrlimWebDlg::OnScreenshotCommand(UINT)
{
    BOOL bFading = FALSE;
    if (!::SystemParametersInfoW(SPI_GETSELECTIONFADE, 0, &bFading, 0))
        bFading = FALSE;
    ::SetTimer(m_hWnd, kScreenshotTimer, bFading ? kScreenshotDelayFading : kScreenshotDelay, nullptr);
}

void COrlimWebDlg::OnOpenScreenshotsCommand(UINT)
{
    m_screenshot.OpenFolder(m_hWnd);
}

void COrlimWebDlg::OnBossKeyCommand(UINT)
{
    m_bossMode.HideAll();
}

// The comforts' own messages

void COrlimWebDlg::OnHotKey(UINT nHotKeyId, UINT, UINT)
{
    m_bossMode.OnHotKey(nHotKeyId);
}

LRESULT COrlimWebDlg::OnNotifyIcon(WPARAM, LPARAM lParam)
{
    m_bossMode.OnIconNotify(lParam);
    return 0;
}

LRESULT COrlimWebDlg::OnTaskbarCreated(WPARAM, LPARAM)
{
    m_bossMode.OnTaskbarCreated();
    return 0;
}

LRESULT COrlimWebDlg::OnBossTogether(WPARAM wParam, LPARAM)
{
    m_bossMode.OnTogether(wParam);
    return 0;
}

void COrlimWebDlg::OnEndSession(BOOL bEnding)
{
    if (bEnding)
    {
        m_bossMode.End();
        SaveBeforeEnd();
    }
    CDialog::OnEndSession(bEnding);
}

LRESULT COrlimWebDlg::OnAudioDeviceChanged(WPARAM, LPARAM)
{
    m_mute.OnDevicesChanged();
    return 0;
}

void COrlimWebDlg::OnDestroy()
{
    m_bossMode.Detach();
    SaveBeforeEnd();
    CDialog::OnDestroy();
}

void COrlimWebDlg::SaveBeforeEnd()
{
    m_saver.Flush(kEndSavePatienceMs);
}

// Carrying them out

void COrlimWebDlg::SetTopMost(bool bTopMost)
{
    m_options.bTopMost = bTopMost;
    const bool bIsTopMost = (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (bTopMost != bIsTopMost)
        ::SetWindowPos(m_hWnd, bTopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void COrlimWebDlg::SelectZoom(int nZoomOption)
{
    // The automatic zoom is chosen when the fit next finds the game; until
    // then the page keeps the zoom it has.
    m_zoom.Choose(nZoomOption);
    if (!m_zoom.IsAuto())
        m_dlgWeb.SetZoom(nZoomOption);
}

CRect COrlimWebDlg::GameArea()
{
    // The game's window as far as the windows it lies in show it: the
    // browser's, the pane's and the launcher's client area; all the pane
    // shows when there is no game.
    const HWND hWndExplorer = m_dlgWeb.m_explorer.m_hWnd;
    const HWND hWndFlash = hWndExplorer ? FindFlashWindow(hWndExplorer) : nullptr;
    CRect rcShown;
    HWND hWnd = hWndFlash ? hWndFlash : m_dlgWeb.m_hWnd;
    ::GetWindowRect(hWnd, &rcShown);
    for (hWnd = ::GetParent(hWnd); hWnd && hWnd != m_hWnd; hWnd = ::GetParent(hWnd))
    {
        CRect rcParent;
        ::GetWindowRect(hWnd, &rcParent);
        ::IntersectRect(&rcShown, &rcShown, &rcParent);
    }
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    ClientToScreen(&rcClient);
    ::IntersectRect(&rcShown, &rcShown, &rcClient);
    return rcShown;
}

void COrlimWebDlg::TakeScreenshot()
{
    if (!m_screenshot.IsPrepared())
    {
        if (m_screenshot.Prepare(m_hWnd))
            ::SetTimer(m_hWnd, kScreenshotTimer, kScreenshotDelay, nullptr);
        return;
    }
    m_screenshot.Take(GameArea());
}

void COrlimWebDlg::OnSize(UINT nType, int cx, int cy)
{
    // The notice's end is cut where the strip ends: painted anew at every
    // width, so its ellipsis stands where the width now cuts it.
    if (!NoticeText().IsEmpty())
    {
        const RECT rcStrip = {0, 0, cx, kStripHeight};
        ::InvalidateRect(m_hWnd, &rcStrip, FALSE);
    }
    CDialog::OnSize(nType, cx, cy);
}

void COrlimWebDlg::InvalidateStrip()
{
    RECT rcStrip;
    ::GetClientRect(m_hWnd, &rcStrip);
    rcStrip.bottom = kStripHeight;
    ::InvalidateRect(m_hWnd, &rcStrip, FALSE);
}

CString COrlimWebDlg::NoticeText() const
{
    // What the player can do something about first.
    const CString strSettings = m_saver.Problem();
    const CString& strFlash = m_flashStatus.NoticeText();
    if (strSettings.IsEmpty() || strFlash.IsEmpty())
        return strSettings.IsEmpty() ? strFlash : strSettings;
    CString strBoth;
    strBoth.Format(L"%ls；%ls", static_cast<const wchar_t*>(strSettings), static_cast<const wchar_t*>(strFlash));
    return strBoth;
}

void COrlimWebDlg::PaintNotice(CPaintDC& dc)
{
    // One line of white text on the strip, right of the check box; the strip
    // stays blue at both ends and still drags the window.
    CRect rcCheck;
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_AUTOFIT_CHECK), &rcCheck);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&rcCheck), 2);
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    rect.left = rcCheck.right + kNoticeGap;
    rect.right -= kNoticeGap;
    rect.bottom = rect.top + kStripHeight;
    const auto hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    const ScopedSelectObject font(dc, hFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kNoticeColor);
    dc.DrawText(NoticeText(), -1, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
