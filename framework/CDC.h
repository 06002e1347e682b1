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

// Selects an object into a device context for a scope; the object it
// replaced is selected back after. A null object selects nothing.
class ScopedSelectObject
{
public:
    ScopedSelectObject(CDC& dc, HGDIOBJ hObject) noexcept
        : m_dc(dc), m_hOld(hObject ? dc.SelectObject(hObject) : nullptr)
    {
    }
    ~ScopedSelectObject()
    {
        if (m_hOld)
            m_dc.SelectObject(m_hOld);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    CDC& m_dc;
    HGDIOBJ m_hOld;
};
