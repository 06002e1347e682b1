// The browser pane: pop-ups kept inside, keys, close requests, teardown, and
// a browser control that cannot be started. Pop-up requests come from the
// fake control (Wine's control never asks for a new window).

#include "harness/LauncherFixture.h"
#include "harness/Pixels.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace
{

// Dark pixels across the middle half of the pane, on the line through its
// centre and elsewhere: where the pane writes why it is empty.
std::pair<int, int> DarkPixelsOnAndOffTheMiddleLine(HWND hPane)
{
    ::RedrawWindow(hPane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPending();
    const RECT rc = ClientRect(hPane);
    const ClientPixels pixels(hPane, RECT{rc.right / 4, 0, rc.right * 3 / 4, rc.bottom});
    int dark = 0;
    int darkOutside = 0;
    for (int y = 0; y < rc.bottom; ++y)
    {
        for (int x = rc.right / 4; x < rc.right * 3 / 4; ++x)
        {
            const COLORREF c = pixels.At(x, y);
            const bool isDark = GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128;
            if (std::abs(y - rc.bottom / 2) < 12)
                dark += isDark;
            else
                darkOutside += isDark;
        }
    }
    return {dark, darkOutside};
}

class PaneTest : public LauncherFixture
{
protected:
    // Asks for a new window as a page would; returns what Cancel came back as.
    VARIANT_BOOL AskForWindow(const std::wstring& url, HRESULT* phr = nullptr, DWORD dwFlags = 0x6)
    {
        FakeWebBrowser* pControl = Browser().Last();
        EXPECT_NE(pControl, nullptr);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        const HRESULT hr = pControl ? pControl->FireNewWindow3(url, &cancel, dwFlags) : E_FAIL;
        if (phr)
            *phr = hr;
        else
            EXPECT_EQ(hr, S_OK);
        return cancel;
    }

    size_t Navigations() { return Browser().Record().navigations.size(); }
};

TEST_F(PaneTest, ExemptDomainInItsOwnLettersIsLeftToTheControl)
{
    const size_t before = Navigations();
    for (const wchar_t* url : {L"http://www.velka.cn/news/1.html", L"http://cdn.game.test/velka.cn/banner",
                               L"http://pay.game.test/?return=http://velka.cn/", L"velka.cn"})
        EXPECT_EQ(AskForWindow(url), VARIANT_FALSE) << std::wstring(url).size();
    EXPECT_EQ(Navigations(), before);
}

TEST_F(PaneTest, EveryOtherPopupOpensInThePaneInstead)
{
    // The page is handed a window (Cancel stays unset), which starts at the
    // address: that address opens in the pane.
    for (const wchar_t* url :
         {L"http://www.VELKA.cn/news.html", L"http://popup.game.test/pay.html?x=1", L"http://velka.com.cn/"})
    {
        EXPECT_EQ(AskForWindow(url), VARIANT_FALSE) << std::wstring(url).size();
        EXPECT_EQ(Browser().Record().navigations.back(), url);
    }
    EXPECT_EQ(Browser().Record().headers.back(), L"Referer: http://page.test/game.html\r\n");
    EXPECT_EQ(Browser().Record().popupsMade, 3);
    EXPECT_EQ(Browser().Record().registeredAsBrowser, 3);
}

TEST_F(PaneTest, FailedNavigationLeavesTheWindowToTheControl)
{
    // Without a browser to hand out, a web address is opened in the pane as
    // it was; a failing Navigate then leaves the window to the control.
    Browser().SetFailure(FakeBrowserFailure::Create);
    EXPECT_EQ(AskForWindow(L"http://popup.game.test/"), VARIANT_TRUE);
    EXPECT_EQ(Browser().Record().navigations.back(), L"http://popup.game.test/");
    EXPECT_EQ(AskForWindow(L"javascript:alert(1)"), VARIANT_TRUE);
    EXPECT_EQ(Browser().Record().navigations.back(), L"http://popup.game.test/");

    Browser().SetFailure(FakeBrowserFailure::Navigate);
    HRESULT hr = S_OK;
    EXPECT_EQ(AskForWindow(L"http://popup.game.test/2", &hr), VARIANT_FALSE);
    EXPECT_EQ(hr, S_OK) << "the window was handed out";
    EXPECT_EQ(Browser().Record().navigations.back(), L"http://popup.game.test/2");

    // The pane keeps working once the control does again.
    Browser().SetFailure(FakeBrowserFailure::None);
    AskForWindow(L"http://popup.game.test/3");
    EXPECT_EQ(Browser().Record().navigations.back(), L"http://popup.game.test/3");
}

TEST_F(PaneTest, PopupsOfAPageBeingLeftAreDropped)
{
    const size_t before = Navigations();
    for (DWORD flags : {0x1u, 0x7u, 0x21u}) // NWMF_UNLOADING alone and with others
        EXPECT_EQ(AskForWindow(L"http://ads.game.test/bye.html", nullptr, flags), VARIANT_TRUE) << flags;
    EXPECT_EQ(Navigations(), before);
    EXPECT_EQ(AskForWindow(L"http://www.velka.cn/bye.html", nullptr, 0x1), VARIANT_FALSE);
    EXPECT_EQ(Navigations(), before);
}

TEST_F(PaneTest, PageClosingItselfIsRefusedAndTheBrowserStays)
{
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(Browser().Last()->FireWindowClosing(&cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    PumpPending();
    const HWND hControl = Launcher().Explorer();
    ASSERT_NE(hControl, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hControl));
    Launcher().ChooseRow(5);
    EXPECT_EQ(Browser().Record().navigations.back(), Launcher().UrlText());

    // Should the control's window still go, the pane does not claim that
    // the browser never started.
    ::DestroyWindow(hControl);
    EXPECT_EQ(DarkPixelsOnAndOffTheMiddleLine(Launcher().Pane()).first, 0);
}

TEST_F(PaneTest, PopupLeavesTheLauncherAsItWas)
{
    Launcher().ChooseRow(12);
    const std::wstring box = Launcher().UrlText();
    const std::string settings = ReadFileBytes(m_dir.File(L"UserVar.ini"));
    ASSERT_FALSE(settings.empty());

    AskForWindow(L"http://popup.game.test/login.html");
    PumpPending();
    EXPECT_EQ(Browser().Record().navigations.back(), L"http://popup.game.test/login.html");
    EXPECT_EQ(Launcher().UrlText(), box);
    EXPECT_EQ(Launcher().CurrentRow(), 12);
    EXPECT_EQ(ReadFileBytes(m_dir.File(L"UserVar.ini")), settings);
}

TEST_F(PaneTest, ControlStartsFromThePersistedStateOfTheTemplate)
{
    const std::string& state = Browser().Record().state;
    ASSERT_EQ(state.size(), 156u); // the initial data less the creation-key count
    DWORD values[3];
    std::memcpy(values, state.data(), sizeof(values));
    EXPECT_EQ(values[0], 76u);
    EXPECT_EQ(values[1], 6826u);
    EXPECT_EQ(values[2], 3387u);
    EXPECT_FALSE(Browser().Record().initNew);
}

TEST_F(PaneTest, ControlWindowCarriesItsItemId)
{
    const HWND hControl = Browser().Last()->Window();
    EXPECT_EQ(::GetParent(hControl), Launcher().Pane());
    EXPECT_EQ(::GetDlgCtrlID(hControl), IDC_EXPLORER);
    EXPECT_EQ(Launcher().Explorer(), hControl);
}

TEST_F(PaneTest, EnterAndEscapeNeverReachThePageOtherKeysDo)
{
    const HWND hControl = Launcher().Explorer();
    ::SetFocus(hControl);
    for (WPARAM vk : {WPARAM(VK_RETURN), WPARAM('C'), WPARAM(VK_ESCAPE), WPARAM(VK_TAB), WPARAM(VK_BACK)})
        PressKey(hControl, vk);

    const std::vector<UINT> passed = {'C', VK_TAB, VK_BACK};
    // The page sees its keys first, through the control's accelerators.
    EXPECT_EQ(Browser().Record().acceleratorKeys, passed);
    EXPECT_EQ(Browser().Record().windowKeys, passed);
    EXPECT_TRUE(::IsWindowVisible(Launcher().Pane()));
}

TEST_F(PaneTest, CloseRequestsAreIgnored)
{
    const HWND hPane = Launcher().Pane();
    ::SendMessageW(hPane, WM_CLOSE, 0, 0);
    ::PostMessageW(hPane, WM_CLOSE, 0, 0);
    PressKey(hPane, VK_ESCAPE);
    PumpPending();
    EXPECT_TRUE(::IsWindow(hPane));
    EXPECT_TRUE(::IsWindowVisible(hPane));
    AskForWindow(L"http://popup.game.test/"); // and it still works
    EXPECT_EQ(Browser().Record().navigations.back(), L"http://popup.game.test/");
}

TEST_F(PaneTest, TeardownReleasesTheControlAndEverythingItHeld)
{
    AskForWindow(L"http://popup.game.test/");
    AskForWindow(L"about:blank"); // a pop-up still waiting for its address
    ASSERT_GT(FakeWebBrowserClass::LiveObjects(), 0);
    const HWND hControl = Launcher().Explorer();
    Launcher().Destroy();
    EXPECT_FALSE(::IsWindow(hControl));
    EXPECT_EQ(FakeWebBrowserClass::LiveObjects(), 0);
}

// A browser control that cannot be started: everything else goes on.
std::string FailureName(FakeBrowserFailure failure)
{
    return failure == FakeBrowserFailure::Create ? "CannotCreate" : "CannotActivate";
}

class NoBrowserTest : public LauncherFixture, public ::testing::WithParamInterface<FakeBrowserFailure>
{
protected:
    NoBrowserTest() : LauncherFixture(Setup().Failing(GetParam())) {}
};

TEST_P(NoBrowserTest, LauncherRunsAndSaysTheBrowserCouldNotStart)
{
    EXPECT_EQ(Launcher().Explorer(), nullptr);
    EXPECT_EQ(FakeWebBrowserClass::LiveObjects(), 0) << "a half-made control was kept";
    const HWND hPane = Launcher().Pane();
    ASSERT_NE(hPane, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hPane));
    const RECT pane = RectInParent(hPane);
    EXPECT_EQ(pane.top, 25);

    // The choices work; only the browser is missing.
    Launcher().ChooseRow(78);
    Launcher().TypeUrl(L"http://typed.game.test/");
    Launcher().ClickEnter();
    Launcher().Tick();
    EXPECT_TRUE(Browser().Record().navigations.empty());
    EXPECT_NE(ReadFileBytes(m_dir.File(L"UserVar.ini")).find("Url=http://typed.game.test/"), std::string::npos);

    // No message box: the launcher is the thread's only visible top-level window.
    EXPECT_EQ(VisibleThreadWindows(), 1);

    // One line of text in the middle of the pane says why it is empty.
    const auto [dark, darkOutside] = DarkPixelsOnAndOffTheMiddleLine(hPane);
    EXPECT_GT(dark, 20);
    EXPECT_EQ(darkOutside, 0);
}

INSTANTIATE_TEST_SUITE_P(Failures, NoBrowserTest,
                         ::testing::Values(FakeBrowserFailure::Create, FakeBrowserFailure::Activate),
                         [](const auto& testParam) { return FailureName(testParam.param); });

} // namespace
