#include "FlashStatusFeature.h"

#include "launcher/features/FeatureHost.h"

CFlashStatusFeature::CFlashStatusFeature(CFeatureHost& host) : CFeature(host), m_nCommand(host.NewCommand()) {}

std::vector<CSystemMenu::Row> CFlashStatusFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = m_nCommand;
    row.text = [this] { return m_status.MenuText(); };
    row.state = [] { return UINT(MFS_GRAYED); };
    return {row};
}
