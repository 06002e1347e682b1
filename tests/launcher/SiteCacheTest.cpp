// Clearing the cache of the site the pane shows: only the entries of its
// site and of the sites it shows things from go, off the window's thread,
// then the page is loaded anew; the item waits for a page with a host.

#include "harness/FakeDocument.h"
#include "harness/LauncherFixture.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "launcher/services/SiteCache.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <wininet.h>

#include <string>

namespace
{

// An entry of the browser's cache, made as the browser makes them.
bool Cache(const std::wstring& url)
{
    wchar_t file[MAX_PATH] = {};
    if (!::CreateUrlCacheEntryW(url.c_str(), 0, L"js", file, 0))
        return false;
    WriteFileBytes(file, "cached");
    FILETIME never = {};
    return ::CommitUrlCacheEntryW(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr) !=
           FALSE;
}

bool IsCached(const std::wstring& url)
{
    DWORD cb = 0;
    ::GetUrlCacheEntryInfoW(url.c_str(), nullptr, &cb);
    return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

TEST(SiteCacheTest, TheSiteIsThePagesRegistrableDomain)
{
    EXPECT_STREQ(CSiteCache(L"http://www.game.example.com/play").Domain(), L"example.com");
    EXPECT_STREQ(CSiteCache(L"HTTPS://user@S1.Game.COM.cn:8080/x?y").Domain(), L"game.com.cn");
    EXPECT_STREQ(CSiteCache(L"http://127.0.0.1:18771/").Domain(), L"127.0.0.1");
    EXPECT_FALSE(CSiteCache(L"about:blank").HasSite());
    EXPECT_FALSE(CSiteCache(L"").HasSite());
    const CSiteCache site(L"http://www.velka.cn/");
    EXPECT_TRUE(site.IsOfSite(L"http://cdn.velka.cn/a.js"));
    EXPECT_TRUE(site.IsOfSite(L"https://velka.cn/"));
    EXPECT_FALSE(site.IsOfSite(L"http://notvelka.cn/"));
    EXPECT_FALSE(site.IsOfSite(L"http://velka.cn.example.com/"));
    EXPECT_FALSE(site.IsOfSite(L"Cookie:player@velka.cn/")); // cookies stay
}

using ClearCacheTest = LauncherFixture;

TEST_F(ClearCacheTest, OnlyThePagesSitesGoAndThePageIsLoadedAnew)
{
    // The pane shows row 0, the maker's site, with a game in a frame from
    // another host, whose movie comes from a third.
    FakeElement frame{L"iframe", {{L"src", L"http://play.games.test/room/frame.html"}}, {}, true};
    frame.inner = {{L"embed", {{L"src", L"../swf/game.swf"}}, {}, false},
                   {L"param", {{L"name", L"Movie"}, {L"value", L"http://cdn.movies.test/m.swf"}}, {}, false}};
    Browser().Record().pDocument =
        MakeFakeDocument({frame,
                          {L"frame", {{L"src", L"http://side.frames.test/menu.html"}}, {}, false},
                          {L"object", {{L"data", L"//flash.objects.test/o.swf"}}, {}, false}});
    const std::wstring ours[] = {L"http://www.velka.cn/game.swf",        L"http://cdn.velka.cn/res/a.js",
                                 L"http://play.games.test/swf/game.swf", L"http://cdn.movies.test/m.swf",
                                 L"http://flash.objects.test/o.swf",     L"http://side.frames.test/menu.css"};
    const std::wstring others[] = {L"http://other.test/b.css", L"http://velka.com/c.png"};
    for (const std::wstring& url : ours)
        ASSERT_TRUE(Cache(url));
    for (const std::wstring& url : others)
        ASSERT_TRUE(Cache(url));
    OpenMenu();
    EXPECT_FALSE(MenuState(L"清除缓存并刷新") & MF_GRAYED);
    Command(L"清除缓存并刷新");
    EXPECT_TRUE(MenuState(L"清除缓存并刷新") & MF_GRAYED) << "while the cache is walked";
    ASSERT_TRUE(PumpUntil([&] { return Browser().Record().completeRefreshes == 1; }));
    for (const std::wstring& url : ours)
        EXPECT_FALSE(IsCached(url)) << std::string(url.begin(), url.end());
    for (const std::wstring& url : others)
        EXPECT_TRUE(IsCached(url)) << std::string(url.begin(), url.end());
    OpenMenu();
    EXPECT_FALSE(MenuState(L"清除缓存并刷新") & MF_GRAYED);
    for (const std::wstring& url : others)
        ::DeleteUrlCacheEntryW(url.c_str());

    // A page with no host: nothing to clear.
    Launcher().ChooseRow(78);
    Launcher().TypeUrl(L"about:blank");
    Launcher().ClickEnter();
    OpenMenu();
    EXPECT_TRUE(MenuState(L"清除缓存并刷新") & MF_GRAYED);
}

} // namespace
