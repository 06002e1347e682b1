#include "Pixels.h"

#include "MessagePump.h"

#include "framework/UniqueHandle.h"
#include "res/resource.h"

COLORREF ScreenPixel(HWND hWnd, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    const UniqueWindowDC hScreen(nullptr);
    return ::GetPixel(hScreen.Get(), pt.x, pt.y);
}

ClientPixels::ClientPixels(HWND hWnd, const RECT& rc) : m_rc(rc)
{
    const UniqueWindowDC hdc(hWnd);
    m_pixels.reserve(static_cast<size_t>((rc.right - rc.left) * (rc.bottom - rc.top)));
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            m_pixels.push_back(::GetPixel(hdc.Get(), x, y));
}

COLORREF ClientPixels::At(int x, int y) const
{
    return m_pixels.at(static_cast<size_t>((y - m_rc.top) * (m_rc.right - m_rc.left) + (x - m_rc.left)));
}

StripNotice StripNoticeOf(HWND hLauncher)
{
    const COLORREF kStripBlue = RGB(0, 174, 255);
    ::RedrawWindow(hLauncher, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPending();
    RECT rcCheck;
    ::GetWindowRect(::GetDlgItem(hLauncher, IDC_AUTOFIT_CHECK), &rcCheck);
    ::MapWindowPoints(nullptr, hLauncher, reinterpret_cast<LPPOINT>(&rcCheck), 2);
    RECT rc;
    ::GetClientRect(hLauncher, &rc);
    const ClientPixels strip(hLauncher, RECT{0, 0, rc.right, 25});
    int nWhite = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = rcCheck.right + 1; x < rc.right; ++x)
            nWhite += GetRValue(strip.At(x, y)) > 128; // the strip has no red: text, or a control
    const bool bEndsBlue = strip.At(1, 12) == kStripBlue && strip.At(rc.right - 2, 12) == kStripBlue &&
                           strip.At(rc.right - 2, 2) == kStripBlue;
    return {nWhite, bEndsBlue};
}
