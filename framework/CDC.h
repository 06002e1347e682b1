#pragma once

#include <windows.h>

// A device context handle with drawing calls. Never frees the handle: who
// opened it closes it (see CPaintDC).
class CDC
{
public:
    CDC() noexcept = default;
    explicit CDC(HDC hDC) noexcept : m_hDC(hDC) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;

    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    int SetBkMode(int nBkMode);
    COLORREF SetTextColor(COLORREF crColor);
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    int DrawText(const wchar_t* lpszString, int nCount, LPRECT lpRect, UINT nFormat);
};
