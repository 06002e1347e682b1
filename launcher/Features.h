#pragma once

#include "launcher/features/Feature.h"
#include "launcher/features/FeatureHost.h"
#include "launcher/settings/Settings.h"
#include "launcher/features/SystemMenu.h"

#include <functional>
#include <memory>
#include <vector>

class CDlgWeb;
class COrlimWebDlg;
class CPageZoom;

// The launcher's comforts, as its window hosts them: the features listed in
// one place (Features.cpp), what the host gives them, their rows of the
// system menu, and the window's messages offered to each.
class CFeatures final : public CFeatureHost
{
public:
    // strStartFolder: the folder the launcher was started in, a full path.
    CFeatures(COrlimWebDlg& launcher, CDlgWeb& pane, CPageZoom& zoom, CSettings& settings,
              const CString& strStartFolder, std::function<void()> onNoticeChanged);
    ~CFeatures();
    CFeatures(const CFeatures&) = delete;
    CFeatures& operator=(const CFeatures&) = delete;

    // The launcher's start, in three steps (see CFeature).
    void BeforeBrowser();
    void Start();
    void Placed();
    // A message to the launcher's window: true when a feature took it (the
    // system menu's commands and opening, a feature's own message).
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The launcher ends.
    void End();
    // The notice line: what is wrong, in the features' order.
    CString NoticeText() const;

    // CFeatureHost
    HWND Window() const override;
    const CString& StartFolder() const override { return m_strStartFolder; }
    const CString& SettingsFolder() const override { return m_settings.Folder(); }
    const COptions& Options() const override { return m_settings.Options(); }
    void SaveOption(const wchar_t* lpszKey, const wchar_t* lpszValue) override;
    CPageZoom& Zoom() override { return m_zoom; }
    CString PageUrl() const override;
    ComPtr<IDispatch> PageDocument() const override;
    void ReloadPage(bool bCompletely) override;
    HWND FindGame() const override;
    RECT GameArea() const override;
    void FocusGame() override;
    void ApplyBaseLayout() override;
    void NoticeChanged() override { m_onNoticeChanged(); }

private:
    COrlimWebDlg& m_launcher;
    CDlgWeb& m_pane;
    CPageZoom& m_zoom;
    CSettings& m_settings;
    CString m_strStartFolder;
    std::function<void()> m_onNoticeChanged;
    std::vector<std::unique_ptr<CFeature>> m_features;
    CSystemMenu m_menu;
};
