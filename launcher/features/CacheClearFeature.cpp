#include "CacheClearFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/services/SiteCache.h"
#include "browser/PageResources.h"
#include "browser/ShownPage.h"

CCacheClearFeature::CCacheClearFeature(CFeatureHost& host, CShownPage& page)
    : CFeature(host), m_page(page), m_nCommand(host.NewCommand()), m_nClearedMessage(host.NewMessage())
{
}

std::vector<CSystemMenu::Row> CCacheClearFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = m_nCommand;
    row.lpszText = L"清除缓存并刷新";
    row.key = CKey{MOD_CONTROL, VK_F5};
    // Nothing loaded yet: no site whose entries could go; or they are going.
    row.state = [this] { return m_bPageHasSite && !m_clear.IsUnderWay() ? 0U : UINT(MFS_GRAYED); };
    row.action = [this](UINT) { Clear(); };
    return {row};
}

void CCacheClearFeature::OnMenuOpening()
{
    m_bPageHasSite = CSiteCache(m_page.PageUrl()).HasSite();
}

bool CCacheClearFeature::OnMessage(UINT message, WPARAM, LPARAM, LRESULT* pResult)
{
    if (message != m_nClearedMessage || !m_clear.IsUnderWay())
        return false;
    m_clear.Finish();
    m_page.Reload(true);
    *pResult = 0;
    return true;
}

void CCacheClearFeature::Clear()
{
    const CString strPage = m_page.PageUrl();
    CSiteCache cache(strPage, CPageResources::UrlsOf(m_page.PageDocument().Get(), strPage));
    if (cache.HasSite())
        m_clear.Start(std::move(cache), Host().Window(), m_nClearedMessage);
}
