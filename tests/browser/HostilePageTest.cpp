// Pages that ask for new windows in every way a page can: huge addresses,
// characters beyond the basic plane, embedded NULs, floods, and requests in
// the middle of a navigation. Each is handled by the pane's rule, and the
// control's references balance afterwards.

#include "support/FakeWebBrowser.h"
#include "support/GuiCounts.h"
#include "support/LauncherWindow.h"
#include "support/MessagePump.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

class HostilePageTest : public ::testing::Test
{
protected:
    VARIANT_BOOL AskForWindow(const std::wstring& url)
    {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EXPECT_EQ(m_browser.Last()->FireNewWindow3(url, &cancel), S_OK);
        return cancel;
    }

    void ExpectReleasedAfterTeardown()
    {
        m_launcher.Destroy();
        EXPECT_EQ(FakeWebBrowserClass::LiveObjects(), 0);
    }

    TempDir m_dir;
    FakeWebBrowserClass m_browser;
    LauncherWindow m_launcher;
};

TEST_F(HostilePageTest, MegabyteAddressIsHandledWhole)
{
    const std::wstring huge = L"http://big.game.test/?" + std::wstring(1 << 20, L'a');
    EXPECT_EQ(AskForWindow(huge), VARIANT_TRUE);
    EXPECT_EQ(m_browser.Record().navigations.back(), huge);

    const std::wstring exempt = huge + L"velka.cn";
    const size_t before = m_browser.Record().navigations.size();
    EXPECT_EQ(AskForWindow(exempt), VARIANT_FALSE);
    EXPECT_EQ(m_browser.Record().navigations.size(), before);
    ExpectReleasedAfterTeardown();
}

TEST_F(HostilePageTest, CharactersBeyondTheBasicPlaneTravelIntact)
{
    const std::wstring url = L"http://游戏.test/\U0001F3AE/\U00020000?x=\U0001F600";
    EXPECT_EQ(AskForWindow(url), VARIANT_TRUE);
    EXPECT_EQ(m_browser.Record().navigations.back(), url);
    ExpectReleasedAfterTeardown();
}

TEST_F(HostilePageTest, EmbeddedNulsDoNotHideAnythingFromTheRule)
{
    // The whole address is searched, and the whole address is opened.
    const std::wstring hidden(L"http://ads.test/\0velka.cn", 25);
    EXPECT_EQ(AskForWindow(hidden), VARIANT_FALSE);

    const std::wstring cut(L"http://popup.test/\0tail", 23);
    EXPECT_EQ(AskForWindow(cut), VARIANT_TRUE);
    EXPECT_EQ(m_browser.Record().navigations.back(), cut);
    ExpectReleasedAfterTeardown();
}

TEST_F(HostilePageTest, FloodOfRequestsIsHandledOneByOne)
{
    for (int i = 0; i < 20; ++i)
        AskForWindow(L"http://warm.up.test/");
    const GuiCounts before = GuiCounts::Now();
    const size_t navigations = m_browser.Record().navigations.size();
    int cancelled = 0;
    for (int i = 0; i < 1000; ++i)
    {
        const std::wstring url = L"http://flood.game.test/" + std::to_wstring(i);
        cancelled += AskForWindow(url) == VARIANT_TRUE;
        ASSERT_EQ(m_browser.Record().navigations.back(), url);
    }
    PumpPending();
    EXPECT_EQ(cancelled, 1000);
    EXPECT_EQ(m_browser.Record().navigations.size(), navigations + 1000);
    const GuiCounts after = GuiCounts::Now();
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.windows, before.windows);
    ExpectReleasedAfterTeardown();
}

TEST_F(HostilePageTest, RequestDuringANavigationIsRedirectedToo)
{
    // The page asks for a window while the control is still inside the
    // launcher's Navigate call.
    m_browser.Record().popupDuringNavigation = L"http://popup.during.test/";
    m_launcher.ChooseRow(7);
    const auto& navigations = m_browser.Record().navigations;
    ASSERT_GE(navigations.size(), 2u);
    EXPECT_EQ(navigations[navigations.size() - 2], m_launcher.UrlText());
    EXPECT_EQ(navigations.back(), L"http://popup.during.test/");
    EXPECT_EQ(m_browser.Record().popupDuringNavigationCancel, VARIANT_TRUE);
    EXPECT_EQ(m_launcher.CurrentRow(), 7);
    ExpectReleasedAfterTeardown();
}

} // namespace
