#include "OrlimWebDlg.h"

#include "AudioMute.h"
#include "GameScreenshot.h"
#include "framework/CPaintDC.h"
#include "res/resource.h"

#include <shellapi.h>

namespace
{

const int kBossHotKey = 1;
const UINT kTrayIcon = 1;
const wchar_t kTrayTip[] = L"Velka登陆器";
const COLORREF kNoticeColor = RGB(255, 255, 255);
const int kNoticeGap = 12; // between the check box and the notice, and at the strip's right end

// The launcher's one icon in the notification area.
NOTIFYICONDATAW TrayIcon(HWND hWnd)
{
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = hWnd;
    nid.uID = kTrayIcon;
    return nid;
}

} // namespace

// Mute, screenshots, the boss key and the Flash notice

void COrlimWebDlg::SetMute(bool bMute)
{
    if (m_audio.SetMute(bMute))
        m_bMute = bMute;
    UpdateSystemMenu();
}

void COrlimWebDlg::TakeScreenshot()
{
    // The game's area if there is a game, else what the pane shows.
    CRect rect;
    const HWND hWndExplorer = m_dlgWeb.m_explorer.m_hWnd;
    const HWND hWndFlash = hWndExplorer ? FindFlashWindow(hWndExplorer) : nullptr;
    if (!hWndFlash || !::GetWindowRect(hWndFlash, &rect))
    {
        CRect rcPane;
        CRect rcClient;
        ::GetWindowRect(m_dlgWeb.m_hWnd, &rcPane);
        ::GetClientRect(m_hWnd, &rcClient);
        ClientToScreen(&rcClient);
        ::IntersectRect(&rect, &rcPane, &rcClient);
    }
    CGameScreenshot::Save(rect);
}

CString COrlimWebDlg::BossKeyText() const
{
    CString strText;
    strText.Format(L"老板键 (%ls)%ls", static_cast<const wchar_t*>(m_bossKey.Format()),
                   m_bBossKeyRegistered ? L"" : L"（已被占用）");
    return strText;
}

void COrlimWebDlg::RegisterBossKey()
{
    m_bBossKeyRegistered =
        ::RegisterHotKey(m_hWnd, kBossHotKey, m_bossKey.fsModifiers | MOD_NOREPEAT, m_bossKey.nVirtKey) != FALSE;
}

LRESULT COrlimWebDlg::OnHotKey(WPARAM wParam, LPARAM)
{
    if (wParam != kBossHotKey)
        return 0;
    if (m_bHiddenForBoss)
        ShowAfterBoss();
    else
        HideForBoss();
    return 0;
}

void COrlimWebDlg::HideForBoss()
{
    // The window and its taskbar button go at once, and the game falls
    // silent; an icon in the notification area stands in for the window.
    m_bHiddenForBoss = true;
    if (!m_bMute)
        m_audio.SetMute(true);
    ::ShowWindow(m_hWnd, SW_HIDE);
    NOTIFYICONDATAW nid = TrayIcon(m_hWnd);
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = kTrayMessage;
    nid.hIcon = m_hIcon;
    ::lstrcpynW(nid.szTip, kTrayTip, ARRAYSIZE(nid.szTip));
    ::Shell_NotifyIconW(NIM_ADD, &nid);
}

void COrlimWebDlg::ShowAfterBoss()
{
    // Back where and as it was.
    EndBossHiding();
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
}

// The icon goes and the sound is again as the player had it.
void COrlimWebDlg::EndBossHiding()
{
    m_bHiddenForBoss = false;
    NOTIFYICONDATAW nid = TrayIcon(m_hWnd);
    ::Shell_NotifyIconW(NIM_DELETE, &nid);
    if (!m_bMute)
        m_audio.SetMute(false);
}

LRESULT COrlimWebDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kTrayIcon && m_bHiddenForBoss && (lParam == WM_LBUTTONUP || lParam == NIN_SELECT))
        ShowAfterBoss();
    return 0;
}

void COrlimWebDlg::OnDestroy()
{
    if (m_bHiddenForBoss)
        EndBossHiding();
    if (m_bBossKeyRegistered)
        ::UnregisterHotKey(m_hWnd, kBossHotKey);
    CDialog::OnDestroy();
}

void COrlimWebDlg::PaintFlashNotice(CPaintDC& dc)
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
    dc.DrawText(m_flashStatus.NoticeText(), -1, &rect,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
