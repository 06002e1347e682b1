#pragma once

#include "launcher/features/Feature.h"
#include "launcher/services/GameScreenshot.h"

// "截图" and "打开截图文件夹": pictures of the game alone, in a folder "截图"
// beside the settings file.
class CScreenshotFeature final : public CFeature
{
public:
    explicit CScreenshotFeature(CFeatureHost& host);

    std::vector<CSystemMenu::Row> MenuRows() override;
    void OnMenuOpening() override { m_bFolderExists = m_screenshot.FolderExists(); }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The last picture could not be saved (its folder cannot be made or
    // written), until one is.
    CString NoticeText() const override;

private:
    // The picture's next step: the launcher made ready, then the picture.
    void NextStep();

    CGameScreenshot m_screenshot;
    bool m_bFolderExists = false; // as the menu last asked
    bool m_bNotSaved = false;
};
