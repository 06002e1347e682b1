#include "ZoomFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/features/GameView.h"
#include "launcher/services/GameFit.h"
#include "launcher/settings/Settings.h"

namespace
{

const wchar_t kZoomOption[] = L"Zoom";

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
        // A step at which the fitted launcher would reach past the screen
        // (its close button, its bottom edge) is not offered.
        row.state = [this, &step] {
            return UINT(MFT_RADIOCHECK) | (step.nOption == m_zoom.Option() ? UINT(MFS_CHECKED) : 0U) |
                   (step.nOption != CPageZoom::kAuto && !Fits(step.nOption) ? UINT(MFS_GRAYED) : 0U);
        };
        row.action = [this, &step](UINT) { Choose(step); };
        menu.subRows.push_back(std::move(row));
    }
    return {menu};
}

void CZoomFeature::OnStart()
{
    // A stored step this screen cannot hold (a smaller one since) gives the
    // largest that it can, for this run only; without one, the page is at
    // its own size, as ever.
    const int nOption = m_settings.Options().Number(kZoomOption, 100, CPageZoom::IsOption);
    const bool bStored = !m_settings.Options().Text(kZoomOption).IsEmpty();
    m_zoom.Choose(!bStored || nOption == CPageZoom::kAuto || Fits(nOption)
                      ? nOption
                      : GameFit::LargestStepThatFits(Host().Window(), IsTallGameShown(), m_zoom));
}

bool CZoomFeature::IsTallGameShown() const
{
    return GameFit::IsTallGame(m_game.FindGame(), m_zoom);
}

bool CZoomFeature::Fits(int nOption) const
{
    return GameFit::FitsScreen(Host().Window(), IsTallGameShown(), m_zoom.OnScreen(nOption));
}

void CZoomFeature::Choose(const CPageZoom::Step& step)
{
    m_zoom.Choose(step.nOption);
    CString strValue;
    strValue.Format(L"%d", step.nOption);
    m_settings.SaveOption(kZoomOption, strValue); // as for the other choices
    // With no game to fit to, a launcher fitted at another zoom goes back
    // to its base size.
    if (!m_zoom.IsAuto() && !m_game.FindGame())
        Host().ApplyBaseLayout();
}
