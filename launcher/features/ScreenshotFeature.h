#pragma once

#include "launcher/features/Feature.h"
#include "launcher/services/GameScreenshot.h"

class CGameView;

// "截图" and "打开截图文件夹": pictures of the game alone, in a folder "截图"
// beside the settings file.
class CScreenshotFeature final : public CFeature
{
public:
    // strSettingsFolder: the folder the settings file is kept in.
    CScreenshotFeature(CFeatureHost& host, const CString& strSettingsFolder, CGameView& game);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnMenuOpening() override { m_bFolderExists = m_screenshot.FolderExists(); }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The last picture could not be saved (its folder cannot be made or
    // written), until one is.
    CString NoticeText() const override;

private:
    // The picture's next step: the launcher made ready, then the picture.
    void NextStep();

    CGameView& m_game;
    const UINT m_nTakeCommand;
    const UINT m_nOpenCommand;
    const UINT_PTR m_nTimer; // a screenshot's two steps
    CGameScreenshot m_screenshot;
    bool m_bFolderExists = false; // as the menu last asked
    bool m_bNotSaved = false;
};
