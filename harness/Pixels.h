#pragma once

#include <windows.h>

#include <vector>

// What the screen shows at a point of a window's client area.
COLORREF ScreenPixel(HWND hWnd, int x, int y);

// A rectangle of a window's client area as it is drawn now, read through
// the window's device context.
class ClientPixels
{
public:
    ClientPixels(HWND hWnd, const RECT& rc);

    // The colour at a point of the client area inside the rectangle.
    COLORREF At(int x, int y) const;
    const std::vector<COLORREF>& All() const { return m_pixels; }

private:
    RECT m_rc;
    std::vector<COLORREF> m_pixels;
};

// The launcher's notice line: how many of the strip's pixels right of the
// check box are near white (the text is smoothed into the blue), and
// whether the strip's two ends are its blue. Painted anew first.
struct StripNotice
{
    int nWhite;
    bool bEndsBlue;
};
StripNotice StripNoticeOf(HWND hLauncher);
