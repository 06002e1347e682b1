#pragma once

#include <windows.h>

class CPoint : public POINT
{
public:
    CPoint() noexcept : POINT{0, 0} {}
    CPoint(int initX, int initY) noexcept : POINT{initX, initY} {}
};
