// The platform catalogue as the player meets it: the drop-down's rows, the
// address each row shows in the box and the address the browser is asked to
// open.

#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/TempDir.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace
{

const std::vector<std::wstring> kLabels = {
    L"Velka官网", L"Ostrel", L"360",        L"37wan",     L"多玩",     L"6711",       L"4399",     L"7k7k",
    L"酷狗",      L"迅雷",   L"百度Belvar", L"兄弟玩",    L"91wan",    L"快玩",       L"搜狗",     L"酷我",
    L"爱百娱",    L"乐嗨嗨", L"22KK",       L"斗蟹网",    L"51wan",    L"05wan",      L"EQOrlim",  L"56you",
    L"49you",     L"牛久久", L"畅游",       L"新浪Orlim", L"微Orlim",  L"51Orlim",    L"PPS",      L"人人网",
    L"起点",      L"到武林", L"电驴",       L"盛大",      L"95K",      L"2133",       L"游戏风云", L"2918",
    L"要玩Orlim", L"乐趣",   L"8090",       L"爆米花",    L"iugame",   L"56UU",       L"178Orlim", L"game168",
    L"游戏GAGA",  L"2345",   L"915Orlim",   L"微微玩",    L"蝌蚪",     L"008玩",      L"大猪网",   L"欢畅",
    L"紫霞",      L"92you",  L"951717",     L"开心网",    L"畅游页游", L"76wan",      L"2125",     L"PPTV",
    L"91Orlim",   L"地盘网", L"35wan",      L"凤凰网",    L"敢玩",     L"九维",       L"91RPG",    L"37wanwan",
    L"WA3",       L"99游戏", L"风行",       L"44玩",      L"376玩",    L"欢乐一起玩", L"手动输入",
};

// The text after the host: "" for an address that ends with its host.
std::wstring PathAndQuery(const std::wstring& url)
{
    const size_t slash = url.find(L'/', 7);
    return slash == std::wstring::npos ? std::wstring() : url.substr(slash);
}

std::wstring Host(const std::wstring& url)
{
    const size_t slash = url.find(L'/', 7);
    return url.substr(7, slash == std::wstring::npos ? std::wstring::npos : slash - 7);
}

class CatalogueTest : public LauncherFixture
{
protected:
    // Chooses each platform row and collects what the box shows.
    std::vector<std::wstring> ShownAddresses()
    {
        std::vector<std::wstring> shown;
        for (int row = 0; row < kManualRow; ++row)
        {
            Launcher().ChooseRow(row);
            shown.push_back(Launcher().UrlText());
        }
        return shown;
    }
};

TEST_F(CatalogueTest, DropDownListsTheLabelsInCatalogueOrderOnAnyCodePage)
{
    // The labels are stored as GBK text; they must not depend on the
    // system's ANSI code page (this runs with a Western one unless the
    // environment says otherwise).
    ASSERT_EQ(Launcher().RowCount(), static_cast<int>(kLabels.size()));
    for (int row = 0; row < Launcher().RowCount(); ++row)
        EXPECT_EQ(Launcher().RowText(row), kLabels[row]) << "row " << row;
    EXPECT_EQ(Launcher().RowText(79), L"<no row>");
}

TEST_F(CatalogueTest, EachRowShowsAndOpensItsOwnAddressExactly)
{
    const std::vector<std::wstring> shown = ShownAddresses();
    const auto& opened = Browser().Record().navigations;
    ASSERT_EQ(opened.size(), 1 + shown.size()); // the start-up navigation, then one per choice
    for (size_t row = 0; row < shown.size(); ++row)
        EXPECT_EQ(opened[row + 1], shown[row]) << "row " << row;
    EXPECT_EQ(Browser().Record().navigateCallsWithOtherArgs, 0);

    std::vector<std::wstring> distinct = shown;
    std::sort(distinct.begin(), distinct.end());
    EXPECT_EQ(std::unique(distinct.begin(), distinct.end()), distinct.end()) << "two rows share an address";
}

TEST_F(CatalogueTest, AddressesArePlatformPagesOfTheCataloguedShapes)
{
    const std::vector<std::wstring> shown = ShownAddresses();
    std::map<std::string, int> shapes;
    for (const std::wstring& url : shown)
    {
        ASSERT_EQ(url.rfind(L"http://", 0), 0u) << std::string(url.begin(), url.end());
        ASSERT_FALSE(Host(url).empty());
        EXPECT_EQ(Host(url).find_first_of(L" /?#"), std::wstring::npos);
        const std::wstring path = PathAndQuery(url);
        if (path.empty())
            ++shapes["no path"];
        else if (path.find(L'?') != std::wstring::npos)
            ++shapes["query"];
        else if (path == L"/")
            ++shapes["root"];
        else if (path.back() == L'/')
            ++shapes["directory"];
        else
            ++shapes["file"];
    }
    EXPECT_EQ(shapes["root"], 40);
    EXPECT_EQ(shapes["directory"], 22);
    EXPECT_EQ(shapes["file"], 13);
    EXPECT_EQ(shapes["query"], 2);
    EXPECT_EQ(shapes["no path"], 1);

    const std::map<int, std::wstring> telling = {
        {0, L"/"},
        {1, L"/serverList.html"},
        {3, L"/server_list.html"},
        {5, L"/servers_list_orlim.html"},
        {9, L"/server.shtml"},
        {16, L"/gameserver_list.aspx?gameid=2"},
        {28, L"/orlimol/"},
        {32, L"/game/orlim/index.html"},
        {38, L"/select.php"},
        {60, L"/gameList/game-orlim.shtml"},
        {69, L"/Game/content/app_224.html"},
        {70, L""},
        {75, L"/game/server/gid/61.html"},
    };
    for (const auto& [row, path] : telling)
        EXPECT_EQ(PathAndQuery(shown[row]), path) << "row " << row;
}

TEST_F(CatalogueTest, RowWithoutPathIsOpenedWithoutTrailingSlash)
{
    Launcher().ChooseRow(70);
    const std::wstring opened = Browser().Record().navigations.back();
    EXPECT_EQ(opened, Launcher().UrlText());
    EXPECT_EQ(opened.find(L'/', 7), std::wstring::npos);
}

TEST_F(CatalogueTest, OnlyTheManualRowEnablesTheAddressBox)
{
    EXPECT_FALSE(Launcher().UrlEnabled()); // row 0 at start-up
    Launcher().ChooseRow(kManualRow);
    EXPECT_TRUE(Launcher().UrlEnabled());
    for (int row : {0, 1, 37, 77})
    {
        Launcher().ChooseRow(row);
        EXPECT_FALSE(Launcher().UrlEnabled()) << "row " << row;
        Launcher().ChooseRow(kManualRow);
        EXPECT_TRUE(Launcher().UrlEnabled());
    }
    for (int row = 0; row < kManualRow; ++row)
        EXPECT_FALSE(Launcher().Dialog().IsManualEntryRow(row)) << "row " << row;
    EXPECT_TRUE(Launcher().Dialog().IsManualEntryRow(kManualRow));
    EXPECT_FALSE(Launcher().Dialog().IsManualEntryRow(79));
}

TEST_F(CatalogueTest, ManualRowShowsTheRememberedAddressNotWhatWasTyped)
{
    // Without a settings file the remembered address is row 0's.
    Launcher().ChooseRow(kManualRow);
    const std::wstring remembered = Launcher().UrlText();
    EXPECT_EQ(remembered, Browser().Record().navigations.front());

    Launcher().TypeUrl(L"http://127.0.0.1/typed.html");
    Launcher().ChooseRow(3);
    Launcher().ChooseRow(kManualRow);
    EXPECT_EQ(Launcher().UrlText(), remembered);
    EXPECT_EQ(Browser().Record().navigations.back(), remembered);
}

TEST_F(CatalogueTest, NoRowBeyondTheCatalogueHasAnAddress)
{
    EXPECT_TRUE(Launcher().Dialog().GetPlatformUrl(79).IsEmpty());
    EXPECT_TRUE(Launcher().Dialog().GetPlatformUrl(99).IsEmpty());
    EXPECT_TRUE(Launcher().Dialog().GetPlatformUrl(-1).IsEmpty());
    EXPECT_TRUE(Launcher().Dialog().GetPlatformUrl(100).IsEmpty());
}

} // namespace
