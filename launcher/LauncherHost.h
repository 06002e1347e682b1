#pragma once

#include "launcher/features/Feature.h"
#include "launcher/features/FeatureHost.h"
#include "launcher/features/FeatureList.h"
#include "launcher/services/GameMute.h"
#include "launcher/services/PageZoom.h"
#include "launcher/settings/Settings.h"

#include <functional>
#include <memory>
#include <vector>

class CGameView;
class CShownPage;
class CWnd;

// What the launcher's window gives its features: the window, the notice line
// and the ids (CFeatureHost); the services several of them share and the
// window uses too (the settings file, the page's zoom, the game's sound);
// and the features themselves, listed in one place, which a CFeatureList
// runs.
class CLauncherHost final : public CFeatureHost
{
public:
    // window: the launcher's (its handle is read when asked for); game, page
    // and zoomable: what it shows; strStartFolder: the folder it was started
    // in, a full path.
    CLauncherHost(const CWnd& window, CGameView& game, CShownPage& page, CZoomablePage& zoomable,
                  const CString& strStartFolder, std::function<void()> onNoticeChanged);
    ~CLauncherHost();
    CLauncherHost(const CLauncherHost&) = delete;
    CLauncherHost& operator=(const CLauncherHost&) = delete;

    CSettings& Settings() noexcept { return m_settings; }
    const CSettings& Settings() const noexcept { return m_settings; }
    CPageZoom& Zoom() noexcept { return m_zoom; }
    const CPageZoom& Zoom() const noexcept { return m_zoom; }
    CFeatureList& Features() noexcept { return m_list; }
    const CFeatureList& Features() const noexcept { return m_list; }

    // CFeatureHost
    HWND Window() const override;
    void NoticeChanged() override { m_onNoticeChanged(); }
    UINT NewCommand() override { return m_list.NewCommand(); }
    UINT_PTR NewTimer() override { return m_list.NewTimer(); }
    UINT NewMessage() override { return m_list.NewMessage(); }

private:
    const CWnd& m_window;
    std::function<void()> m_onNoticeChanged;
    CSettings m_settings;
    CPageZoom m_zoom;
    CGameMute m_mute;
    CFeatureList m_list;
    std::vector<std::unique_ptr<CFeature>> m_features;
};
