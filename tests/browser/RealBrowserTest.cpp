// The pane with Wine's own WebBrowser control: it is hosted below the strip
// and every navigation reaches the loopback proxy as the catalogue says.

#include "support/LauncherWindow.h"
#include "support/MessagePump.h"
#include "support/ProxySetting.h"
#include "support/RecordingProxy.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

class RealBrowserTest : public ::testing::Test
{
protected:
    bool WaitForRequest(const std::string& url)
    {
        return PumpUntil([&] {
            const auto urls = m_proxy.RequestedUrls();
            return std::find(urls.begin(), urls.end(), url) != urls.end();
        });
    }

    TempDir m_dir;
    RecordingProxy m_proxy;
    ProxySetting m_setting{m_proxy.Port()};
    LauncherWindow m_launcher;
};

TEST_F(RealBrowserTest, ControlIsThePanesOnlyChildAndFillsIt)
{
    const HWND hPane = m_launcher.Pane();
    const HWND hControl = ::GetWindow(hPane, GW_CHILD);
    ASSERT_NE(hControl, nullptr);
    EXPECT_EQ(::GetWindow(hControl, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(ClassName(hControl), L"Shell Embedding");
    EXPECT_EQ(m_launcher.Explorer(), hControl);

    m_launcher.Tick(); // no game yet: the browser goes back to the pane's size
    const RECT control = RectInParent(hControl);
    const RECT pane = ClientRect(hPane);
    EXPECT_EQ(control.left, 0);
    EXPECT_EQ(control.top, 0);
    EXPECT_EQ(control.right, pane.right);
    EXPECT_EQ(control.bottom, pane.bottom);
}

TEST_F(RealBrowserTest, NavigationsReachTheNetworkAsTheCatalogueSays)
{
    EXPECT_TRUE(WaitForRequest("http://www.velka.cn:80/"));
    for (int row : {1, 16, 70, 75})
    {
        m_launcher.ChooseRow(row);
        const std::wstring url = m_launcher.UrlText();
        EXPECT_TRUE(WaitForRequest(ProxiedForm(url))) << row;
    }
}

TEST_F(RealBrowserTest, TypedAddressReachesTheNetworkExactly)
{
    m_launcher.ChooseRow(78);
    const std::wstring typed =
        L"http://127.0.0.1:" + std::to_wstring(m_proxy.Port()) + L"/orlim/typed.html?server=7&x=%20";
    m_launcher.TypeUrl(typed);
    m_launcher.ClickEnter();
    // Loopback addresses may bypass the proxy: then the request arrives at
    // the same port in origin form.
    EXPECT_TRUE(PumpUntil([&] {
        for (const std::string& url : m_proxy.RequestedUrls())
            if (url == std::string(typed.begin(), typed.end()) || url == "/orlim/typed.html?server=7&x=%20")
                return true;
        return false;
    }));
}

} // namespace
