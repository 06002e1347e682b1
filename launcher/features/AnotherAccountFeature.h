#pragma once

#include "launcher/services/AnotherAccount.h"
#include "launcher/features/Feature.h"

// "新开窗口（另一个账号）": another launcher with logins of its own; and, in a
// launcher started so, its cookies kept to itself and its place beside the
// one that started it.
class CAnotherAccountFeature final : public CFeature
{
public:
    // strStartFolder: the folder this launcher was started in.
    CAnotherAccountFeature(CFeatureHost& host, const CString& strStartFolder);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void BeforeBrowser() override;
    void OnPlaced() override;

private:
    const CString m_strStartFolder;
    const UINT m_nCommand;
    CAnotherAccount m_account;
    bool m_bStartedAsOne = false;
    POINT m_ptFrom = {}; // where the launcher that started this one stands
};
