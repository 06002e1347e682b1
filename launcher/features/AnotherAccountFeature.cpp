#include "AnotherAccountFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/services/OnScreen.h"

CAnotherAccountFeature::CAnotherAccountFeature(CFeatureHost& host, const CString& strStartFolder)
    : CFeature(host), m_strStartFolder(strStartFolder), m_nCommand(host.NewCommand())
{
}

std::vector<CSystemMenu::Row> CAnotherAccountFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = m_nCommand;
    row.lpszText = L"新开窗口（另一个账号）";
    // From the folder this launcher started in: the same settings file.
    // Nothing to say when it cannot start: no launcher appears.
    row.action = [this](UINT) { m_account.Start(Host().Window(), m_strStartFolder); };
    return {row};
}

void CAnotherAccountFeature::BeforeBrowser()
{
    // Its pages' cookies kept to itself from before its browser exists.
    m_bStartedAsOne = CAnotherAccount::IsStartedAsOne(&m_ptFrom);
    if (m_bStartedAsOne)
        CAnotherAccount::KeepCookiesToItself();
}

void CAnotherAccountFeature::OnPlaced()
{
    if (!m_bStartedAsOne)
        return;
    // Below and right of the launcher it came from, by a caption's height,
    // so that both can be seen (and so it is not centred).
    const HWND hWnd = Host().Window();
    const int nOffset = ::GetSystemMetrics(SM_CYCAPTION);
    ::SetWindowPos(hWnd, nullptr, m_ptFrom.x + nOffset, m_ptFrom.y + nOffset, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    KeepOnScreen(hWnd);
}
