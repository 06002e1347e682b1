#include "VolumeFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/services/GameSound.h"
#include "launcher/settings/Settings.h"
#include "framework/UniqueHandle.h"

#include <iterator>

namespace
{

const wchar_t kKeyLevel[] = L"Volume";
const wchar_t kKeyBackground[] = L"BackgroundMute";

struct Level
{
    int nPercent;
    const wchar_t* lpszText;
};
const Level kLevels[] = {{100, L"100%"}, {75, L"75%"}, {50, L"50%"}, {25, L"25%"}};

// Whether a thread is one of this process's (a page's dialog, the Flash
// Player's window may have threads of their own).
bool IsOwnThread(DWORD dwThreadId)
{
    const UniqueKernelHandle thread(::OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, dwThreadId));
    return thread && ::GetProcessIdOfThread(thread.Get()) == ::GetCurrentProcessId();
}

bool IsLevel(int nPercent)
{
    for (const Level& level : kLevels)
        if (level.nPercent == nPercent)
            return true;
    return false;
}

} // namespace

CVolumeFeature::CVolumeFeature(CFeatureHost& host, CSettings& settings, CGameSound& sound)
    : CFeature(host), m_settings(settings), m_sound(sound), m_nBackgroundCommand(host.NewCommand())
{
    for (UINT& nCommand : m_nLevelCommands)
        nCommand = host.NewCommand();
}

std::vector<CSystemMenu::Row> CVolumeFeature::MenuRows()
{
    CSystemMenu::Row menu;
    menu.lpszText = L"音量";
    for (size_t i = 0; i < std::size(kLevels); ++i)
    {
        const Level& level = kLevels[i];
        CSystemMenu::Row row;
        row.nID = m_nLevelCommands[i];
        row.lpszText = level.lpszText;
        row.state = [this, &level] {
            return UINT(MFT_RADIOCHECK) | (level.nPercent == m_nLevel ? UINT(MFS_CHECKED) : 0U) |
                   (m_sound.IsKnownUnavailable() ? UINT(MFS_GRAYED) : 0U);
        };
        row.action = [this, &level](UINT) {
            m_bChosen = true;
            if (m_sound.SetLevel(level.nPercent))
            {
                m_nLevel = level.nPercent;
                CString strLevel;
                strLevel.Format(L"%d", level.nPercent);
                m_settings.SaveOption(kKeyLevel, strLevel);
            }
        };
        menu.subRows.push_back(std::move(row));
    }
    CSystemMenu::Row background;
    background.nID = m_nBackgroundCommand;
    background.lpszText = L"后台静音";
    background.state = [this] { return m_bBackgroundMute ? UINT(MFS_CHECKED) : 0U; };
    background.action = [this](UINT) {
        m_bBackgroundMute = !m_bBackgroundMute;
        m_settings.SaveSwitch(kKeyBackground, m_bBackgroundMute);
        FollowBackground();
    };
    return {menu, background};
}

void CVolumeFeature::OnStart()
{
    m_nLevel = m_settings.Options().Number(kKeyLevel, 100, IsLevel);
    m_bBackgroundMute = m_settings.Options().Switch(kKeyBackground);
}

void CVolumeFeature::OnShown()
{
    // Core Audio is asked nothing before the window shows, nor at all
    // while the options are the first start's.
    m_bShown = true;
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(::GetForegroundWindow(), &dwProcessId);
    m_bActive = dwProcessId == ::GetCurrentProcessId();
    if (!m_bChosen && m_settings.Options().Number(kKeyLevel, 0, IsLevel) != 0)
        m_sound.SetLevel(m_nLevel);
    // A launcher ended in the background left its silence behind (the
    // system keeps a program's mute from one run to the next): the player's
    // own choice stands again.
    if (m_bBackgroundMute)
        m_sound.SetPlayerMute(m_sound.IsPlayerMuted());
    FollowBackground();
}

void CVolumeFeature::OnOptionsRead()
{
    OnStart();
    if (m_bShown)
        OnShown();
}

bool CVolumeFeature::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT*)
{
    // Another program in front, or the launcher minimised or back: heard,
    // and passed on.
    if (message == WM_ACTIVATEAPP)
    {
        m_bActive = wParam != FALSE || IsOwnThread(static_cast<DWORD>(lParam));
        FollowBackground();
    }
    else if (message == WM_SIZE)
        FollowBackground();
    return false;
}

void CVolumeFeature::OnEnd()
{
    // The window hidden and destroyed goes to the background: no silence is
    // left behind for the next start.
    m_sound.SetBackgroundMute(false);
    m_bShown = false;
}

void CVolumeFeature::FollowBackground()
{
    if (!m_bShown)
        return;
    const bool bBackground = !m_bActive || ::IsIconic(Host().Window());
    m_sound.SetBackgroundMute(m_bBackgroundMute && bBackground);
}
