#pragma once

#include "launcher/features/Feature.h"

class CShownPage;

// "刷新页面": the page shown, loaded again.
class CReloadFeature final : public CFeature
{
public:
    CReloadFeature(CFeatureHost& host, CShownPage& page);

    std::vector<CSystemMenu::Row> MenuRows() override;

private:
    CShownPage& m_page;
    const UINT m_nCommand;
};
