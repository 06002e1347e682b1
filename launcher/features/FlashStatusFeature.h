#pragma once

#include "launcher/features/Feature.h"
#include "launcher/services/FlashStatus.h"

// Which Flash Player the launcher found: a greyed first line of the system
// menu, and the strip's notice when none can play the games.
class CFlashStatusFeature final : public CFeature
{
public:
    using CFeature::CFeature;

    std::vector<CSystemMenu::Row> MenuRows() override;
    void BeforeBrowser() override { m_status = CFlashStatus::Detect(); }
    CString NoticeText() const override { return m_status.NoticeText(); }

private:
    CFlashStatus m_status;
};
