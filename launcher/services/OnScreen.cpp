#include "OnScreen.h"

#include "framework/CRect.h"
#include "framework/CWnd.h"
#include "framework/SystemFunction.h"

#include <dwmapi.h>

#include <algorithm>

namespace
{

// What the player sees of a window. On Windows 10 and 11 the frame's
// sizing border is invisible and reaches some pixels past the visible edges;
// the compositor says where they are (in the screen's own pixels, also for a
// program that is not DPI-aware). Where it does not, the window rectangle.
CRect VisibleEdges(HWND hWnd, const CRect& rcWindow)
{
    using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
    using ToLogicalFn = BOOL(WINAPI*)(HWND, LPPOINT);
    static const auto pfnAttribute = SystemFunction<DwmGetWindowAttributeFn>(L"dwmapi.dll", "DwmGetWindowAttribute");
    static const auto pfnPerMonitor =
        SystemFunction<ToLogicalFn>(L"user32.dll", "PhysicalToLogicalPointForPerMonitorDPI");
    const ToLogicalFn pfnToLogical = pfnPerMonitor ? pfnPerMonitor : ::PhysicalToLogicalPoint;
    RECT rcFrame;
    if (!pfnAttribute || FAILED(pfnAttribute(hWnd, DWMWA_EXTENDED_FRAME_BOUNDS, &rcFrame, sizeof(rcFrame))))
        return rcWindow;
    POINT ptTopLeft = {rcFrame.left, rcFrame.top};
    POINT ptBottomRight = {rcFrame.right, rcFrame.bottom};
    if (!pfnToLogical(hWnd, &ptTopLeft) || !pfnToLogical(hWnd, &ptBottomRight))
        return rcWindow;
    return CRect(ptTopLeft.x, ptTopLeft.y, ptBottomRight.x, ptBottomRight.y);
}

} // namespace

POINT OnScreenPosition(const RECT& rcWindow, const RECT& rcVisible, const RECT& rcWork)
{
    // The visible edges go inside the work area; the window moves with them.
    POINT pt = {rcWindow.left, rcWindow.top};
    if (rcVisible.right > rcWork.right)
        pt.x -= rcVisible.right - rcWork.right;
    if (rcVisible.bottom > rcWork.bottom)
        pt.y -= rcVisible.bottom - rcWork.bottom;
    // The caption stays reachable: the left and top edges win.
    const int dxLeft = rcVisible.left - rcWindow.left;
    const int dyTop = rcVisible.top - rcWindow.top;
    pt.x = std::max(pt.x, std::min(rcVisible.left, rcWork.left) - dxLeft);
    pt.y = std::max(pt.y, std::min(rcVisible.top, rcWork.top) - dyTop);
    return pt;
}

void KeepOnScreen(HWND hWnd)
{
    if (!::IsWindow(hWnd) || ::IsIconic(hWnd))
        return;
    CRect rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    const POINT pt = OnScreenPosition(rcWindow, VisibleEdges(hWnd, rcWindow), CWnd::WorkAreaOf(hWnd));
    if (pt.x != rcWindow.left || pt.y != rcWindow.top)
        ::SetWindowPos(hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

RECT MonitorAreaOf(HWND hWnd)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcMonitor;
}
