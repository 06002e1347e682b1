#include "FullScreenFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/features/GameView.h"
#include "launcher/services/GameFit.h"
#include "launcher/services/OnScreen.h"
#include "launcher/services/PageZoom.h"
#include "framework/CRect.h"
#include "framework/ComPtr.h"

#include <shobjidl.h>

namespace
{

// What a window without caption or frame drops of its styles.
const LONG kFrameStyles = WS_CAPTION | WS_THICKFRAME;
const LONG kFrameExStyles = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;

// Tells the taskbar that the window is full screen, or no longer is, so that
// it keeps out of the way: its own guess from the window's size is less
// sure. Nothing where the taskbar cannot be asked.
void TellTaskbar(HWND hWnd, bool bFullScreen)
{
    ComPtr<ITaskbarList2> pTaskbar;
    if (SUCCEEDED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList2,
                                     pTaskbar.PutVoid())) &&
        SUCCEEDED(pTaskbar->HrInit()))
        pTaskbar->MarkFullscreenWindow(hWnd, bFullScreen ? TRUE : FALSE);
}

} // namespace

CFullScreenFeature::CFullScreenFeature(CFeatureHost& host, CPageZoom& zoom, CGameView& game)
    : CFeature(host), m_zoom(zoom), m_game(game), m_nCommand(host.NewCommand())
{
}

std::vector<CSystemMenu::Row> CFullScreenFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = m_nCommand;
    row.lpszText = L"全屏";
    row.key = CKey{0, VK_F11};
    row.state = [this] { return m_game.IsAlone() ? UINT(MFS_CHECKED) : 0U; };
    row.action = [this](UINT) {
        if (m_game.IsAlone())
            Leave();
        else
            Enter();
    };
    return {row};
}

void CFullScreenFeature::Enter()
{
    const HWND hWnd = Host().Window();
    if (::IsIconic(hWnd))
        ::ShowWindow(hWnd, SW_RESTORE);
    m_placement.length = sizeof(m_placement);
    if (!::GetWindowPlacement(hWnd, &m_placement))
        return;
    m_lStyle = ::GetWindowLongW(hWnd, GWL_STYLE);
    m_lExStyle = ::GetWindowLongW(hWnd, GWL_EXSTYLE);
    m_nZoom = m_zoom.Shown();
    ::SetWindowLongW(hWnd, GWL_STYLE, m_lStyle & ~kFrameStyles);
    ::SetWindowLongW(hWnd, GWL_EXSTYLE, m_lExStyle & ~kFrameExStyles);
    ::SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Fit();
    TellTaskbar(hWnd, true);
    m_game.FocusGame();
}

void CFullScreenFeature::Leave()
{
    if (!m_game.IsAlone())
        return;
    const HWND hWnd = Host().Window();
    TellTaskbar(hWnd, false);
    m_game.ShowAlone(false);
    ::SetWindowLongW(hWnd, GWL_STYLE, m_lStyle);
    ::SetWindowLongW(hWnd, GWL_EXSTYLE, m_lExStyle);
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // The strip and the pane as they were; the fit follows the game from
    // there, at the zoom the page had.
    Host().ApplyBaseLayout();
    m_zoom.Ask(m_nZoom);
    m_zoom.ChosenFor(nullptr);
    // As it is now: a launcher the boss key hid, ending, stays hidden.
    m_placement.showCmd = ::IsWindowVisible(hWnd) ? SW_SHOWNOACTIVATE : SW_HIDE;
    ::SetWindowPlacement(hWnd, &m_placement);
}

void CFullScreenFeature::Fit()
{
    const HWND hWnd = Host().Window();
    const CRect rcMonitor(MonitorAreaOf(hWnd));
    // A screen changed while the player is in another program raises
    // nothing over it.
    ::SetWindowPos(hWnd, nullptr, rcMonitor.left, rcMonitor.top, rcMonitor.Width(), rcMonitor.Height(),
                   SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
    if (const HWND hWndFlash = m_game.FindGame())
        m_zoom.Ask(GameFit::LargestStepThatFits(hWnd, GameFit::IsTallGame(hWndFlash, m_zoom), m_zoom, true));
    m_game.ShowAlone(true);
}

bool CFullScreenFeature::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT*)
{
    // A resolution changed, a monitor gone, the taskbar moved: fitted again
    // to the monitor the window is on now.
    const bool bScreenChanged = message == WM_DISPLAYCHANGE || message == WM_DPICHANGED ||
                                (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA);
    if (bScreenChanged && m_game.IsAlone())
        Fit();
    return false;
}
