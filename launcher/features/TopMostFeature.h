#pragma once

#include "launcher/features/Feature.h"

// "窗口置顶": the launcher kept above other windows, kept across starts
// ("TopMost").
class CTopMostFeature final : public CFeature
{
public:
    using CFeature::CFeature;

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnStart() override;

private:
    void Set(bool bTopMost);

    bool m_bTopMost = false;
};
