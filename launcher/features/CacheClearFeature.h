#pragma once

#include "launcher/features/Feature.h"
#include "launcher/services/SiteCacheClear.h"

class CShownPage;

// "清除缓存并刷新" (Ctrl+F5): a game update left a stale game in the cache. The entries
// of the page's site and of the sites it shows things from (its frames,
// its game's Flash movie) go, off the window's thread; the page is then
// loaded anew from the network. Cookies stay: the player stays logged in.
class CCacheClearFeature final : public CFeature
{
public:
    CCacheClearFeature(CFeatureHost& host, CShownPage& page);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnMenuOpening() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    void Clear();

    CShownPage& m_page;
    const UINT m_nCommand;
    const UINT m_nClearedMessage; // the cache's entries are gone
    bool m_bPageHasSite = false;  // as the menu last asked
    CSiteCacheClear m_clear;
};
