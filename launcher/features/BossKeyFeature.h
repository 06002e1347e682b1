#pragma once

#include "launcher/services/BossMode.h"
#include "launcher/features/Feature.h"

class CGameMute;

// "老板键": the boss key (its keys in "BossKey"), and the mark of its silence
// ("BossMute") that a launcher ended while hidden leaves for the next start
// to undo.
class CBossKeyFeature final : public CFeature
{
public:
    CBossKeyFeature(CFeatureHost& host, CGameMute& mute);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnStart() override;
    void OnMenuOpening() override { m_bossMode.TryKeyAgain(); } // its holder may have ended
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnEnd() override;

private:
    // While another program holds the keys, they are tried again every
    // second: a holder that crashed tells no one.
    void WatchKeys();

    CGameMute& m_mute;
    CBossMode m_bossMode;
};
