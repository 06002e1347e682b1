#include "TopMostFeature.h"

#include "launcher/features/FeatureHost.h"
#include "res/resource.h"

namespace
{

const wchar_t kKey[] = L"TopMost";

} // namespace

std::vector<CSystemMenu::Row> CTopMostFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = IDM_TOPMOST;
    row.lpszText = L"窗口置顶";
    row.state = [this] { return m_bTopMost ? UINT(MFS_CHECKED) : 0U; };
    row.action = [this](UINT) {
        Set(!m_bTopMost);
        // A choice that cannot be saved holds for this run all the same.
        Host().SaveOption(kKey, m_bTopMost ? L"1" : L"0");
    };
    return {row};
}

void CTopMostFeature::OnStart()
{
    Set(Host().Options().Switch(kKey));
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
