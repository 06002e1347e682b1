#pragma once

#include "launcher/features/Feature.h"

class CGameSound;
class CSettings;

// "音量": the game's level, 100 %, 75 %, 50 % or 25 % on every playback
// device ("Volume"; until one is chosen the sessions keep theirs); and
// "后台静音" ("BackgroundMute", off at first): the game is silent while
// another program is in front or the launcher is minimised, and has its
// sound back when the launcher returns.
class CVolumeFeature final : public CFeature
{
public:
    CVolumeFeature(CFeatureHost& host, CSettings& settings, CGameSound& sound);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnStart() override;
    void OnShown() override;
    void OnOptionsRead() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnEnd() override;

private:
    // The silence in the background as the launcher stands now.
    void FollowBackground();

    CSettings& m_settings;
    CGameSound& m_sound;
    UINT m_nLevelCommands[4];
    const UINT m_nBackgroundCommand;
    int m_nLevel = 100; // the step marked
    bool m_bBackgroundMute = false;
    bool m_bActive = true; // the launcher's the program in front
    bool m_bShown = false;
    bool m_bChosen = false; // the player chose a level before the window showed
};
