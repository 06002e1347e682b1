#include "launcher/OrlimWebDlg.h"

#include "framework/CRect.h"
#include "framework/SystemFunction.h"
#include "launcher/LauncherIds.h"
#include "launcher/services/GameFit.h"
#include "launcher/services/OnScreen.h"
#include "res/resource.h"

using namespace GameFit;

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
    if (hWndExplorer && m_host.Game().IsAlone())
    {
        // The game alone on the screen is laid out by its own rule (not
        // while minimised: no client area to centre it in).
        if (!::IsIconic(m_hWnd))
            m_host.Game().LayOutAlone();
    }
    else if (hWndExplorer && !::IsIconic(m_hWnd) && ::IsWindowVisible(m_hWnd))
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
                if (m_host.Zoom().Ask(LargestStepThatFits(m_hWnd, bTall, m_host.Zoom())))
                {
                    CDialog::OnTimer(nIDEvent);
                    return;
                }
            }
            // Move the browser so that the game area starts at the pane's
            // origin, and size everything to a game area 1100 pixels wide (at
            // 100 %; the page's zoom scales the game and these numbers).
            const SIZE size = m_host.Game().MoveBrowserToGame(hWndFlash, nZoom, GameHeight(bTall, nZoom));
            const int cy = size.cy;
            ::SetWindowPos(m_dlgWeb.m_hWnd, nullptr, 0, 0, size.cx, cy, SWP_NOMOVE | nFlags);
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
