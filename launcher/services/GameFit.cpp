#include "GameFit.h"

#include "launcher/services/OnScreen.h"
#include "launcher/services/PageZoom.h"
#include "framework/CRect.h"
#include "framework/CWnd.h"

#include <cstdlib>

namespace GameFit
{

bool IsTallGame(int nHeight, int nZoom)
{
    return std::abs(nHeight - Zoomed(kTallGameHeight, nZoom)) <= (nZoom == 100 ? 0 : 1);
}

bool IsTallGame(HWND hWndGame, const CPageZoom& zoom)
{
    RECT rc;
    return hWndGame && ::GetWindowRect(hWndGame, &rc) && IsTallGame(rc.bottom - rc.top, zoom.ShownOnScreen());
}

bool FitsScreen(HWND hWnd, bool bTallGame, int nZoom, bool bAlone)
{
    const int cxGame = Zoomed(kGameWidth, nZoom);
    const int cyGame = GameHeight(bTallGame, nZoom);
    if (bAlone)
    {
        const CRect rcMonitor(MonitorAreaOf(hWnd));
        return cxGame <= rcMonitor.Width() && cyGame <= rcMonitor.Height();
    }
    CRect rcWindow;
    CRect rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    const CRect rcWork(CWnd::WorkAreaOf(hWnd));
    return rcWindow.Width() - rcClient.Width() + cxGame <= rcWork.Width() &&
           rcWindow.Height() - rcClient.Height() + kClientHeightMargin + cyGame <= rcWork.Height();
}

int LargestStepThatFits(HWND hWnd, bool bTallGame, const CPageZoom& zoom, bool bAlone)
{
    int nZoom = 100;
    for (const CPageZoom::Step& step : CPageZoom::kSteps)
    {
        if (step.nOption == CPageZoom::kAuto)
            continue;
        nZoom = step.nOption;
        if (FitsScreen(hWnd, bTallGame, zoom.OnScreen(nZoom), bAlone))
            return nZoom;
    }
    return nZoom; // the smallest
}

} // namespace GameFit
