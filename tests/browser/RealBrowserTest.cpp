// The pane with Wine's own WebBrowser control: it is hosted below the strip
// and every navigation reaches the loopback proxy as the catalogue says.

#include "harness/MenuItems.h"
#include "harness/LauncherFixture.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/ProxySetting.h"
#include "harness/RecordingProxy.h"
#include "harness/TempDir.h"

#include "framework/COleControlContainer.h"
#include "res/resource.h"
#include "framework/COleControlSite.h"

#include <gtest/gtest.h>

#include <exdisp.h>
#include <urlmon.h>

#include <algorithm>
#include <string>

namespace
{

class RealBrowserTest : public LauncherFixture
{
protected:
    RealBrowserTest() : LauncherFixture(Setup().RealBrowser()) {}
};

TEST_F(RealBrowserTest, ControlIsThePanesOnlyChildAndFillsIt)
{
    const HWND hPane = Launcher().Pane();
    const HWND hControl = ::GetWindow(hPane, GW_CHILD);
    ASSERT_NE(hControl, nullptr);
    EXPECT_EQ(::GetWindow(hControl, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(ClassName(hControl), L"Shell Embedding");
    EXPECT_EQ(Launcher().Explorer(), hControl);

    Launcher().Tick(); // no game yet: the browser goes back to the pane's size
    const RECT control = RectInParent(hControl);
    const RECT pane = ClientRect(hPane);
    EXPECT_EQ(control.left, 0);
    EXPECT_EQ(control.top, 0);
    EXPECT_EQ(control.right, pane.right);
    EXPECT_EQ(control.bottom, pane.bottom);
}

TEST_F(RealBrowserTest, NavigationsAreSilentButPromptsAreNot)
{
    // No click at each navigation, for this process only.
    EXPECT_EQ(::CoInternetIsFeatureEnabled(FEATURE_DISABLE_NAVIGATION_SOUNDS, GET_FEATURE_FROM_PROCESS), S_OK);

    // Certificate, zone and download prompts stay: the control is not silenced.
    COleControlContainer* pCtrlCont = CWnd::FromHandlePermanent(Launcher().Pane())->GetControlContainer();
    COleControlSite* pSite = pCtrlCont->FindSite(Launcher().Explorer());
    ASSERT_NE(pSite, nullptr);
    ComPtr<IWebBrowser2> pBrowser;
    ASSERT_EQ(pSite->GetActiveObject()->QueryInterface(IID_IWebBrowser2, pBrowser.PutVoid()), S_OK);
    VARIANT_BOOL silent = VARIANT_TRUE;
    EXPECT_EQ(pBrowser->get_Silent(&silent), S_OK);
    EXPECT_EQ(silent, VARIANT_FALSE);
}

TEST_F(RealBrowserTest, NavigationsReachTheNetworkAsTheCatalogueSays)
{
    EXPECT_TRUE(WaitForRequest("http://www.velka.cn:80/"));
    for (int row : {1, 16, 70, 75})
    {
        Launcher().ChooseRow(row);
        const std::wstring url = Launcher().UrlText();
        EXPECT_TRUE(WaitForRequest(ProxiedForm(url))) << row;
    }
}

TEST_F(RealBrowserTest, ReloadAsksForThePageAgain)
{
    Launcher().ChooseRow(16);
    const std::string url = ProxiedForm(Launcher().UrlText());
    ASSERT_TRUE(WaitForRequest(url));
    const auto count = [&] {
        const auto urls = m_proxy->RequestedUrls();
        return std::count(urls.begin(), urls.end(), url);
    };
    const auto before = count();
    ::SendMessageW(Launcher().Hwnd(), WM_SYSCOMMAND, MenuCommand(Launcher().Hwnd(), L"刷新页面"), 0);
    EXPECT_TRUE(PumpUntil([&] { return count() > before; }));
}

TEST_F(RealBrowserTest, TypedAddressReachesTheNetworkExactly)
{
    Launcher().ChooseRow(78);
    const std::wstring typed =
        L"http://127.0.0.1:" + std::to_wstring(m_proxy->Port()) + L"/orlim/typed.html?server=7&x=%20";
    Launcher().TypeUrl(typed);
    Launcher().ClickEnter();
    // Loopback addresses may bypass the proxy: then the request arrives at
    // the same port in origin form.
    EXPECT_TRUE(PumpUntil([&] {
        for (const std::string& url : m_proxy->RequestedUrls())
            if (url == std::string(typed.begin(), typed.end()) || url == "/orlim/typed.html?server=7&x=%20")
                return true;
        return false;
    }));
}

} // namespace
