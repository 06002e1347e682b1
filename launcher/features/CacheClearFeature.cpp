#include "CacheClearFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/LauncherIds.h"
#include "launcher/services/SiteCache.h"
#include "browser/PageResources.h"
#include "res/resource.h"

std::vector<CSystemMenu::Row> CCacheClearFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = IDM_CLEAR_CACHE;
    row.lpszText = L"清除缓存并刷新";
    // Nothing loaded yet: no site whose entries could go; or they are going.
    row.state = [this] { return m_bPageHasSite && !m_clear.IsUnderWay() ? 0U : UINT(MFS_GRAYED); };
    row.action = [this](UINT) { Clear(); };
    return {row};
}

void CCacheClearFeature::OnMenuOpening()
{
    m_bPageHasSite = CSiteCache(Host().PageUrl()).HasSite();
}

bool CCacheClearFeature::OnMessage(UINT message, WPARAM, LPARAM, LRESULT* pResult)
{
    if (message != LauncherIds::kCacheClearedMessage)
        return false;
    m_clear.Finish();
    Host().ReloadPage(true);
    *pResult = 0;
    return true;
}

void CCacheClearFeature::Clear()
{
    const CString strPage = Host().PageUrl();
    CSiteCache cache(strPage, CPageResources::UrlsOf(Host().PageDocument().Get(), strPage));
    if (cache.HasSite())
        m_clear.Start(std::move(cache), Host().Window(), LauncherIds::kCacheClearedMessage);
}
