#pragma once

#include "launcher/features/Feature.h"
#include "launcher/services/PageZoom.h"

#include <iterator>

class CGameView;
class CSettings;

// "页面缩放": the player's zoom steps and the automatic zoom, kept across
// starts ("Zoom"). The zoom itself is the host's, which the fit reads too.
class CZoomFeature final : public CFeature
{
public:
    CZoomFeature(CFeatureHost& host, CSettings& settings, CPageZoom& zoom, CGameView& game);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnStart() override;
    void OnOptionsRead() override { OnStart(); }

private:
    void Choose(const CPageZoom::Step& step);
    // Whether the launcher fitted to the game at a fixed step fits its
    // screen (the tall game's height where one shows).
    bool Fits(int nOption) const;
    bool IsTallGameShown() const;

    CSettings& m_settings;
    CPageZoom& m_zoom;
    CGameView& m_game;
    UINT m_nCommands[std::size(CPageZoom::kSteps)]; // a step's
};
