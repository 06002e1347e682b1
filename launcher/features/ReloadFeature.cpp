#include "ReloadFeature.h"

#include "launcher/features/FeatureHost.h"
#include "res/resource.h"

std::vector<CSystemMenu::Row> CReloadFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = IDM_RELOAD;
    row.lpszText = L"刷新页面";
    row.action = [this](UINT) { Host().ReloadPage(false); };
    return {row};
}
