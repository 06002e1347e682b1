#include "ScreenshotFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/features/GameView.h"
#include "launcher/settings/Settings.h"

namespace
{

// A screenshot waits until the menu it was chosen in has gone (its fading
// selection, where the system fades it), and then again until what the
// launcher painted for it is on the screen.
const UINT kDelay = 50;
const UINT kDelayFading = 400;
const wchar_t kScreenshotKey[] = L"ScreenshotKey";

CString FolderIn(const CString& strFolder)
{
    CString strPictures = strFolder;
    strPictures += L"\\截图";
    return strPictures;
}

} // namespace

CScreenshotFeature::CScreenshotFeature(CFeatureHost& host, const CSettings& settings, CGameView& game)
    : CFeature(host), m_settings(settings), m_game(game), m_nTakeCommand(host.NewCommand()),
      m_nOpenCommand(host.NewCommand()), m_nTimer(host.NewTimer()), m_screenshot(FolderIn(settings.Folder()))
{
}

std::vector<CSystemMenu::Row> CScreenshotFeature::MenuRows()
{
    CSystemMenu::Row take;
    take.nID = m_nTakeCommand;
    take.lpszText = L"截图";
    take.key = CKey::GameKey(m_settings.Options().Text(kScreenshotKey), CKey{0, VK_F8});
    take.action = [this](UINT) {
        BOOL bFading = FALSE;
        if (!::SystemParametersInfoW(SPI_GETSELECTIONFADE, 0, &bFading, 0))
            bFading = FALSE;
        ::SetTimer(Host().Window(), m_nTimer, bFading ? kDelayFading : kDelay, nullptr);
    };
    CSystemMenu::Row open;
    open.nID = m_nOpenCommand;
    open.lpszText = L"打开截图文件夹";
    open.state = [this] { return m_bFolderExists ? 0U : UINT(MFS_GRAYED); };
    open.action = [this](UINT) { m_screenshot.OpenFolder(Host().Window()); };
    return {take, open};
}

bool CScreenshotFeature::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult)
{
    if (message != WM_TIMER || wParam != m_nTimer)
        return false;
    ::KillTimer(Host().Window(), m_nTimer);
    NextStep();
    *pResult = 0;
    return true;
}

void CScreenshotFeature::NextStep()
{
    if (!m_screenshot.IsPrepared())
    {
        if (m_screenshot.Prepare(Host().Window()))
            ::SetTimer(Host().Window(), m_nTimer, kDelay, nullptr);
        return;
    }
    const bool bNotSaved = m_screenshot.Take(m_game.GameArea()).IsEmpty();
    if (bNotSaved != m_bNotSaved)
    {
        m_bNotSaved = bNotSaved;
        Host().NoticeChanged();
    }
}

CString CScreenshotFeature::NoticeText() const
{
    CString strText;
    if (m_bNotSaved)
        strText.Format(L"截图未能保存到 %ls", static_cast<const wchar_t*>(m_screenshot.Folder()));
    return strText;
}
