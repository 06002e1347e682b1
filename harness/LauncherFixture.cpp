#include "LauncherFixture.h"

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

void LauncherFixture::Command(UINT nID)
{
    ::SendMessageW(Hwnd(), WM_SYSCOMMAND, nID, 0);
}

UINT LauncherFixture::MenuState(UINT nID) const
{
    return ::GetMenuState(::GetSystemMenu(Hwnd(), FALSE), nID, MF_BYCOMMAND);
}

std::wstring LauncherFixture::MenuText(UINT nID) const
{
    wchar_t text[64] = {};
    ::GetMenuStringW(::GetSystemMenu(Hwnd(), FALSE), nID, text, 64, MF_BYCOMMAND);
    return text;
}

void LauncherFixture::OpenMenu()
{
    ::SendMessageW(Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSystemMenu(Hwnd(), FALSE)),
                   MAKELPARAM(0, TRUE));
}
