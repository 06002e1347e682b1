#include "LauncherHost.h"

#include "launcher/LauncherIds.h"
#include "launcher/features/AnotherAccountFeature.h"
#include "launcher/features/BossKeyFeature.h"
#include "launcher/features/CacheClearFeature.h"
#include "launcher/features/FlashStatusFeature.h"
#include "launcher/features/MuteFeature.h"
#include "launcher/features/ReloadFeature.h"
#include "launcher/features/ScreenshotFeature.h"
#include "launcher/features/TopMostFeature.h"
#include "launcher/features/ZoomFeature.h"
#include "framework/CWnd.h"

CLauncherHost::CLauncherHost(const CWnd& window, CGameView& game, CShownPage& page, CZoomablePage& zoomable,
                             const CString& strStartFolder, std::function<void()> onNoticeChanged)
    : m_window(window), m_onNoticeChanged(std::move(onNoticeChanged)), m_settings(strStartFolder), m_zoom(zoomable),
      m_list(LauncherIds::kFirstFeatureTimer)
{
    // The comforts, in the order of their rows above Close.
    const auto add = [this](std::unique_ptr<CFeature> pFeature) {
        m_list.Add(*pFeature);
        m_features.push_back(std::move(pFeature));
    };
    add(std::make_unique<CFlashStatusFeature>(*this));
    add(std::make_unique<CTopMostFeature>(*this, m_settings));
    add(std::make_unique<CReloadFeature>(*this, page));
    add(std::make_unique<CCacheClearFeature>(*this, page));
    add(std::make_unique<CZoomFeature>(*this, m_settings, m_zoom, game));
    add(std::make_unique<CMuteFeature>(*this, m_settings, m_mute));
    add(std::make_unique<CScreenshotFeature>(*this, m_settings.Folder(), game));
    add(std::make_unique<CBossKeyFeature>(*this, m_settings, m_mute, game));
    add(std::make_unique<CAnotherAccountFeature>(*this, strStartFolder));
}

CLauncherHost::~CLauncherHost() = default;

HWND CLauncherHost::Window() const
{
    return m_window.m_hWnd;
}
