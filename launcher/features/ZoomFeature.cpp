#include "ZoomFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/features/GameView.h"
#include "launcher/settings/Settings.h"

namespace
{

const wchar_t kKey[] = L"Zoom";

} // namespace

CZoomFeature::CZoomFeature(CFeatureHost& host, CSettings& settings, CPageZoom& zoom, CGameView& game)
    : CFeature(host), m_settings(settings), m_zoom(zoom), m_game(game), m_nCommands()
{
    for (UINT& nCommand : m_nCommands)
        nCommand = host.NewCommand();
}

std::vector<CSystemMenu::Row> CZoomFeature::MenuRows()
{
    CSystemMenu::Row menu;
    menu.lpszText = L"页面缩放";
    for (size_t i = 0; i < std::size(CPageZoom::kSteps); ++i)
    {
        const CPageZoom::Step& step = CPageZoom::kSteps[i];
        CSystemMenu::Row row;
        row.nID = m_nCommands[i];
        row.lpszText = step.lpszText;
        row.state = [this, &step] {
            return UINT(MFT_RADIOCHECK) | (step.nOption == m_zoom.Option() ? UINT(MFS_CHECKED) : 0U);
        };
        row.action = [this, &step](UINT) { Choose(step); };
        menu.subRows.push_back(std::move(row));
    }
    return {menu};
}

void CZoomFeature::OnStart()
{
    m_zoom.Choose(m_settings.Options().Number(kKey, 100, CPageZoom::IsOption));
}

void CZoomFeature::Choose(const CPageZoom::Step& step)
{
    m_zoom.Choose(step.nOption);
    CString strValue;
    strValue.Format(L"%d", step.nOption);
    m_settings.SaveOption(kKey, strValue); // as for the other choices
    // With no game to fit to, a launcher fitted at another zoom goes back
    // to its base size.
    if (!m_zoom.IsAuto() && !m_game.FindGame())
        Host().ApplyBaseLayout();
}
