#include "ReloadFeature.h"

#include "launcher/features/FeatureHost.h"
#include "browser/ShownPage.h"

CReloadFeature::CReloadFeature(CFeatureHost& host, CShownPage& page)
    : CFeature(host), m_page(page), m_nCommand(host.NewCommand())
{
}

std::vector<CSystemMenu::Row> CReloadFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = m_nCommand;
    row.lpszText = L"刷新页面";
    row.action = [this](UINT) { m_page.Reload(false); };
    return {row};
}
