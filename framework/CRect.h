#pragma once

#include <windows.h>

class CRect : public RECT
{
public:
    CRect() noexcept : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
    explicit CRect(const RECT& rc) noexcept : RECT(rc) {}

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }
};
