#include "FlashStatusFeature.h"

#include "res/resource.h"

std::vector<CSystemMenu::Row> CFlashStatusFeature::MenuRows()
{
    CSystemMenu::Row row;
    row.nID = IDM_FLASH_STATUS;
    row.text = [this] { return m_status.MenuText(); };
    row.state = [] { return UINT(MFS_GRAYED); };
    return {row};
}
