#pragma once

#include "launcher/services/AnotherAccount.h"
#include "launcher/features/Feature.h"

// "新开窗口（另一个账号）": another launcher with logins of its own; and, in a
// launcher started so, its cookies kept to itself and its place beside the
// one that started it.
class CAnotherAccountFeature final : public CFeature
{
public:
    using CFeature::CFeature;

    std::vector<CSystemMenu::Row> MenuRows() override;
    void BeforeBrowser() override;
    void OnPlaced() override;

private:
    CAnotherAccount m_account;
    bool m_bStartedAsOne = false;
    POINT m_ptFrom = {}; // where the launcher that started this one stands
};
