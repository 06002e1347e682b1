// Pop-ups the way real portals open them: the page is handed a window of
// its own, never shown, and what that window is sent to opens in the pane.
// The fake control drives the window as a page does (Wine's control never
// asks for a new window).

#include "harness/GuiCounts.h"
#include "harness/LauncherFixture.h"
#include "harness/MessagePump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

class PopupTest : public LauncherFixture
{
protected:
    // The page asks for a window for url; the window the launcher handed it.
    ComPtr<FakeWebBrowser> Open(const std::wstring& url, const std::string& postData = "",
                                const std::wstring& headers = L"")
    {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        ComPtr<FakeWebBrowser> pPopup;
        EXPECT_EQ(Browser().Last()->FireNewWindow3(url, &cancel, 0x6, &pPopup, postData, headers), S_OK);
        EXPECT_EQ(cancel, VARIANT_FALSE);
        EXPECT_TRUE(pPopup);
        return pPopup;
    }
    const std::vector<std::wstring>& Navigations() { return Browser().Record().navigations; }
    HWND Pane() { return Launcher().Pane(); }
};

TEST_F(PopupTest, ABlankWindowGivenItsAddressLaterOpensItThen)
{
    const size_t before = Navigations().size();
    const ComPtr<FakeWebBrowser> pPopup = Open(L"about:blank");
    ASSERT_TRUE(pPopup);
    EXPECT_EQ(pPopup->FireBeforeNavigate2(L"about:blank"), VARIANT_FALSE) << "it may start blank";
    PumpPending();
    EXPECT_EQ(Navigations().size(), before) << "the portal stays until then";
    // A frame of what it shows goes its own way.
    const ComPtr<FakeWebBrowser> pFrame = Open(L"about:blank");
    EXPECT_EQ(pPopup->FireBeforeNavigate2(L"http://ads.test/frame", "", L"", pFrame.Get()), VARIANT_FALSE);
    EXPECT_EQ(Navigations().size(), before);
    EXPECT_EQ(pPopup->FireBeforeNavigate2(L"http://game.test/play?token=1"), VARIANT_TRUE);
    EXPECT_EQ(Navigations().back(), L"http://game.test/play?token=1");
    EXPECT_EQ(Browser().Record().headers.back(), L"Referer: http://page.test/game.html\r\n")
        << "as the page's own navigation would have said";
    PumpPending();
    EXPECT_TRUE(pPopup->IsClosed()) << "its work done, the window goes";

    // A pop-up's page opens a window of its own: kept the same way.
    const ComPtr<FakeWebBrowser> pFirst = Open(L"about:blank");
    ASSERT_TRUE(pFirst);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    ComPtr<FakeWebBrowser> pSecond;
    EXPECT_EQ(pFirst->FireNewWindow3(L"http://game.test/server2", &cancel, 0x6, &pSecond), S_OK);
    EXPECT_TRUE(pSecond);
    EXPECT_EQ(Navigations().back(), L"http://game.test/server2");
    PumpPending();
    EXPECT_FALSE(pFirst->IsClosed()) << "it waits for an address of its own";
}

TEST_F(PopupTest, AFormPostedIntoANewWindowArrivesWithItsDataAndHeaders)
{
    const std::string form = "user=player&pass=secret";
    const std::wstring headers = L"Content-Type: application/x-www-form-urlencoded\r\nreferer: http://login.test/\r\n";
    Open(L"http://login.game.test/enter", form, headers);
    EXPECT_EQ(Navigations().back(), L"http://login.game.test/enter");
    EXPECT_EQ(Browser().Record().postData.back(), form);
    EXPECT_EQ(Browser().Record().headers.back(), headers);
}

