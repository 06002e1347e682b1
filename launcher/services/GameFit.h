#pragma once

#include <windows.h>

class CPageZoom;

// The sizes the auto-fit gives the launcher: a game area 1100 pixels wide
// and 700 high (750 for the tall game) at 100 %, that much larger or smaller
// at the page's zoom as the screen shows it, below the strip, with a margin.
namespace GameFit
{

const int kGameWidth = 1100;
const int kTallGameHeight = 750;
const int kGameHeight = 700;
const int kClientHeightMargin = 27; // client height minus browser height once fitted

// At a zoom of nZoom percent on the screen the game, and everything the fit
// sizes after it, is that much smaller or larger.
inline int Zoomed(int nPixels, int nZoom)
{
    return ::MulDiv(nPixels, nZoom, 100);
}

// The game area's height, the tall game's or the other's, at a zoom.
inline int GameHeight(bool bTallGame, int nZoom)
{
    return Zoomed(bTallGame ? kTallGameHeight : kGameHeight, nZoom);
}

// Whether a game of this height is the tall one: 750 pixels exactly at
// 100 %; zoomed, its height may round either way.
bool IsTallGame(int nHeight, int nZoom);
// Whether a game's window (none: no) is the tall game, at the zoom the
// screen shows the page at.
bool IsTallGame(HWND hWndGame, const CPageZoom& zoom);
// Whether the launcher hWnd, fitted to a game at a zoom (as the screen
// shows it), fits its monitor's work area: the frame, the strip, the game
// and the margin below it. (The fitted pane goes on below the browser by the
// game's offset in the page, which may reach past the screen's bottom.)
// bAlone: the game alone on the whole monitor, nothing around it.
bool FitsScreen(HWND hWnd, bool bTallGame, int nZoom, bool bAlone = false);
// The largest of the zoom's fixed steps at which the fitted launcher (or,
// bAlone, the game alone) fits its screen, the page drawn as large as the
// screen shows it; the smallest where none does.
int LargestStepThatFits(HWND hWnd, bool bTallGame, const CPageZoom& zoom, bool bAlone = false);

} // namespace GameFit
