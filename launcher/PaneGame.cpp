#include "PaneGame.h"

#include "browser/DlgWeb.h"
#include "launcher/services/PageZoom.h"
#include "framework/CRect.h"

#include <cwchar>

namespace
{

const wchar_t kFlashWindowClass[] = L"MacromediaFlashPlayerActiveX";
const int kClassNameLength = 260;
const int kFlashMinWidth = 995;

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
