#include "LauncherFixture.h"

#include "harness/MenuItems.h"

#include "MessagePump.h"

#include <algorithm>

LauncherFixture::LauncherFixture() : LauncherFixture(Setup()) {}

LauncherFixture::LauncherFixture(const Setup& setup)
{
    if (setup.screen.cx)
        m_screen.emplace(setup.screen.cx, setup.screen.cy);
    if (setup.bRealBrowser)
    {
        m_proxy.emplace();
        m_setting.emplace(m_proxy->Port());
    }
    else
    {
        m_fake.emplace(setup.failure);
    }
    if (setup.bStart)
        Start();
}

LauncherWindow& LauncherFixture::Start()
{
    m_launcher.reset();
    m_launcher = std::make_unique<LauncherWindow>();
    return *m_launcher;
}

bool LauncherFixture::WaitForRequest(const std::string& url, DWORD timeoutMs) const
{
    return PumpUntil(
        [&] {
            const auto urls = m_proxy->RequestedUrls();
            return std::find(urls.begin(), urls.end(), url) != urls.end();
        },
        timeoutMs);
}

void LauncherFixture::Command(const std::wstring& text)
{
    ::SendMessageW(Hwnd(), WM_SYSCOMMAND, MenuCommand(Hwnd(), text), 0);
}

UINT LauncherFixture::MenuState(const std::wstring& text) const
{
    return MenuItemState(Hwnd(), text);
}

std::wstring LauncherFixture::MenuText(const std::wstring& text) const
{
    return MenuItemText(Hwnd(), text);
}

void LauncherFixture::OpenMenu()
{
    ::SendMessageW(Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSystemMenu(Hwnd(), FALSE)),
                   MAKELPARAM(0, TRUE));
}
