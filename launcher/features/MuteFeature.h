#pragma once

#include "launcher/features/Feature.h"
#include "launcher/services/GameMute.h"

// "静音": the game's silence on every playback device, kept across starts
// ("Mute"); greyed where there is no device. Core Audio is asked nothing
// before the player chooses silence.
class CMuteFeature final : public CFeature
{
public:
    using CFeature::CFeature;

    // The silence, which the boss key uses too.
    CGameMute& Mute() noexcept { return m_mute; }

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnStart() override;
    void OnMenuOpening() override { m_mute.Refresh(); }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    CGameMute m_mute;
};
