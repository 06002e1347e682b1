#include "PageZoom.h"

#include "res/resource.h"

// Above 100 % for large screens: the Flash Player draws the game at the
// zoomed size, sharper than a stretched window.
const CPageZoom::Step CPageZoom::kSteps[7] = {
    {IDM_ZOOM_150, 150, L"150%"}, {IDM_ZOOM_125, 125, L"125%"}, {IDM_ZOOM_100, 100, L"100%"},
    {IDM_ZOOM_90, 90, L"90%"},    {IDM_ZOOM_80, 80, L"80%"},    {IDM_ZOOM_70, 70, L"70%"},
    {IDM_ZOOM_AUTO, kAuto, L"自动适应屏幕"},
};

const CPageZoom::Step* CPageZoom::FindStep(UINT nID) noexcept
{
    for (const Step& step : kSteps)
        if (step.nID == nID)
            return &step;
    return nullptr;
}

bool CPageZoom::IsOption(int nOption) noexcept
{
    for (const Step& step : kSteps)
        if (step.nOption == nOption)
            return true;
    return false;
}

void CPageZoom::Choose(int nOption) noexcept
{
    m_nOption = nOption;
    m_hWndChosenFor = nullptr;
}
