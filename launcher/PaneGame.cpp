#include "PaneGame.h"

#include "browser/DlgWeb.h"
#include "launcher/services/GameFit.h"
#include "launcher/services/PageZoom.h"
#include "framework/CRect.h"

#include <algorithm>
#include <cwchar>

namespace
{

const wchar_t kFlashWindowClass[] = L"MacromediaFlashPlayerActiveX";
const int kClassNameLength = 260;
const int kFlashMinWidth = 995;
// A Flash window that does not follow the browser's width would otherwise
// make it grow (or shrink) by the same amount on every fit.
const int kBrowserMinWidth = GameFit::kGameWidth;
const int kBrowserMaxWidth = 4 * GameFit::kGameWidth;

struct FlashSearch
{
    int nMinWidth;
    HWND hWndFound;
};

// Tests one window of the walk; ends it at the Flash window. A window whose
// class or rectangle cannot be read (it is going away) does not qualify.
BOOL CALLBACK TestForFlashWindow(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<FlashSearch*>(lParam);
    wchar_t szClass[kClassNameLength];
    CRect rect;
    if (::GetClassNameW(hWnd, szClass, kClassNameLength) > 0 && std::wcscmp(szClass, kFlashWindowClass) == 0 &&
        ::GetWindowRect(hWnd, &rect) && rect.Width() >= pSearch->nMinWidth)
    {
        pSearch->hWndFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND CPaneGame::FindGame() const
{
    // Without a browser control there is nothing to search: a null parent
    // would walk the whole desktop. Depth first, each window before its
    // children, siblings in z-order: the order in which the system
    // enumerates a window's descendants. It takes each window's child list
    // once; stepping from sibling to sibling with FindWindowEx would list
    // the siblings again at every step.
    const HWND hWndControl = m_pane.ControlWindow();
    if (!hWndControl)
        return nullptr;
    FlashSearch search = {::MulDiv(kFlashMinWidth, m_zoom.ShownOnScreen(), 100), nullptr};
    ::EnumChildWindows(hWndControl, TestForFlashWindow, reinterpret_cast<LPARAM>(&search));
    return search.hWndFound;
}

RECT CPaneGame::GameArea() const
{
    // The game's window as far as the windows it lies in show it: the
    // browser's, the pane's and the launcher's client area; all the pane
    // shows when there is no game.
    const HWND hWndLauncher = m_launcher.m_hWnd;
    const HWND hWndFlash = FindGame();
    CRect rcShown;
    HWND hWnd = hWndFlash ? hWndFlash : m_pane.m_hWnd;
    ::GetWindowRect(hWnd, &rcShown);
    for (hWnd = ::GetParent(hWnd); hWnd && hWnd != hWndLauncher; hWnd = ::GetParent(hWnd))
    {
        CRect rcParent;
        ::GetWindowRect(hWnd, &rcParent);
        ::IntersectRect(&rcShown, &rcShown, &rcParent);
    }
    CRect rcClient;
    ::GetClientRect(hWndLauncher, &rcClient);
    ::MapWindowPoints(hWndLauncher, nullptr, reinterpret_cast<LPPOINT>(&rcClient), 2);
    ::IntersectRect(&rcShown, &rcShown, &rcClient);
    return rcShown;
}

void CPaneGame::FocusGame()
{
    HWND hWnd = FindGame();
    if (!hWnd)
        hWnd = m_pane.ControlWindow();
    if (hWnd)
        ::SetFocus(hWnd);
}

SIZE CPaneGame::MoveBrowserToGame(HWND hWndFlash, int nZoom, int nGameHeight) const
{
    using GameFit::Zoomed;
    const HWND hWndControl = m_pane.ControlWindow();
    CRect rcFlash;
    CRect rcControl;
    ::GetWindowRect(hWndFlash, &rcFlash);
    ::GetWindowRect(hWndControl, &rcControl);
    const int dx = rcFlash.left - rcControl.left;
    const int dy = rcFlash.top - rcControl.top;
    const int cx = std::clamp(rcControl.Width() - rcFlash.Width() + Zoomed(GameFit::kGameWidth, nZoom),
                              Zoomed(kBrowserMinWidth, nZoom), Zoomed(kBrowserMaxWidth, nZoom));
    const int cy = dy + nGameHeight;
    ::SetWindowPos(hWndControl, nullptr, -dx, -dy, cx, cy, SWP_NOACTIVATE | SWP_NOZORDER);
    return {cx, cy};
}

void CPaneGame::ShowAlone(bool bAlone)
{
    const HWND hWndLauncher = m_launcher.m_hWnd;
    if (bAlone && m_bAlone)
    {
        LayOutAlone();
        return;
    }
    if (bAlone == m_bAlone)
        return;
    m_bAlone = bAlone;
    if (bAlone)
    {
        for (HWND hWnd = ::GetWindow(hWndLauncher, GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        {
            if (hWnd != m_pane.m_hWnd && ::IsWindowVisible(hWnd))
            {
                m_hidden.push_back(hWnd);
                ::ShowWindow(hWnd, SW_HIDE);
            }
        }
        LayOutAlone();
    }
    else
    {
        for (HWND hWnd : m_hidden)
            ::ShowWindow(hWnd, SW_SHOWNA);
        m_hidden.clear();
    }
    ::InvalidateRect(hWndLauncher, nullptr, TRUE);
}

void CPaneGame::LayOutAlone() const
{
    CRect rcClient;
    ::GetClientRect(m_launcher.m_hWnd, &rcClient);
    const UINT nFlags = SWP_NOACTIVATE | SWP_NOZORDER;
    const HWND hWndFlash = FindGame();
    if (!hWndFlash)
    {
        // No game yet: the page the player logs in on fills the screen.
        ::SetWindowPos(m_pane.m_hWnd, nullptr, 0, 0, rcClient.Width(), rcClient.Height(), nFlags);
        ::SetWindowPos(m_pane.ControlWindow(), nullptr, 0, 0, rcClient.Width(), rcClient.Height(), nFlags);
        return;
    }
    // The pane shows the game area alone, in the middle; the launcher around
    // it is black.
    const int nZoom = m_zoom.ShownOnScreen();
    const int cx = GameFit::Zoomed(GameFit::kGameWidth, nZoom);
    const int cy = GameFit::GameHeight(GameFit::IsTallGame(hWndFlash, m_zoom), nZoom);
    MoveBrowserToGame(hWndFlash, nZoom, cy);
    ::SetWindowPos(m_pane.m_hWnd, nullptr, (rcClient.Width() - cx) / 2, (rcClient.Height() - cy) / 2, cx, cy, nFlags);
}
