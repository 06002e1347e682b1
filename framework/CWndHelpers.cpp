// The window wrapper's conveniences over window calls: placement and
// dialog items.

#include "CWnd.h"

#include "CRect.h"

#include <utility>

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    auto* pts = reinterpret_cast<LPPOINT>(lpRect);
    ::ClientToScreen(m_hWnd, &pts[0]);
    ::ClientToScreen(m_hWnd, &pts[1]);
    if (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
        std::swap(lpRect->left, lpRect->right);
}

RECT CWnd::WorkAreaOf(HWND hWnd, DWORD dwDefault)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, dwDefault), &mi);
    return mi.rcWork;
}

void CWnd::CenterWindow()
{
    CRect rcDlg;
    GetWindowRect(&rcDlg);

    const RECT rcArea = WorkAreaOf(m_hWnd, MONITOR_DEFAULTTOPRIMARY);
    RECT rcCenter = rcArea;
    if (const HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER))
        ::GetWindowRect(hWndOwner, &rcCenter);

    int x = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    // Keep it inside the work area, top-left corner first.
    if (x + rcDlg.Width() > rcArea.right)
        x = rcArea.right - rcDlg.Width();
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + rcDlg.Height() > rcArea.bottom)
        y = rcArea.bottom - rcDlg.Height();
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    const HWND hWndCtrl = ::GetDlgItem(m_hWnd, nID);
    const int nLength = hWndCtrl ? ::GetWindowTextLengthW(hWndCtrl) : 0;
    wchar_t* pBuffer = rString.GetBuffer(nLength + 1);
    const int nCopied = nLength > 0 ? ::GetWindowTextW(hWndCtrl, pBuffer, nLength + 1) : 0;
    rString.ReleaseBuffer(nCopied);
    return nCopied;
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}
