#pragma once

#include "harness/TempDir.h"

#include "browser/ShownPage.h"
#include "browser/ZoomablePage.h"
#include "launcher/features/Feature.h"
#include "launcher/features/FeatureHost.h"
#include "launcher/features/FeatureList.h"
#include "launcher/features/GameView.h"
#include "launcher/services/GameSound.h"
#include "launcher/services/PageZoom.h"
#include "launcher/settings/Settings.h"

#include <initializer_list>
#include <string>
#include <vector>

// A host for the launcher's features without the launcher: a plain window
// with a system menu, whose messages go through a CFeatureList as the
// launcher's do, and the services the features are given: a settings file in
// a folder of its own, the page's zoom, the game's sound, and a page and a
// game that record what is asked of them.
class FakeFeatureHost final : public CFeatureHost, public CZoomablePage, public CShownPage, public CGameView
{
public:
    FakeFeatureHost();
    ~FakeFeatureHost();
    FakeFeatureHost(const FakeFeatureHost&) = delete;
    FakeFeatureHost& operator=(const FakeFeatureHost&) = delete;

    // The settings file's "[options]" before Start.
    void WriteOptions(const std::string& lines);
    // Starts features as the launcher does: the settings read, each
    // feature started in this order, their rows in the window's menu; and,
    // unless bShown is false, the window shown (see Show).
    void Start(std::initializer_list<CFeature*> features, bool bShown = true);
    // The window has painted itself for the first time.
    void Show();
    // The player chooses an item by its text, or opens the menu (see
    // MenuItems.h).
    void Choose(const std::wstring& text);
    void OpenMenu();
    UINT MenuState(const std::wstring& text) const;
    std::wstring MenuText(const std::wstring& text) const;
    // The "[options]" lines the settings file holds now.
    std::string SavedOptions() const;

    // The services.
    const CString& Folder() const { return m_strFolder; }
    CSettings& Settings() { return m_settings; }
    CPageZoom& Zoom() { return m_zoom; }
    CGameSound& Mute() { return m_mute; }

    // What the features asked of the page and the game.
    std::vector<int> zooms; // asked of the page
    int reloads = 0;
    int completeReloads = 0;
    int baseLayouts = 0;
    int gameFocused = 0;
    int noticeChanges = 0; // the strip told to paint its notice anew
    // What the page and the game are.
    std::wstring pageUrl = L"http://www.velka.cn/";
    ComPtr<IDispatch> pDocument;
    HWND hWndGame = nullptr;
    RECT rcGameArea = {10, 10, 110, 60};
    int pageZoom = 100; // as the page reads back

    // CFeatureHost
    HWND Window() const override { return m_hWnd; }
    void NoticeChanged() override { ++noticeChanges; }
    void ApplyBaseLayout() override { ++baseLayouts; }
    UINT NewCommand() override { return m_list.NewCommand(); }
    UINT_PTR NewTimer() override { return m_list.NewTimer(); }
    UINT NewMessage() override { return m_list.NewMessage(); }
    int NewHotKey() override { return m_list.NewHotKey(); }

    // CZoomablePage
    bool ApplyZoom(int nPercent) override;
    bool ReadZoom(int* pnPercent) override;
    int OnScreen(int nPercent) const override { return nPercent; }
    void SetListener(Listener*) noexcept override {}

    // CShownPage
    CString PageUrl() const override { return CString(pageUrl.c_str()); }
    ComPtr<IDispatch> PageDocument() const override { return pDocument; }
    void Reload(bool bCompletely) override { ++(bCompletely ? completeReloads : reloads); }

    // CGameView
    HWND FindGame() const override { return hWndGame; }
    RECT GameArea() const override { return rcGameArea; }
    void FocusGame() override { ++gameFocused; }
    void ShowAlone(bool bAlone) override { m_bAlone = bAlone; }
    bool IsAlone() const override { return m_bAlone; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    TempDir m_dir;
    CString m_strFolder;
    CSettings m_settings;
    CPageZoom m_zoom{*this};
    CGameSound m_mute;
    CFeatureList m_list{16};
    HWND m_hWnd = nullptr;
    bool m_bAlone = false;
};
