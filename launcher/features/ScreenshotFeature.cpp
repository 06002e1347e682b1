#include "ScreenshotFeature.h"

#include "launcher/features/FeatureHost.h"
#include "launcher/LauncherIds.h"
#include "res/resource.h"

namespace
{

// A screenshot waits until the menu it was chosen in has gone (its fading
// selection, where the system fades it), and then again until what the
// launcher painted for it is on the screen.
const UINT kDelay = 50;
const UINT kDelayFading = 400;

CString FolderOf(const CFeatureHost& host)
{
    CString strFolder = host.SettingsFolder();
    strFolder += L"\\截图";
    return strFolder;
}

} // namespace

CScreenshotFeature::CScreenshotFeature(CFeatureHost& host) : CFeature(host), m_screenshot(FolderOf(host)) {}

std::vector<CSystemMenu::Row> CScreenshotFeature::MenuRows()
{
    CSystemMenu::Row take;
    take.nID = IDM_SCREENSHOT;
    take.lpszText = L"截图";
    take.action = [this](UINT) {
        BOOL bFading = FALSE;
        if (!::SystemParametersInfoW(SPI_GETSELECTIONFADE, 0, &bFading, 0))
            bFading = FALSE;
        ::SetTimer(Host().Window(), LauncherIds::kScreenshotTimer, bFading ? kDelayFading : kDelay, nullptr);
    };
    CSystemMenu::Row open;
    open.nID = IDM_OPEN_SCREENSHOTS;
    open.lpszText = L"打开截图文件夹";
    open.state = [this] { return m_bFolderExists ? 0U : UINT(MFS_GRAYED); };
    open.action = [this](UINT) { m_screenshot.OpenFolder(Host().Window()); };
    return {take, open};
}

bool CScreenshotFeature::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult)
{
    if (message != WM_TIMER || wParam != LauncherIds::kScreenshotTimer)
        return false;
    ::KillTimer(Host().Window(), LauncherIds::kScreenshotTimer);
    NextStep();
    *pResult = 0;
    return true;
}

void CScreenshotFeature::NextStep()
{
    if (!m_screenshot.IsPrepared())
    {
        if (m_screenshot.Prepare(Host().Window()))
            ::SetTimer(Host().Window(), LauncherIds::kScreenshotTimer, kDelay, nullptr);
        return;
    }
    const bool bNotSaved = m_screenshot.Take(Host().GameArea()).IsEmpty();
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
