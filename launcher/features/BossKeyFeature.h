#pragma once

#include "launcher/services/BossMode.h"
#include "launcher/features/Feature.h"

class CGameSound;
class CGameView;
class CSettings;

// "老板键": the boss key (its keys in "BossKey"), and the mark of its silence
// ("BossMute") that a launcher ended while hidden leaves for the next start
// to undo.
class CBossKeyFeature final : public CFeature
{
public:
    CBossKeyFeature(CFeatureHost& host, CSettings& settings, CGameSound& mute, CGameView& game);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnShown() override;
    void OnOptionsRead() override;
    void OnMenuOpening() override { m_bossMode.TryKeyAgain(); } // its holder may have ended
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnEnd() override;

private:
    // While another program holds the keys, they are tried again every
    // second: a holder that crashed tells no one.
    void WatchKeys();
    void UndoSilenceLeftBehind();

    CSettings& m_settings;
    CGameSound& m_mute;
    CGameView& m_game;
    const UINT m_nCommand;
    const UINT_PTR m_nKeysTimer; // the keys, held by another program, tried again
    const int m_nHotKey;
    CBossMode m_bossMode;
    bool m_bShown = false;
};
