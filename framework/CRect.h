#pragma once

#include <windows.h>

class CRect : public RECT
{
public:
    CRect() noexcept : RECT() {}
    // The edges set one by one: the static analyzer loses them when they
    // come as the base's braced list.
    CRect(int l, int t, int r, int b) noexcept : RECT()
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    explicit CRect(const RECT& rc) noexcept : RECT(rc) {}

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }
};
