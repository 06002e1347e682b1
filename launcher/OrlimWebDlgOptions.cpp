#include "OrlimWebDlg.h"

#include "AudioMute.h"
#include "res/resource.h"

namespace
{

const wchar_t kTopMostItem[] = L"窗口置顶";
const wchar_t kReloadItem[] = L"刷新页面";
const wchar_t kZoomItem[] = L"页面缩放";
const wchar_t kMuteItem[] = L"静音";
const wchar_t kScreenshotItem[] = L"截图";

struct ZoomItem
{
    UINT nID;
    int nZoomOption;
    const wchar_t* lpszText;
};

const ZoomItem kZoomItems[] = {
    {IDM_ZOOM_100, 100, L"100%"},
    {IDM_ZOOM_90, 90, L"90%"},
    {IDM_ZOOM_80, 80, L"80%"},
    {IDM_ZOOM_70, 70, L"70%"},
    {IDM_ZOOM_AUTO, COrlimWebDlg::kZoomAuto, L"自动适应屏幕"},
};

} // namespace

// Options of the system menu

void COrlimWebDlg::AddSystemMenuItems()
{
    // Above Close, after a separator (the one the system puts before Close,
    // or one of ours), and a separator of ours before Close.
    const HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!hSysMenu)
        return;
    UINT nPos = 0;
    const UINT nCount = static_cast<UINT>(::GetMenuItemCount(hSysMenu));
    while (nPos < nCount && ::GetMenuItemID(hSysMenu, static_cast<int>(nPos)) != SC_CLOSE)
        ++nPos;
    if (nPos == 0 || !(::GetMenuState(hSysMenu, nPos - 1, MF_BYPOSITION) & MF_SEPARATOR))
        ::InsertMenuW(hSysMenu, nPos++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);

    const HMENU hZoomMenu = ::CreatePopupMenu(); // the system menu owns it once inserted
    for (const ZoomItem& item : kZoomItems)
        ::AppendMenuW(hZoomMenu, MF_STRING, item.nID, item.lpszText);
    // First a line, greyed, that says what was found of the Flash Player.
    ::InsertMenuW(hSysMenu, nPos++, MF_BYPOSITION | MF_STRING | MF_GRAYED, IDM_FLASH_STATUS, m_flashStatus.MenuText());
    ::InsertMenuW(hSysMenu, nPos++, MF_BYPOSITION | MF_STRING, IDM_TOPMOST, kTopMostItem);
    ::InsertMenuW(hSysMenu, nPos++, MF_BYPOSITION | MF_STRING, IDM_RELOAD, kReloadItem);
    ::InsertMenuW(hSysMenu, nPos++, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hZoomMenu), kZoomItem);
    ::InsertMenuW(hSysMenu, nPos++, MF_BYPOSITION | MF_STRING, IDM_MUTE, kMuteItem);
    ::InsertMenuW(hSysMenu, nPos++, MF_BYPOSITION | MF_STRING, IDM_SCREENSHOT, kScreenshotItem);
    ::InsertMenuW(hSysMenu, nPos++, MF_BYPOSITION | MF_STRING, IDM_BOSSKEY, BossKeyText());
    ::InsertMenuW(hSysMenu, nPos, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    UpdateSystemMenu();
}

void COrlimWebDlg::UpdateSystemMenu()
{
    const HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!hSysMenu)
        return;
    ::CheckMenuItem(hSysMenu, IDM_TOPMOST, MF_BYCOMMAND | (m_bTopMost ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(hSysMenu, IDM_MUTE, MF_BYCOMMAND | (m_bMute ? MF_CHECKED : MF_UNCHECKED));
    for (const ZoomItem& item : kZoomItems)
    {
        if (item.nZoomOption == m_nZoomOption)
            ::CheckMenuRadioItem(hSysMenu, IDM_ZOOM_100, IDM_ZOOM_AUTO, item.nID, MF_BYCOMMAND);
    }
}

void COrlimWebDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    const UINT nCommand = nID & 0xFFF0;
    if (nCommand == IDM_TOPMOST)
    {
        SetTopMost(!m_bTopMost);
        SaveOption(kOptionTopMost, m_bTopMost ? 1 : 0);
        return;
    }
    if (nCommand == IDM_RELOAD)
    {
        m_dlgWeb.Reload();
        return;
    }
    if (nCommand == IDM_MUTE)
    {
        const bool bWas = m_bMute;
        SetMute(!m_bMute);
        if (m_bMute != bWas)
            SaveOption(kOptionMute, m_bMute ? 1 : 0);
        return;
    }
    if (nCommand == IDM_SCREENSHOT)
    {
        TakeScreenshot();
        return;
    }
    if (nCommand == IDM_BOSSKEY)
    {
        HideForBoss();
        return;
    }
    for (const ZoomItem& item : kZoomItems)
    {
        if (nCommand == item.nID)
        {
            SelectZoom(item.nZoomOption);
            SaveOption(kOptionZoom, item.nZoomOption);
            return;
        }
    }
    CDialog::OnSysCommand(nID, lParam);
}

LRESULT COrlimWebDlg::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    // Core Audio is asked only when the player opens the menu: without a
    // playback device there is nothing to mute.
    if (HIWORD(lParam))
        ::EnableMenuItem(reinterpret_cast<HMENU>(wParam), IDM_MUTE,
                         MF_BYCOMMAND | (m_audio.IsAvailable() ? MF_ENABLED : MF_GRAYED));
    return Default();
}

void COrlimWebDlg::SetTopMost(bool bTopMost)
{
    m_bTopMost = bTopMost;
    const bool bIsTopMost = (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (bTopMost != bIsTopMost)
        ::SetWindowPos(m_hWnd, bTopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateSystemMenu();
}

void COrlimWebDlg::SelectZoom(int nZoomOption)
{
    m_nZoomOption = nZoomOption;
    // The automatic zoom is chosen when the fit next finds the game; until
    // then the page keeps the zoom it has.
    m_hWndZoomChosenFor = nullptr;
    if (nZoomOption != kZoomAuto)
        m_dlgWeb.SetZoom(nZoomOption);
    UpdateSystemMenu();
}
