#pragma once

#include <windows.h>

// Where a window of rcWindow, whose visible edges are rcVisible, goes so
// that what is seen of it stays inside the work area rcWork: moved left and
// up just enough, but never past the work area's left or top edge.
POINT OnScreenPosition(const RECT& rcWindow, const RECT& rcVisible, const RECT& rcWork);
// Moves a window that reaches past its monitor's work area back onto it
// (see OnScreenPosition), without activating it or changing its z-order; a
// minimised window and one that fits are left where they are.
void KeepOnScreen(HWND hWnd);
// The whole of the monitor a window is on (or nearest to), the taskbar's
// place included.
RECT MonitorAreaOf(HWND hWnd);
