#include "launcher/OrlimWebDlg.h"

#include "framework/CRect.h"
#include "framework/SystemFunction.h"
#include "launcher/LauncherIds.h"
#include "launcher/services/OnScreen.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdlib>

namespace
{

const int kGameWidth = 1100;
const int kTallGameHeight = 750;
const int kGameHeight = 700;
const int kClientHeightMargin = 27; // client height minus browser height once fitted
// A Flash window that does not follow the browser's width would otherwise
// make it grow (or shrink) by the same amount on every tick.
const int kExplorerMinWidth = kGameWidth;
const int kExplorerMaxWidth = 4 * kGameWidth;

// At a zoom of nZoom percent on the screen the game, and everything the fit
// sizes after it, is that much smaller or larger.
int Zoomed(int nPixels, int nZoom)
{
    return ::MulDiv(nPixels, nZoom, 100);
}

// Whether a game of this height is the tall one: 750 pixels exactly at
// 100 %; zoomed, its height may round either way.
bool IsTallGame(int nHeight, int nZoom)
{
    return std::abs(nHeight - Zoomed(kTallGameHeight, nZoom)) <= (nZoom == 100 ? 0 : 1);
}

// What of the launcher fitted to a game at a zoom must be on the screen.
SIZE FittedSizeOnScreen(HWND hWnd, bool bTallGame, int nZoom)
{
    // What must be on the screen: the frame, the strip, the game and the
    // margin below it. (The fitted pane goes on below the browser by the
    // game's offset in the page, which may reach past the screen's bottom.)
    CRect rcWindow;
    CRect rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    return SIZE{rcWindow.Width() - rcClient.Width() + Zoomed(kGameWidth, nZoom),
                rcWindow.Height() - rcClient.Height() + kClientHeightMargin +
                    Zoomed(bTallGame ? kTallGameHeight : kGameHeight, nZoom)};
}

// Whether the launcher fitted to a game at a zoom fits its screen's work area.
bool FitsScreen(HWND hWnd, bool bTallGame, int nZoom)
{
    const SIZE size = FittedSizeOnScreen(hWnd, bTallGame, nZoom);
    const CRect rcWork(CWnd::WorkAreaOf(hWnd));
    return size.cx <= rcWork.Width() && size.cy <= rcWork.Height();
}

// With the automatic zoom, the largest zoom at which the fitted launcher
// fits its screen, the page drawn as large as the screen shows it.
int ChooseZoomForScreen(HWND hWnd, bool bTallGame, const CPageZoom& zoom)
{
    int nZoom = 100;
    for (const CPageZoom::Step& step : CPageZoom::kSteps)
    {
        if (step.nOption == CPageZoom::kAuto)
            continue;
        nZoom = step.nOption;
        if (FitsScreen(hWnd, bTallGame, zoom.OnScreen(nZoom)))
            return nZoom;
    }
    return nZoom; // the smallest
}

} // namespace

// Auto-fit

void COrlimWebDlg::OnBnClickedAutofitCheck()
{
    const LRESULT nCheck = ::SendMessageW(GetDlgItem(IDC_AUTOFIT_CHECK)->GetSafeHwnd(), BM_GETCHECK, 0, 0);
    if (nCheck == BST_CHECKED)
    {
        ::SetTimer(m_hWnd, LauncherIds::kAutoFitTimer, LauncherIds::kAutoFitPeriodMs, nullptr);
    }
    else
    {
        ::KillTimer(m_hWnd, LauncherIds::kAutoFitTimer);
        ApplyBaseLayout();
    }
}

void COrlimWebDlg::OnTimer(UINT_PTR nIDEvent)
{
    // Without a browser control there is nothing to fit. A minimised or
    // hidden launcher is left as it is until the player brings it back.
    const HWND hWndExplorer = m_dlgWeb.ControlWindow();
    if (hWndExplorer && !::IsIconic(m_hWnd) && ::IsWindowVisible(m_hWnd))
    {
        // The fit follows the page, not the player: it never activates the
        // launcher or raises it above the window the player is using. It
        // scales with the zoom the page is laid out at, as large as the
        // screen shows it (at 120 DPI a page at 100 % is drawn at 125 %).
        const UINT nFlags = SWP_NOACTIVATE | SWP_NOZORDER;
        m_host.Zoom().Read();
        const int nZoom = m_host.Zoom().ShownOnScreen();
        CRect rcFlash;
        CRect rcExplorer;
        const HWND hWndFlash = m_host.Game().FindGame();
        if (hWndFlash && ::GetWindowRect(hWndFlash, &rcFlash) && ::GetWindowRect(hWndExplorer, &rcExplorer))
        {
            const bool bTall = IsTallGame(rcFlash.Height(), nZoom);
            if (m_host.Zoom().IsAuto() && (m_host.Zoom().IsToChooseFor(hWndFlash) || !FitsScreen(m_hWnd, bTall, nZoom)))
            {
                // Chosen for each game found, and again when the game grows
                // past the screen: the zoomed page then fits itself on a
                // later tick.
                m_host.Zoom().ChosenFor(hWndFlash);
                if (m_host.Zoom().Ask(ChooseZoomForScreen(m_hWnd, bTall, m_host.Zoom())))
                {
                    CDialog::OnTimer(nIDEvent);
                    return;
                }
            }
            // Move the browser so that the game area starts at the pane's
            // origin, and size everything to a game area 1100 pixels wide (at
            // 100 %; the page's zoom scales the game and these numbers).
            const int nGameHeight = Zoomed(bTall ? kTallGameHeight : kGameHeight, nZoom);
            const int dx = rcFlash.left - rcExplorer.left;
            const int dy = rcFlash.top - rcExplorer.top;
            const int cx = std::clamp(rcExplorer.Width() - rcFlash.Width() + Zoomed(kGameWidth, nZoom),
                                      Zoomed(kExplorerMinWidth, nZoom), Zoomed(kExplorerMaxWidth, nZoom));
            const int cy = dy + nGameHeight;
            ::SetWindowPos(hWndExplorer, nullptr, -dx, -dy, cx, cy, nFlags);
            ::SetWindowPos(m_dlgWeb.m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | nFlags);
            // Only a launcher that changed its size is put back on the
            // screen: one the player drags, or left across two monitors,
            // stays where the player has it.
            CRect rcBefore;
            ::GetWindowRect(m_hWnd, &rcBefore);
            SetClientSize(m_hWnd, cy + kClientHeightMargin, nZoom);
            CRect rcAfter;
            ::GetWindowRect(m_hWnd, &rcAfter);
            if (rcAfter.Width() != rcBefore.Width() || rcAfter.Height() != rcBefore.Height())
                KeepOnScreen(m_hWnd);
        }
        else if (!hWndFlash)
        {
            m_host.Zoom().ChosenFor(nullptr);
            CRect rcPane;
            ::GetWindowRect(m_dlgWeb.m_hWnd, &rcPane);
            ::SetWindowPos(hWndExplorer, nullptr, 0, 0, rcPane.Width(), rcPane.Height(), nFlags);
        }
    }
    CDialog::OnTimer(nIDEvent);
}

void SetClientSize(HWND hWnd, int nHeight, int nZoom)
{
    if (!::IsWindow(hWnd))
        return;
    const int nWidth = Zoomed(kGameWidth, nZoom);
    CRect rcWindow;
    CRect rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    if (rcClient.Width() == nWidth && rcClient.Height() == nHeight)
        return;
    ::SetWindowPos(hWnd, nullptr, 0, 0, rcWindow.Width() - rcClient.Width() + nWidth,
                   rcWindow.Height() - rcClient.Height() + nHeight, SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
}
