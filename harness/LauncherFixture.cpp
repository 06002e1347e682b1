#include "LauncherFixture.h"

LauncherFixture::LauncherFixture(bool bStart)
{
    if (bStart)
        Start();
}

LauncherWindow& LauncherFixture::Start()
{
    m_launcher.reset();
    m_launcher = std::make_unique<LauncherWindow>();
    return *m_launcher;
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
