#include "OrlimWebDlg.h"

#include "framework/CRect.h"
#include "res/resource.h"

#include <algorithm>
#include <cwchar>

namespace
{

const wchar_t kFlashWindowClass[] = L"MacromediaFlashPlayerActiveX";
const int kClassNameLength = 260;
const int kFlashMinWidth = 995;
const int kGameWidth = 1100;
const int kTallGameHeight = 750;
const int kGameHeight = 700;
const int kClientHeightMargin = 27; // client height minus browser height once fitted
// A Flash window that does not follow the browser's width would otherwise
// make it grow (or shrink) by the same amount on every tick.
const int kExplorerMinWidth = kGameWidth;
const int kExplorerMaxWidth = 4 * kGameWidth;

// Tests one window of the walk; ends it at the Flash window. A window whose
// class or rectangle cannot be read (it is going away) does not qualify.
BOOL CALLBACK TestForFlashWindow(HWND hWnd, LPARAM lParam)
{
    wchar_t szClass[kClassNameLength];
    CRect rect;
    if (::GetClassNameW(hWnd, szClass, kClassNameLength) > 0 && std::wcscmp(szClass, kFlashWindowClass) == 0 &&
        ::GetWindowRect(hWnd, &rect) && rect.Width() >= kFlashMinWidth)
    {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

// Auto-fit

void COrlimWebDlg::OnBnClickedAutofitCheck()
{
    const LRESULT nCheck = ::SendMessageW(GetDlgItem(IDC_AUTOFIT_CHECK)->GetSafeHwnd(), BM_GETCHECK, 0, 0);
    if (nCheck == BST_CHECKED)
    {
        ::SetTimer(m_hWnd, kAutoFitTimer, kAutoFitPeriod, nullptr);
    }
    else
    {
        ::KillTimer(m_hWnd, kAutoFitTimer);
        ApplyBaseLayout();
    }
}

HWND COrlimWebDlg::FindFlashWindow(HWND hWndParent)
{
    // Depth first, each window before its children, siblings in z-order:
    // the order in which the system enumerates a window's descendants. It
    // takes each window's child list once; stepping from sibling to sibling
    // with FindWindowEx would list the siblings again at every step.
    HWND hWndFound = nullptr;
    ::EnumChildWindows(hWndParent, TestForFlashWindow, reinterpret_cast<LPARAM>(&hWndFound));
    return hWndFound;
}

void COrlimWebDlg::OnTimer(UINT_PTR nIDEvent)
{
    // Without a browser control there is nothing to search: a null parent
    // would walk the whole desktop. A minimised or hidden launcher is left
    // as it is until the player brings it back.
    const HWND hWndExplorer = m_dlgWeb.m_explorer.m_hWnd;
    if (hWndExplorer && !::IsIconic(m_hWnd) && ::IsWindowVisible(m_hWnd))
    {
        // The fit follows the page, not the player: it never activates the
        // launcher or raises it above the window the player is using.
        const UINT nFlags = SWP_NOACTIVATE | SWP_NOZORDER;
        CRect rcFlash;
        CRect rcExplorer;
        const HWND hWndFlash = FindFlashWindow(hWndExplorer);
        if (hWndFlash && ::GetWindowRect(hWndFlash, &rcFlash) && ::GetWindowRect(hWndExplorer, &rcExplorer))
        {
            // Move the browser so that the game area starts at the pane's
            // origin, and size everything to a game area 1100 pixels wide.
            const int nGameHeight = rcFlash.Height() == kTallGameHeight ? kTallGameHeight : kGameHeight;
            const int dx = rcFlash.left - rcExplorer.left;
            const int dy = rcFlash.top - rcExplorer.top;
            const int cx =
                std::clamp(rcExplorer.Width() - rcFlash.Width() + kGameWidth, kExplorerMinWidth, kExplorerMaxWidth);
            const int cy = dy + nGameHeight;
            ::SetWindowPos(hWndExplorer, nullptr, -dx, -dy, cx, cy, nFlags);
            ::SetWindowPos(m_dlgWeb.m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | nFlags);
            SetClientSize(m_hWnd, cy + kClientHeightMargin);
        }
        else if (!hWndFlash)
        {
            CRect rcPane;
            ::GetWindowRect(m_dlgWeb.m_hWnd, &rcPane);
            ::SetWindowPos(hWndExplorer, nullptr, 0, 0, rcPane.Width(), rcPane.Height(), nFlags);
        }
    }
    CDialog::OnTimer(nIDEvent);
}

void SetClientSize(HWND hWnd, int nHeight)
{
    if (!::IsWindow(hWnd))
        return;
    CRect rcWindow;
    CRect rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    if (rcClient.Width() == kGameWidth && rcClient.Height() == nHeight)
        return;
    ::SetWindowPos(hWnd, nullptr, 0, 0, rcWindow.Width() - rcClient.Width() + kGameWidth,
                   rcWindow.Height() - rcClient.Height() + nHeight, SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
}
