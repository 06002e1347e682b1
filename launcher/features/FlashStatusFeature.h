#pragma once

#include "launcher/features/Feature.h"
#include "launcher/services/FlashStatus.h"

// Which Flash Player the launcher found: a greyed first line of the system
// menu, and the strip's notice when none can play the games.
class CFlashStatusFeature final : public CFeature
{
public:
    explicit CFlashStatusFeature(CFeatureHost& host);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void BeforeBrowser() override { m_status = CFlashStatus::Detect(); }
    CString NoticeText() const override { return m_status.NoticeText(); }

private:
    const UINT m_nCommand;
    CFlashStatus m_status;
};
