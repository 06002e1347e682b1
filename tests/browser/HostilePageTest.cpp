// Pages that ask for new windows in every way a page can: huge addresses,
// characters beyond the basic plane, embedded NULs, floods, and requests in
// the middle of a navigation. Each is handled by the pane's rule, and the
// control's references balance afterwards.

#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/GuiCounts.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

class HostilePageTest : public LauncherFixture
{
protected:
    VARIANT_BOOL AskForWindow(const std::wstring& url)
    {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EXPECT_EQ(Browser().Last()->FireNewWindow3(url, &cancel), S_OK);
        return cancel;
    }

    void ExpectReleasedAfterTeardown()
    {
        Launcher().Destroy();
        EXPECT_EQ(FakeWebBrowserClass::LiveObjects(), 0);
    }
};

TEST_F(HostilePageTest, MegabyteAddressIsHandledWhole)
{
    const std::wstring huge = L"http://big.game.test/?" + std::wstring(1 << 20, L'a');
    AskForWindow(huge);
    EXPECT_EQ(Browser().Record().navigations.back(), huge);

    const std::wstring exempt = huge + L"velka.cn";
    const size_t before = Browser().Record().navigations.size();
    EXPECT_EQ(AskForWindow(exempt), VARIANT_FALSE);
    EXPECT_EQ(Browser().Record().navigations.size(), before);
    ExpectReleasedAfterTeardown();
}

TEST_F(HostilePageTest, CharactersBeyondTheBasicPlaneTravelIntact)
{
    const std::wstring url = L"http://游戏.test/\U0001F3AE/\U00020000?x=\U0001F600";
    AskForWindow(url);
    EXPECT_EQ(Browser().Record().navigations.back(), url);
    ExpectReleasedAfterTeardown();
}

TEST_F(HostilePageTest, EmbeddedNulsDoNotHideAnythingFromTheRule)
{
    // The whole address is searched, and the whole address is opened.
    const std::wstring hidden(L"http://ads.test/\0velka.cn", 25);
    const size_t before = Browser().Record().navigations.size();
    EXPECT_EQ(AskForWindow(hidden), VARIANT_FALSE);
    EXPECT_EQ(Browser().Record().navigations.size(), before) << "left to the control";

    const std::wstring cut(L"http://popup.test/\0tail", 23);
    AskForWindow(cut);
    EXPECT_EQ(Browser().Record().navigations.back(), cut);
    ExpectReleasedAfterTeardown();
}

TEST_F(HostilePageTest, FloodOfRequestsIsHandledOneByOne)
{
    // As many windows wait for their addresses as ever will.
    for (int i = 0; i < 40; ++i)
        AskForWindow(i % 2 ? L"about:blank" : L"http://warm.up.test/");
    PumpPending();
    const GuiCounts before = GuiCounts::Now();
    const size_t navigations = Browser().Record().navigations.size();
    for (int i = 0; i < 1000; ++i)
    {
        // Every other one never goes anywhere: a window written into by
        // the page, let go when enough newer ones wait.
        const std::wstring url = i % 2 ? L"about:blank" : L"http://flood.game.test/" + std::to_wstring(i);
        AskForWindow(url);
        if (i % 2 == 0)
        {
            ASSERT_EQ(Browser().Record().navigations.back(), url);
        }
    }
    PumpPending();
    EXPECT_EQ(Browser().Record().navigations.size(), navigations + 500);
    const GuiCounts after = GuiCounts::Now();
    EXPECT_GT(before.gdiObjects, 0) << "GDI objects not counted";
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(after.handles, before.handles);
    ExpectReleasedAfterTeardown();
}

TEST_F(HostilePageTest, RequestDuringANavigationIsRedirectedToo)
{
    // The page asks for a window while the control is still inside the
    // launcher's Navigate call.
    Browser().Record().popupDuringNavigation = L"http://popup.during.test/";
    Launcher().ChooseRow(7);
    const auto& navigations = Browser().Record().navigations;
    ASSERT_GE(navigations.size(), 2u);
    EXPECT_EQ(navigations[navigations.size() - 2], Launcher().UrlText());
    EXPECT_EQ(navigations.back(), L"http://popup.during.test/");
    EXPECT_EQ(Browser().Record().popupDuringNavigationCancel, VARIANT_FALSE) << "the page was handed a window";
    EXPECT_EQ(Launcher().CurrentRow(), 7);
    ExpectReleasedAfterTeardown();
}

} // namespace
