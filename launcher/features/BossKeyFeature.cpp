#include "BossKeyFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/features/GameView.h"
#include "launcher/services/GameSound.h"
#include "launcher/settings/Settings.h"

namespace
{

const wchar_t kKeyKeys[] = L"BossKey";
const wchar_t kKeyMark[] = L"BossMute";

} // namespace

CBossKeyFeature::CBossKeyFeature(CFeatureHost& host, CSettings& settings, CGameSound& mute, CGameView& game)
    : CFeature(host), m_settings(settings), m_mute(mute), m_game(game), m_nCommand(host.NewCommand()),
      m_nKeysTimer(host.NewTimer()), m_nHotKey(host.NewHotKey()), m_bossMode(mute)
{
}

std::vector<CSystemMenu::Row> CBossKeyFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = m_nCommand;
    row.text = [this] {
        CString strText;
        strText.Format(L"老板键 (%ls)%ls", static_cast<const wchar_t*>(m_bossMode.Key().Format()),
                       m_bossMode.IsKeyRegistered() ? L"" : L"（已被占用）");
        return strText;
    };
    row.action = [this](UINT) { m_bossMode.HideAll(); };
    // Registered, the keys never reach the launcher as keys.
    row.hotKey = CKey::BossKey(m_settings.Options().Text(kKeyKeys));
    return {row};
}

void CBossKeyFeature::OnShown()
{
    // Nothing of it shows before the window does: the keys are taken, and
    // a silence left behind undone, once it has.
    const COptions& options = m_settings.Options();
    m_bossMode.OnSilence([this](bool bSilenced) { m_settings.SaveOption(kKeyMark, bSilenced ? L"1" : nullptr); });
    // The player typing at once types into the game, not the strip (the
    // dialog gives the focus back to the control that had it last).
    m_bossMode.OnComeBack([this] { m_game.FocusGame(); });
    m_bossMode.Attach(Host().Window(), CKey::BossKey(options.Text(kKeyKeys)), m_nHotKey);
    WatchKeys();
    m_bShown = true;
    UndoSilenceLeftBehind();
}

void CBossKeyFeature::OnOptionsRead()
{
    if (!m_bShown || m_bossMode.IsHidden())
        return;
    // The player's keys, read late, take the place of the default ones.
    if (const CKey key = CKey::BossKey(m_settings.Options().Text(kKeyKeys)); !(key == m_bossMode.Key()))
    {
        m_bossMode.ChangeKey(key);
        WatchKeys();
    }
    UndoSilenceLeftBehind();
}

void CBossKeyFeature::UndoSilenceLeftBehind()
{
    // A launcher ended while hidden left its silence behind (the system
    // keeps a program's mute from one run to the next): the player's own
    // choice stands again.
    if (m_settings.Options().Switch(kKeyMark))
    {
        m_mute.SetPlayerMute(m_mute.IsPlayerMuted());
        m_settings.SaveOption(kKeyMark, nullptr);
    }
}

bool CBossKeyFeature::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_HOTKEY && static_cast<int>(wParam) == m_nHotKey)
        m_bossMode.OnHotKey();
    else if (message == CBossMode::s_nIconMessage)
        m_bossMode.OnIconNotify(lParam);
    else if (message == CNotifyIcon::s_nTaskbarCreated)
        m_bossMode.OnTaskbarCreated();
    else if (message == CBossMode::s_nTogetherMessage)
        m_bossMode.OnTogether(wParam);
    else if (message == WM_TIMER && wParam == m_nKeysTimer)
    {
        m_bossMode.TryKeyAgain();
        WatchKeys();
    }
    else
        return false;
    *pResult = 0;
    return true;
}

void CBossKeyFeature::OnEnd()
{
    // No icon, no silence and no keys left behind, nor tried again.
    ::KillTimer(Host().Window(), m_nKeysTimer);
    m_bossMode.Detach();
}

void CBossKeyFeature::WatchKeys()
{
    if (m_bossMode.IsKeyRegistered())
        ::KillTimer(Host().Window(), m_nKeysTimer);
    else
        ::SetTimer(Host().Window(), m_nKeysTimer, 1000, nullptr);
}
