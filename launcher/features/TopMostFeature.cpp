#include "TopMostFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/settings/Settings.h"

namespace
{

const wchar_t kTopMostOption[] = L"TopMost";

} // namespace

CTopMostFeature::CTopMostFeature(CFeatureHost& host, CSettings& settings)
    : CFeature(host), m_settings(settings), m_nCommand(host.NewCommand())
{
}

std::vector<CSystemMenu::Row> CTopMostFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = m_nCommand;
    row.lpszText = L"窗口置顶";
    row.state = [this] { return m_bTopMost ? UINT(MFS_CHECKED) : 0U; };
    row.action = [this](UINT) {
        Set(!m_bTopMost);
        // A choice that cannot be saved holds for this run all the same.
        m_settings.SaveSwitch(kTopMostOption, m_bTopMost);
    };
    return {row};
}

void CTopMostFeature::OnStart()
{
    Set(m_settings.Options().Switch(kTopMostOption));
}

void CTopMostFeature::Set(bool bTopMost)
{
    m_bTopMost = bTopMost;
    const HWND hWnd = Host().Window();
    const bool bIsTopMost = (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (bTopMost != bIsTopMost)
        ::SetWindowPos(hWnd, bTopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
