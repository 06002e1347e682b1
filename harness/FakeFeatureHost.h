#pragma once

#include "harness/TempDir.h"

#include "launcher/features/Feature.h"
#include "launcher/features/FeatureHost.h"
#include "launcher/services/PageZoom.h"
#include "launcher/features/SystemMenu.h"

#include <string>
#include <utility>
#include <vector>

// A host for the launcher's features without the launcher: a plain window
// with a system menu, whose messages go to the features added, a page whose
// zoom is recorded, and the options in a settings file of a folder of its
// own. What the features ask of it is recorded.
class FakeFeatureHost final : public CFeatureHost, public CZoomablePage
{
public:
    FakeFeatureHost();
    ~FakeFeatureHost();
    FakeFeatureHost(const FakeFeatureHost&) = delete;
    FakeFeatureHost& operator=(const FakeFeatureHost&) = delete;

    // The settings file's "[options]" before Start.
    void WriteOptions(const std::string& lines);
    // Starts a feature as the launcher does (its options read, its rows in
    // the window's system menu); it is offered the window's messages.
    void Start(CFeature& feature);
    // The player chooses a row; opens the menu.
    void Choose(UINT nID);
    void OpenMenu();
    UINT MenuState(UINT nID) const;
    std::wstring MenuText(UINT nID) const;

    // What the features did.
    std::vector<std::pair<std::wstring, std::wstring>> saved; // key, value ("(removed)")
    std::vector<int> zooms;                                   // asked of the page
    int reloads = 0;
    int completeReloads = 0;
    int baseLayouts = 0;
    int gameFocused = 0;
    // What the host gives them.
    std::wstring pageUrl = L"http://www.velka.cn/";
    ComPtr<IDispatch> pDocument;
    HWND hWndGame = nullptr;
    RECT rcGameArea = {10, 10, 110, 60};
    int pageZoom = 100; // as the page reads back

    // CFeatureHost
    HWND Window() const override { return m_hWnd; }
    const CString& StartFolder() const override { return m_strFolder; }
    const CString& SettingsFolder() const override { return m_strFolder; }
    const COptions& Options() const override { return m_options; }
    void SaveOption(const wchar_t* lpszKey, const wchar_t* lpszValue) override;
    CPageZoom& Zoom() override { return m_zoom; }
    CString PageUrl() const override { return CString(pageUrl.c_str()); }
    ComPtr<IDispatch> PageDocument() const override { return pDocument; }
    void ReloadPage(bool bCompletely) override { ++(bCompletely ? completeReloads : reloads); }
    HWND FindGame() const override { return hWndGame; }
    RECT GameArea() const override { return rcGameArea; }
    void FocusGame() override { ++gameFocused; }
    void ApplyBaseLayout() override { ++baseLayouts; }
    void NoticeChanged() override {}

    // CZoomablePage
    bool ApplyZoom(int nPercent) override;
    bool ReadZoom(int* pnPercent) override;
    int OnScreen(int nPercent) const override { return nPercent; }
    void SetListener(Listener*) noexcept override {}

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    TempDir m_dir;
    CString m_strFolder;
    COptions m_options;
    CPageZoom m_zoom{*this};
    std::vector<CFeature*> m_features;
    CSystemMenu m_menu;
    std::vector<CSystemMenu::Row> m_rows;
    HWND m_hWnd = nullptr;
};
