#include "BossKeyFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/services/GameMute.h"
#include "launcher/LauncherIds.h"
#include "res/resource.h"

namespace
{

const wchar_t kKeyKeys[] = L"BossKey";
const wchar_t kKeyMark[] = L"BossMute";

} // namespace

CBossKeyFeature::CBossKeyFeature(CFeatureHost& host, CGameMute& mute) : CFeature(host), m_mute(mute), m_bossMode(mute)
{
}

std::vector<CSystemMenu::Row> CBossKeyFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = IDM_BOSSKEY;
    row.text = [this] {
        CString strText;
        strText.Format(L"老板键 (%ls)%ls", static_cast<const wchar_t*>(m_bossMode.Key().Format()),
                       m_bossMode.IsKeyRegistered() ? L"" : L"（已被占用）");
        return strText;
    };
    row.action = [this](UINT) { m_bossMode.HideAll(); };
    return {row};
}

void CBossKeyFeature::OnStart()
{
    const COptions& options = Host().Options();
    m_bossMode.OnSilence([this](bool bSilenced) { Host().SaveOption(kKeyMark, bSilenced ? L"1" : nullptr); });
    // The player typing at once types into the game, not the strip (the
    // dialog gives the focus back to the control that had it last).
    m_bossMode.OnComeBack([this] { Host().FocusGame(); });
    m_bossMode.Attach(Host().Window(), CBossKey::Parse(options.Text(kKeyKeys)), LauncherIds::kNotifyIconMessage);
    WatchKeys();
    // A launcher ended while hidden left its silence behind (the system
    // keeps a program's mute from one run to the next): the player's own
    // choice stands again.
    if (options.Switch(kKeyMark))
    {
        m_mute.SetPlayerMute(m_mute.IsPlayerMuted());
        Host().SaveOption(kKeyMark, nullptr);
    }
}

bool CBossKeyFeature::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_HOTKEY)
        m_bossMode.OnHotKey(static_cast<UINT>(wParam));
    else if (message == LauncherIds::kNotifyIconMessage)
        m_bossMode.OnIconNotify(lParam);
    else if (message == CNotifyIcon::s_nTaskbarCreated)
        m_bossMode.OnTaskbarCreated();
    else if (message == CBossMode::s_nTogetherMessage)
        m_bossMode.OnTogether(wParam);
    else if (message == WM_TIMER && wParam == LauncherIds::kBossKeysTimer)
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
    ::KillTimer(Host().Window(), LauncherIds::kBossKeysTimer);
    m_bossMode.Detach();
}

void CBossKeyFeature::WatchKeys()
{
    if (m_bossMode.IsKeyRegistered())
        ::KillTimer(Host().Window(), LauncherIds::kBossKeysTimer);
    else
        ::SetTimer(Host().Window(), LauncherIds::kBossKeysTimer, 1000, nullptr);
}
