#pragma once

#include "launcher/features/Feature.h"

// "刷新页面": the page shown, loaded again.
class CReloadFeature final : public CFeature
{
public:
    using CFeature::CFeature;

    std::vector<CSystemMenu::Row> MenuRows() override;
};
