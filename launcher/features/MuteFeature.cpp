#include "MuteFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/LauncherIds.h"
#include "res/resource.h"

namespace
{

const wchar_t kKey[] = L"Mute";

} // namespace

std::vector<CSystemMenu::Row> CMuteFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = IDM_MUTE;
    row.lpszText = L"静音";
    row.state = [this] {
        return (m_mute.IsKnownUnavailable() ? UINT(MFS_GRAYED) : 0U) |
               (m_mute.IsPlayerMuted() ? UINT(MFS_CHECKED) : 0U);
    };
    row.action = [this](UINT) {
        if (m_mute.SetPlayerMute(!m_mute.IsPlayerMuted()))
            Host().SaveOption(kKey, m_mute.IsPlayerMuted() ? L"1" : L"0");
    };
    return {row};
}

void CMuteFeature::OnStart()
{
    m_mute.Attach(Host().Window(), LauncherIds::kAudioDeviceMessage);
    // The player's choice kept across starts is the mixer's too.
    m_mute.OnMixerChoice([this](bool bMuted) { Host().SaveOption(kKey, bMuted ? L"1" : L"0"); });
    if (Host().Options().Switch(kKey))
        m_mute.SetPlayerMute(true);
}

bool CMuteFeature::OnMessage(UINT message, WPARAM, LPARAM, LRESULT* pResult)
{
    if (message != LauncherIds::kAudioDeviceMessage)
        return false;
    m_mute.OnDevicesChanged();
    *pResult = 0;
    return true;
}
