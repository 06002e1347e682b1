#pragma once

#include "launcher/features/Feature.h"
#include "launcher/services/GameScreenshot.h"

class CGameView;
class CSettings;

// "截图" and "打开截图文件夹": pictures of the game alone, in a folder "截图"
// beside the settings file; a key takes one too ("ScreenshotKey", F8 at
// first).
class CScreenshotFeature final : public CFeature
{
public:
    CScreenshotFeature(CFeatureHost& host, const CSettings& settings, CGameView& game);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnMenuOpening() override { m_bFolderExists = m_screenshot.FolderExists(); }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The last picture could not be saved (its folder cannot be made or
    // written), until one is.
    CString NoticeText() const override;

private:
    // The picture's next step: the launcher made ready, then the picture.
    void NextStep();

    const CSettings& m_settings;
    CGameView& m_game;
    const UINT m_nTakeCommand;
    const UINT m_nOpenCommand;
    const UINT_PTR m_nTimer; // a screenshot's two steps
    CGameScreenshot m_screenshot;
    bool m_bFolderExists = false; // as the menu last asked
    bool m_bNotSaved = false;
};
