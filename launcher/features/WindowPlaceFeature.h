#pragma once

#include "launcher/features/Feature.h"

class CSettings;

// "记住窗口位置": the launcher opens where it was last closed ("Place", its
// top left corner, kept while "RememberPlace" is on), on the same monitor,
// at the size the fit gives. Off by default: the launcher is centred. A
// place no longer on a screen (a monitor unplugged, a smaller resolution)
// is brought back whole onto the nearest work area. A launcher started for
// another account still opens beside the one that started it.
class CWindowPlaceFeature final : public CFeature
{
public:
    CWindowPlaceFeature(CFeatureHost& host, CSettings& settings);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnPlaced() override;
    void OnOptionsRead() override { OnPlaced(); } // the file was held at start
    void OnEnd() override;

private:
    CSettings& m_settings;
    const UINT m_nCommand;
    bool m_bOn = false;
};
