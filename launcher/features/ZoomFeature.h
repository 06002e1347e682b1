#pragma once

#include "launcher/features/Feature.h"

// "页面缩放": the player's zoom steps and the automatic zoom, kept across
// starts ("Zoom"). The zoom itself is the host's CPageZoom.
class CZoomFeature final : public CFeature
{
public:
    using CFeature::CFeature;

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnStart() override;

private:
    void Choose(UINT nID);
};
