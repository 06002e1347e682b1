#pragma once

#include "launcher/PaneGame.h"
#include "launcher/features/Feature.h"
#include "launcher/features/FeatureHost.h"
#include "launcher/features/FeatureList.h"
#include "launcher/services/GameSound.h"
#include "launcher/services/PageZoom.h"
#include "launcher/settings/Settings.h"

#include <functional>
#include <memory>
#include <vector>

class CDlgWeb;
class CWnd;

// What the launcher's window gives its features: the window, the notice line
// and the ids (CFeatureHost); the services several of them share and the
// window uses too (the settings file, the page's zoom, the game's sound, the
// game); and the features themselves, listed in one place, which a
// CFeatureList runs. It also answers for what the window shows of them: the
// notice line, and what waits for the window's first paint.
class CLauncherHost final : public CFeatureHost
{
public:
    // window: the launcher's (its handle is read when asked for); pane: the
    // browser pane it shows; strStartFolder: the folder it was started in,
    // a full path. onNoticeChanged is called when NoticeText changes, and
    // applyBaseLayout gives the window its base size.
    CLauncherHost(const CWnd& window, CDlgWeb& pane, const CString& strStartFolder,
                  std::function<void()> onNoticeChanged, std::function<void()> applyBaseLayout);
    ~CLauncherHost();
    CLauncherHost(const CLauncherHost&) = delete;
    CLauncherHost& operator=(const CLauncherHost&) = delete;

    CSettings& Settings() noexcept { return m_settings; }
    const CSettings& Settings() const noexcept { return m_settings; }
    CPageZoom& Zoom() noexcept { return m_zoom; }
    const CPageZoom& Zoom() const noexcept { return m_zoom; }
    CPaneGame& Game() noexcept { return m_game; }
    CFeatureList& Features() noexcept { return m_list; }
    const CFeatureList& Features() const noexcept { return m_list; }

    // Reads the settings file at start, its saves and later reads on the
    // host's timer; saves wait for the first paint. onRowReadLate: the
    // file, held by another program at start, has been read after all and
    // the player has chosen no row meanwhile.
    void ReadSettings(std::function<void()> onRowReadLate);
    // The window has painted itself, or was minimised: the first time, what
    // waits for that follows (posted, once; also when the wait is over).
    void Painted();
    // The window's messages: the host's own timers and message, then the
    // features' (see Feature.h).
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The strip's notice line: what is wrong, if anything (the settings
    // cannot be read or saved, no usable Flash Player, ...), what the player
    // can act on first; where the settings are kept last.
    CString NoticeText() const;

    // CFeatureHost
    HWND Window() const override;
    void NoticeChanged() override { m_onNoticeChanged(); }
    void ApplyBaseLayout() override;
    UINT NewCommand() override { return m_list.NewCommand(); }
    UINT_PTR NewTimer() override { return m_list.NewTimer(); }
    UINT NewMessage() override { return m_list.NewMessage(); }
    int NewHotKey() override { return m_list.NewHotKey(); }

private:
    const CWnd& m_window;
    std::function<void()> m_onNoticeChanged;
    std::function<void()> m_applyBaseLayout;
    CSettings m_settings;
    CPageZoom m_zoom;
    CGameSound m_sound;
    CPaneGame m_game;
    CFeatureList m_list;
    const UINT_PTR m_nSettingsTimer;  // a save held up, a file held at start, tried again
    const UINT_PTR m_nPaintWaitTimer; // the saves wait no longer for the first paint
    const UINT m_nPaintedMessage;     // what waits for the first paint follows
    bool m_bPainted = false;          // or minimised, or waited for long enough
    bool m_bPaintedDone = false;      // what waits for that is done
    std::vector<std::unique_ptr<CFeature>> m_features;
};
