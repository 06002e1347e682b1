#include "Features.h"

#include "launcher/features/AnotherAccountFeature.h"
#include "launcher/features/BossKeyFeature.h"
#include "launcher/features/CacheClearFeature.h"
#include "launcher/features/FlashStatusFeature.h"
#include "launcher/features/MuteFeature.h"
#include "launcher/OrlimWebDlg.h"
#include "launcher/features/ReloadFeature.h"
#include "launcher/features/ScreenshotFeature.h"
#include "launcher/features/TopMostFeature.h"
#include "launcher/features/ZoomFeature.h"
#include "browser/DlgWeb.h"
#include "framework/CRect.h"

CFeatures::CFeatures(COrlimWebDlg& launcher, CDlgWeb& pane, CPageZoom& zoom, CSettings& settings,
                     const CString& strStartFolder, std::function<void()> onNoticeChanged)
    : m_launcher(launcher), m_pane(pane), m_zoom(zoom), m_settings(settings), m_strStartFolder(strStartFolder),
      m_onNoticeChanged(std::move(onNoticeChanged))
{
    // The comforts, in the order of their rows above Close.
    m_features.push_back(std::make_unique<CFlashStatusFeature>(*this));
    m_features.push_back(std::make_unique<CTopMostFeature>(*this));
    m_features.push_back(std::make_unique<CReloadFeature>(*this));
    m_features.push_back(std::make_unique<CCacheClearFeature>(*this));
    m_features.push_back(std::make_unique<CZoomFeature>(*this));
    auto pMute = std::make_unique<CMuteFeature>(*this);
    CGameMute& mute = pMute->Mute();
    m_features.push_back(std::move(pMute));
    m_features.push_back(std::make_unique<CScreenshotFeature>(*this));
    m_features.push_back(std::make_unique<CBossKeyFeature>(*this, mute));
    m_features.push_back(std::make_unique<CAnotherAccountFeature>(*this));
}

CFeatures::~CFeatures() = default;

void CFeatures::BeforeBrowser()
{
    for (const auto& pFeature : m_features)
        pFeature->BeforeBrowser();
}

void CFeatures::Start()
{
    std::vector<CSystemMenu::Row> rows;
    for (const auto& pFeature : m_features)
    {
        pFeature->OnStart();
        for (CSystemMenu::Row& row : pFeature->MenuRows())
            rows.push_back(std::move(row));
    }
    m_menu.Insert(Window(), std::move(rows));
}

void CFeatures::Placed()
{
    for (const auto& pFeature : m_features)
        pFeature->OnPlaced();
}

bool CFeatures::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    *pResult = 0;
    switch (message)
    {
    case WM_INITMENUPOPUP:
        // What the world changed meanwhile (the sound, the screenshots'
        // folder, the page shown) is asked only now that the player opens
        // the menu. The menu is known by its handle: an opening by a right
        // click on the caption need not say that it is the system menu. The
        // window goes on as usual.
        if (const auto hMenu = reinterpret_cast<HMENU>(wParam); m_menu.IsSystemMenu(hMenu) || HIWORD(lParam))
        {
            for (const auto& pFeature : m_features)
                pFeature->OnMenuOpening();
            m_menu.Update();
        }
        else if (m_menu.IsSubMenu(hMenu))
        {
            m_menu.Update();
        }
        return false;
    case WM_SYSCOMMAND:
        return m_menu.Command(static_cast<UINT>(wParam & 0xFFF0));
    case WM_COMMAND:
        // The items of a sub-menu of the system menu come as WM_COMMAND (the
        // sub-menu is no system menu of its own): its ids are taken from both.
        return lParam == 0 && HIWORD(wParam) == 0 && m_menu.Command(LOWORD(wParam));
    case WM_ENDSESSION:
        if (wParam)
            End();
        return false;
    default:
        for (const auto& pFeature : m_features)
            if (pFeature->OnMessage(message, wParam, lParam, pResult))
                return true;
        return false;
    }
}

void CFeatures::End()
{
    for (const auto& pFeature : m_features)
        pFeature->OnEnd();
}

CString CFeatures::NoticeText() const
{
    CString strNotice;
    for (const auto& pFeature : m_features)
    {
        const CString strText = pFeature->NoticeText();
        if (strText.IsEmpty())
            continue;
        if (!strNotice.IsEmpty())
            strNotice += L"；";
        strNotice += strText;
    }
    return strNotice;
}

HWND CFeatures::Window() const
{
    return m_launcher.m_hWnd;
}

void CFeatures::SaveOption(const wchar_t* lpszKey, const wchar_t* lpszValue)
{
    m_settings.SaveOption(lpszKey, lpszValue);
}

CString CFeatures::PageUrl() const
{
    return m_pane.m_explorer.TryGetLocationURL();
}

ComPtr<IDispatch> CFeatures::PageDocument() const
{
    return m_pane.m_explorer.TryGetDocument();
}

void CFeatures::ReloadPage(bool bCompletely)
{
    m_pane.Reload(bCompletely);
}

HWND CFeatures::FindGame() const
{
    const HWND hWndExplorer = m_pane.m_explorer.m_hWnd;
    return hWndExplorer ? m_launcher.FindFlashWindow(hWndExplorer) : nullptr;
}

RECT CFeatures::GameArea() const
{
    // The game's window as far as the windows it lies in show it: the
    // browser's, the pane's and the launcher's client area; all the pane
    // shows when there is no game.
    const HWND hWndLauncher = m_launcher.m_hWnd;
    const HWND hWndFlash = FindGame();
    CRect rcShown;
    HWND hWnd = hWndFlash ? hWndFlash : m_pane.m_hWnd;
    ::GetWindowRect(hWnd, &rcShown);
    for (hWnd = ::GetParent(hWnd); hWnd && hWnd != hWndLauncher; hWnd = ::GetParent(hWnd))
    {
        CRect rcParent;
        ::GetWindowRect(hWnd, &rcParent);
        ::IntersectRect(&rcShown, &rcShown, &rcParent);
    }
    CRect rcClient;
    ::GetClientRect(hWndLauncher, &rcClient);
    ::MapWindowPoints(hWndLauncher, nullptr, reinterpret_cast<LPPOINT>(&rcClient), 2);
    ::IntersectRect(&rcShown, &rcShown, &rcClient);
    return rcShown;
}

void CFeatures::FocusGame()
{
    HWND hWnd = FindGame();
    if (!hWnd)
        hWnd = m_pane.m_explorer.m_hWnd;
    if (hWnd)
        ::SetFocus(hWnd);
}

void CFeatures::ApplyBaseLayout()
{
    m_launcher.ApplyBaseLayout();
}
