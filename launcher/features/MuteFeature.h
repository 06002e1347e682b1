#pragma once

#include "launcher/features/Feature.h"

class CGameSound;
class CSettings;

// "静音": the game's silence on every playback device, kept across starts
// ("Mute"), by its row or a key ("MuteKey", F9 at first); greyed where there
// is no device. Core Audio is asked nothing before the player chooses
// silence.
class CMuteFeature final : public CFeature
{
public:
    CMuteFeature(CFeatureHost& host, CSettings& settings, CGameSound& mute);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnStart() override;
    void OnShown() override;
    void OnOptionsRead() override;
    void OnMenuOpening() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    CSettings& m_settings;
    CGameSound& m_mute;
    const UINT m_nCommand;
    const UINT m_nDevicesMessage; // a device or a session's mute changed (from Core Audio's threads)
    bool m_bChosen = false;       // by the player in this run
    bool m_bShown = false;
};
