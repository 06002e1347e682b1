#include "WindowPlaceFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/settings/Settings.h"
#include "framework/CRect.h"

#include <algorithm>
#include <cwchar>

namespace
{

const wchar_t kKeyOn[] = L"RememberPlace";
const wchar_t kKeyPlace[] = L"Place";

// Where a window of rcWindow goes so that all of it is on the work area of
// the monitor nearest to it (its top left corner where it is larger).
POINT WholeOnWorkArea(const RECT& rcWindow)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(MONITORINFO);
    if (!::GetMonitorInfoW(::MonitorFromRect(&rcWindow, MONITOR_DEFAULTTONEAREST), &mi))
        return POINT{rcWindow.left, rcWindow.top};
    const CRect rc(rcWindow);
    const CRect rcWork(mi.rcWork);
    return POINT{std::max(rcWork.left, std::min(rc.left, rcWork.right - rc.Width())),
                 std::max(rcWork.top, std::min(rc.top, rcWork.bottom - rc.Height()))};
}

} // namespace

CWindowPlaceFeature::CWindowPlaceFeature(CFeatureHost& host, CSettings& settings)
    : CFeature(host), m_settings(settings), m_nCommand(host.NewCommand())
{
}

std::vector<CSystemMenu::Row> CWindowPlaceFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = m_nCommand;
    row.lpszText = L"记住窗口位置";
    row.state = [this] { return m_bOn ? UINT(MFS_CHECKED) : 0U; };
    row.action = [this](UINT) {
        m_bOn = !m_bOn;
        m_settings.SaveSwitch(kKeyOn, m_bOn);
        if (!m_bOn)
            m_settings.SaveOption(kKeyPlace, nullptr); // nothing remembered
    };
    return {row};
}

void CWindowPlaceFeature::OnPlaced()
{
    m_bOn = m_settings.Options().Switch(kKeyOn);
    int x = 0;
    int y = 0;
    if (!m_bOn || std::swscanf(m_settings.Options().Text(kKeyPlace), L"%d,%d", &x, &y) != 2)
        return;
    // Placed, the window is not centred.
    const HWND hWnd = Host().Window();
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::OffsetRect(&rc, x - rc.left, y - rc.top);
    const POINT pt = WholeOnWorkArea(rc);
    ::SetWindowPos(hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowPlaceFeature::OnEnd()
{
    if (!m_bOn)
        return;
    // Where it stands when not minimised.
    const HWND hWnd = Host().Window();
    RECT rc = {};
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(WINDOWPLACEMENT);
    RECT rcWork = {};
    if (::IsIconic(hWnd) && ::GetWindowPlacement(hWnd, &wp))
    {
        // In the work area's coordinates: a taskbar at the top or the left
        // moves them from the screen's.
        rc = wp.rcNormalPosition;
        if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0))
            ::OffsetRect(&rc, rcWork.left, rcWork.top);
    }
    else if (!::GetWindowRect(hWnd, &rc))
    {
        return;
    }
    CString strPlace;
    strPlace.Format(L"%ld,%ld", rc.left, rc.top);
    if (std::wcscmp(strPlace, m_settings.Options().Text(kKeyPlace)) != 0)
        m_settings.SaveOption(kKeyPlace, strPlace);
}
