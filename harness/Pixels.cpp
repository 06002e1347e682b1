#include "Pixels.h"

#include "framework/UniqueHandle.h"

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
