#include "PageZoom.h"

namespace
{

// A refresh puts the page back at the browser's own zoom some time after it
// was asked for; so many reads of the zoom look out for it.
const int kRefreshWatchReads = 5;

} // namespace

// Above 100 % for large screens: the Flash Player draws the game at the
// zoomed size, sharper than a stretched window.
const CPageZoom::Step CPageZoom::kSteps[7] = {
    {150, L"150%"}, {125, L"125%"}, {100, L"100%"}, {90, L"90%"}, {80, L"80%"}, {70, L"70%"}, {kAuto, L"自动适应屏幕"},
};

bool CPageZoom::IsOption(int nOption) noexcept
{
    for (const Step& step : kSteps)
        if (step.nOption == nOption)
            return true;
    return false;
}

CPageZoom::CPageZoom(CZoomablePage& page) noexcept : m_page(page)
{
    m_page.SetListener(this);
}

CPageZoom::~CPageZoom()
{
    m_page.SetListener(nullptr);
}

void CPageZoom::Choose(int nOption)
{
    m_nOption = nOption;
    m_hWndChosenFor = nullptr;
    // The automatic zoom is chosen when the fit next finds the game; until
    // then the page keeps the zoom it has.
    if (!IsAuto())
        Ask(nOption);
}

bool CPageZoom::Ask(int nPercent)
{
    if (nPercent == m_nAsked)
        return false;
    m_nAsked = nPercent;
    m_nShown = nPercent;
    // Refused while no page is shown: the next page that completes is zoomed.
    m_page.ApplyZoom(nPercent);
    return true;
}

int CPageZoom::Read()
{
    int nPercent = 0;
    if (!m_page.ReadZoom(&nPercent))
        return m_nShown;
    m_nShown = nPercent;
    if (m_nRefreshWatch > 0)
    {
        --m_nRefreshWatch;
        if (m_nShown != m_nAsked)
        {
            // The refresh undid the player's zoom: asked again. The page is
            // laid out at the zoom read until it has followed.
            m_nRefreshWatch = 0;
            m_page.ApplyZoom(m_nAsked);
        }
    }
    return m_nShown;
}

void CPageZoom::OnPageEvent(CZoomablePage::Event event)
{
    // Each new page comes up at the browser's own zoom, which an older
    // launcher, or Internet Explorer itself, may have stored.
    int nPercent = 0;
    if (event == CZoomablePage::Event::Refreshing)
        m_nRefreshWatch = kRefreshWatchReads;
    else if (m_nAsked != 100 || (m_page.ReadZoom(&nPercent) && nPercent != m_nAsked))
        m_page.ApplyZoom(m_nAsked);
}
