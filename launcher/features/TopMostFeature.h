#pragma once

#include "launcher/features/Feature.h"

class CSettings;

// "窗口置顶": the launcher kept above other windows, kept across starts
// ("TopMost").
class CTopMostFeature final : public CFeature
{
public:
    CTopMostFeature(CFeatureHost& host, CSettings& settings);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnStart() override;
    void OnOptionsRead() override { OnStart(); }

private:
    void Set(bool bTopMost);

    CSettings& m_settings;
    const UINT m_nCommand;
    bool m_bTopMost = false;
};
