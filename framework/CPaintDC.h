#pragma once

#include "CDC.h"

class CWnd;

// The paint context of a WM_PAINT handler: BeginPaint on construction,
// EndPaint on destruction.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};