TEST_F(PopupTest, TheRefererIsWhatThePagesOwnNavigationWouldHaveSent)
{
    struct Case
    {
        const wchar_t* opener;
        const wchar_t* url;
        const wchar_t* headers;
        const wchar_t* sent;
    } cases[] = {
        {L"http://page.test/game.html#top", L"http://game.test/", L"", L"Referer: http://page.test/game.html\r\n"},
        {L"about:blank", L"http://game.test/", L"", L""},
        {L"https://page.test/?token=1", L"http://game.test/", L"", L""},
        {L"https://page.test/", L"https://game.test/", L"X: 1", L"X: 1\r\nReferer: https://page.test/\r\n"},
    };
    for (const Case& c : cases)
    {
        Browser().Last()->SetNewWindowContext(c.opener);
        const ComPtr<FakeWebBrowser> pPopup = Open(L"about:blank");
        ASSERT_TRUE(pPopup);
        pPopup->FireBeforeNavigate2(c.url, "", c.headers);
        EXPECT_EQ(Browser().Record().headers.back(), c.sent) << c.opener;
    }
}

TEST_F(PopupTest, EachWindowWaitsForItsAddressOnItsOwnUntilItClosesOrItsTimeIsUp)
{
    const size_t before = Navigations().size();
    const ComPtr<FakeWebBrowser> pClosing = Open(L""); // the pane's first: id 2000
    ASSERT_TRUE(pClosing);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    pClosing->FireWindowClosing(&cancel);
    EXPECT_EQ(cancel, VARIANT_FALSE) << "a pop-up may close itself";
    PumpPending();
    EXPECT_TRUE(pClosing->IsClosed());

    // One click, two windows: the game's and an advertisement's.
    const ComPtr<FakeWebBrowser> pGame = Open(L"about:blank");   // 2001
    const ComPtr<FakeWebBrowser> pAdvert = Open(L"about:blank"); // 2002
    ASSERT_TRUE(pGame && pAdvert);
    PumpPending();
    EXPECT_FALSE(pGame->IsClosed());
    EXPECT_TRUE(::KillTimer(Pane(), 2002)) << "each window has a timer of its own";
    ::SendMessageW(Pane(), WM_TIMER, 2002, 0); // the advertisement's time is up
    PumpPending();
    EXPECT_TRUE(pAdvert->IsClosed());
    EXPECT_FALSE(pGame->IsClosed());
    EXPECT_EQ(Navigations().size(), before) << "the pane was untouched";
    EXPECT_EQ(pGame->FireBeforeNavigate2(L"http://game.test/start"), VARIANT_TRUE);
    EXPECT_EQ(Navigations().back(), L"http://game.test/start");

    // The pane's own page may not close it.
    cancel = VARIANT_FALSE;
    Browser().Last()->FireWindowClosing(&cancel);
    EXPECT_EQ(cancel, VARIANT_TRUE);

    // Eight wait at most: a ninth takes the oldest's place.
    PumpPending();
    std::vector<ComPtr<FakeWebBrowser>> waiting;
    waiting.reserve(9);
    for (int i = 0; i < 9; ++i)
        waiting.push_back(Open(L"about:blank"));
    PumpPending();
    EXPECT_TRUE(waiting[0]->IsClosed());
    EXPECT_FALSE(waiting[1]->IsClosed());
    EXPECT_FALSE(waiting[8]->IsClosed());
}

TEST_F(PopupTest, OnlyWebAddressesReachThePaneFromAPagesWindow)
{
    const size_t before = Navigations().size();
    const wchar_t* const addresses[] = {L"JavaScript:alert(document.cookie)",
                                        L" javascript:x()",
                                        L"vbscript:x",
                                        L"file:///C:/windows/win.ini",
                                        L"res://ieframe.dll/x",
                                        L"mk:@MSITStore:x",
                                        L"ms-its:x.chm::/a.htm",
                                        L"data:text/html,<b>x</b>",
                                        L"about:home"};
    for (const wchar_t* url : addresses)
    {
        Open(url); // as the address it asks for
        const ComPtr<FakeWebBrowser> pPopup = Open(L"about:blank");
        ASSERT_TRUE(pPopup);
        EXPECT_EQ(pPopup->FireBeforeNavigate2(url), VARIANT_TRUE) << url; // as where it sends its window
    }
    PumpPending();
    EXPECT_EQ(Navigations().size(), before);
    Open(L"  HTTPS://Pay.Game.Test/ ");
    EXPECT_EQ(Navigations().back(), L"  HTTPS://Pay.Game.Test/ ");
}

} // namespace
