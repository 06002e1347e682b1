#include "LauncherHost.h"

#include "launcher/LauncherIds.h"
#include "launcher/features/AnotherAccountFeature.h"
#include "launcher/features/BossKeyFeature.h"
#include "launcher/features/CacheClearFeature.h"
#include "launcher/features/FlashStatusFeature.h"
#include "launcher/features/FullScreenFeature.h"
#include "launcher/features/MuteFeature.h"
#include "launcher/features/ReloadFeature.h"
#include "launcher/features/ScreenshotFeature.h"
#include "launcher/features/TopMostFeature.h"
#include "launcher/features/VolumeFeature.h"
#include "launcher/features/WindowPlaceFeature.h"
#include "launcher/features/ZoomFeature.h"
#include "browser/DlgWeb.h"
#include "framework/CWnd.h"
#include "framework/StartupMarks.h"

namespace
{

// How long saves wait for the window to show, at most.
const UINT kSavesHeldMostMs = 2000;

} // namespace

CLauncherHost::CLauncherHost(const CWnd& window, CDlgWeb& pane, const CString& strStartFolder,
                             std::function<void()> onNoticeChanged, std::function<void()> applyBaseLayout)
    : m_window(window), m_onNoticeChanged(std::move(onNoticeChanged)), m_applyBaseLayout(std::move(applyBaseLayout)),
      m_settings(strStartFolder), m_zoom(pane), m_game(window, pane, m_zoom), m_list(LauncherIds::kFirstFeatureTimer),
      m_nSettingsTimer(m_list.NewTimer()), m_nPaintWaitTimer(m_list.NewTimer()), m_nPaintedMessage(m_list.NewMessage())
{
    // The comforts, in the order of their rows above Close.
    const auto add = [this](std::unique_ptr<CFeature> pFeature) {
        m_list.Add(*pFeature);
        m_features.push_back(std::move(pFeature));
    };
    add(std::make_unique<CFlashStatusFeature>(*this));
    add(std::make_unique<CTopMostFeature>(*this, m_settings));
    // Before the window's place: a launcher closed full screen leaves it
    // first, so that the place it was in is kept.
    add(std::make_unique<CFullScreenFeature>(*this, m_zoom, m_game));
    add(std::make_unique<CWindowPlaceFeature>(*this, m_settings));
    add(std::make_unique<CReloadFeature>(*this, pane));
    add(std::make_unique<CCacheClearFeature>(*this, pane));
    add(std::make_unique<CZoomFeature>(*this, m_settings, m_zoom, m_game));
    add(std::make_unique<CMuteFeature>(*this, m_settings, m_sound));
    add(std::make_unique<CVolumeFeature>(*this, m_settings, m_sound));
    add(std::make_unique<CScreenshotFeature>(*this, m_settings, m_game));
    add(std::make_unique<CBossKeyFeature>(*this, m_settings, m_sound, m_game));
    add(std::make_unique<CAnotherAccountFeature>(*this, strStartFolder));
}

CLauncherHost::~CLauncherHost() = default;

HWND CLauncherHost::Window() const
{
    return m_window.m_hWnd;
}

void CLauncherHost::ApplyBaseLayout()
{
    // The game alone on the screen keeps its own layout.
    if (!m_game.IsAlone())
        m_applyBaseLayout();
}

void CLauncherHost::ReadSettings(std::function<void()> onRowReadLate)
{
    m_settings.Attach(Window(), m_nSettingsTimer, m_onNoticeChanged, [this, onRowReadLate = std::move(onRowReadLate)] {
        // Read after all, once another program let go: what the player
        // chose meanwhile stands.
        m_list.OptionsRead();
        if (!m_settings.IsRowChosen())
            onRowReadLate();
    });
    m_settings.Load();
    // The first navigation's save, like any before the window shows, waits
    // until it has.
    m_settings.HoldSaves(kSavesHeldMostMs);
    ::SetTimer(Window(), m_nPaintWaitTimer, kSavesHeldMostMs, nullptr);
}

void CLauncherHost::Painted()
{
    if (m_bPainted)
        return;
    m_bPainted = true;
    StartupMarks::Mark("first paint");
    ::PostMessageW(Window(), m_nPaintedMessage, 0, 0);
}

bool CLauncherHost::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_TIMER && wParam == m_nSettingsTimer)
    {
        m_settings.OnTimer();
        return true;
    }
    if (message == WM_TIMER && wParam == m_nPaintWaitTimer)
    {
        // Painted or not, the saves wait no longer.
        ::KillTimer(Window(), m_nPaintWaitTimer);
        Painted();
        return true;
    }
    if (message == m_nPaintedMessage)
    {
        // Once (another program may post the same number).
        if (!m_bPaintedDone && m_bPainted)
        {
            m_bPaintedDone = true;
            ::KillTimer(Window(), m_nPaintWaitTimer);
            m_settings.ResumeSaves();
            m_list.Shown();
            StartupMarks::Mark("saves and comforts after the first paint");
            StartupMarks::Done();
        }
        *pResult = 0;
        return true;
    }
    return m_list.OnMessage(message, wParam, lParam, pResult);
}

CString CLauncherHost::NoticeText() const
{
    std::vector<CString> texts = {m_settings.Problem()};
    for (CString& strText : m_list.Notices())
        texts.push_back(std::move(strText));
    texts.push_back(m_settings.Where());
    CString strNotice;
    for (const CString& strText : texts)
    {
        if (strText.IsEmpty())
            continue;
        if (!strNotice.IsEmpty())
            strNotice += L"；";
        strNotice += strText;
    }
    return strNotice;
}
