#include "ZoomFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/services/PageZoom.h"

namespace
{

const wchar_t kKey[] = L"Zoom";

} // namespace

std::vector<CSystemMenu::Row> CZoomFeature::MenuRows()
{
    CSystemMenu::Row menu;
    menu.lpszText = L"页面缩放";
    for (const CPageZoom::Step& step : CPageZoom::kSteps)
    {
        CSystemMenu::Row row;
        row.nID = step.nID;
        row.lpszText = step.lpszText;
        row.state = [this, &step] {
            return UINT(MFT_RADIOCHECK) | (step.nOption == Host().Zoom().Option() ? UINT(MFS_CHECKED) : 0U);
        };
        row.action = [this](UINT nID) { Choose(nID); };
        menu.subRows.push_back(std::move(row));
    }
    return {menu};
}

void CZoomFeature::OnStart()
{
    Host().Zoom().Choose(Host().Options().Number(kKey, 100, CPageZoom::IsOption));
}

void CZoomFeature::Choose(UINT nID)
{
    const CPageZoom::Step* pStep = CPageZoom::FindStep(nID);
    CPageZoom& zoom = Host().Zoom();
    zoom.Choose(pStep->nOption);
    CString strValue;
    strValue.Format(L"%d", pStep->nOption);
    Host().SaveOption(kKey, strValue); // as for the other choices
    // With no game to fit to, a launcher fitted at another zoom goes back
    // to its base size.
    if (!zoom.IsAuto() && !Host().FindGame())
        Host().ApplyBaseLayout();
}
