#include "MuteFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/services/GameSound.h"
#include "launcher/settings/Settings.h"

namespace
{

const wchar_t kMuteOption[] = L"Mute";
const wchar_t kMuteKey[] = L"MuteKey";

} // namespace

CMuteFeature::CMuteFeature(CFeatureHost& host, CSettings& settings, CGameSound& mute)
    : CFeature(host), m_settings(settings), m_mute(mute), m_nCommand(host.NewCommand()),
      m_nDevicesMessage(host.NewMessage())
{
}

std::vector<CSystemMenu::Row> CMuteFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = m_nCommand;
    row.lpszText = L"静音";
    row.key = CKey::GameKey(m_settings.Options().Text(kMuteKey), CKey{0, VK_F9});
    row.state = [this] {
        return (m_mute.IsKnownUnavailable() ? UINT(MFS_GRAYED) : 0U) |
               (m_mute.IsPlayerMuted() ? UINT(MFS_CHECKED) : 0U);
    };
    row.action = [this](UINT) {
        m_bChosen = true;
        if (m_mute.SetPlayerMute(!m_mute.IsPlayerMuted()))
            m_settings.SaveSwitch(kMuteOption, m_mute.IsPlayerMuted());
    };
    return {row};
}

void CMuteFeature::OnStart()
{
    m_mute.Attach(Host().Window(), m_nDevicesMessage);
    // The player's choice kept across starts is the mixer's too.
    m_mute.OnMixerChoice([this](bool bMuted) { m_settings.SaveSwitch(kMuteOption, bMuted); });
}

void CMuteFeature::OnShown()
{
    // The sound devices are asked for nothing before the window shows; a
    // choice the player made meanwhile (from the taskbar's menu of a
    // launcher started minimised) stands.
    m_bShown = true;
    if (!m_bChosen && m_settings.Options().Switch(kMuteOption))
        m_mute.SetPlayerMute(true);
}

void CMuteFeature::OnOptionsRead()
{
    if (m_bShown)
        OnShown();
}

void CMuteFeature::OnMenuOpening()
{
    m_mute.Refresh();
}

bool CMuteFeature::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult)
{
    if (message != m_nDevicesMessage)
        return false;
    m_mute.OnNews(wParam);
    *pResult = 0;
    return true;
}
