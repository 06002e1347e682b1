#include "OrlimWebDlg.h"

#include "framework/CDC.h"
#include "framework/CDataExchange.h"
#include "framework/CPaintDC.h"
#include "framework/CRect.h"
#include "framework/CWinApp.h"
#include "framework/StartupMarks.h"
#include "launcher/LauncherIds.h"
#include "launcher/services/OnScreen.h"
#include "res/resource.h"

#include <vector>

namespace
{

// Header strip and base layout.
const COLORREF kStripColor = RGB(0, 174, 255);
const int kStripHeight = 25;
const COLORREF kNoticeColor = RGB(255, 255, 255);
const int kNoticeGap = 12; // between the check box and the notice, and at the strip's right end
// How long a launcher that ends waits for a program holding its settings file.
const DWORD kEndSavePatienceMs = 2000;
const int kBaseWidth = 1148;
const int kBaseHeight = 750;
const int kExplorerHeightMargin = 2; // taken from the outer height by a platform choice

// The full path of the folder the launcher was started in.
CString StartFolderPath()
{
    CString strPath;
    const DWORD cch = ::GetFullPathNameW(L".", 0, nullptr, nullptr);
    if (cch == 0)
        return CString(L".");
    const DWORD cchCopied = ::GetFullPathNameW(L".", cch, strPath.GetBuffer(static_cast<int>(cch)), nullptr);
    strPath.ReleaseBuffer(cchCopied < cch ? static_cast<int>(cchCopied) : 0);
    return strPath.IsEmpty() ? CString(L".") : strPath;
}

} // namespace

BEGIN_MESSAGE_MAP(COrlimWebDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_ENTER_BUTTON, OnBnClickedEnterButton)
    ON_CBN_SELCHANGE(IDC_PLATFORM_COMBO, OnCbnSelchangePlatformCombo)
    ON_WM_CLOSE()
    ON_WM_NCHITTEST()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_AUTOFIT_CHECK, OnBnClickedAutofitCheck)
    ON_WM_DESTROY()
    ON_WM_ENDSESSION()
    ON_WM_SIZE()
    ON_MESSAGE(LauncherIds::kShownMessage, OnShown)
END_MESSAGE_MAP()

COrlimWebDlg::COrlimWebDlg(CWnd* pParent)
    : CDialog(IDD_LAUNCHER_DIALOG, pParent), m_brStrip(::CreateSolidBrush(kStripColor)),
      m_strStartFolder(StartFolderPath()),
      m_host(*this, *this, m_dlgWeb, m_dlgWeb, m_strStartFolder, [this] { InvalidateStrip(); })
{
    // A shared icon of the program's own resources: the system frees it.
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

void COrlimWebDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PLATFORM_COMBO, m_cbPlatform);
}

BOOL COrlimWebDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    StartupMarks::Mark("dialog made");

    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_host.Features().BeforeBrowser();
    StartupMarks::Mark("features before the browser");
    m_dlgWeb.Create(IDD_BROWSER_PANE);
    StartupMarks::Mark("pane and browser control made");
    m_host.Settings().Attach(
        m_hWnd, LauncherIds::kSettingsTimer, [this] { InvalidateStrip(); },
        [this] {
            // Read after all, once another program let go: what the player
            // chose meanwhile stands.
            m_host.Features().OptionsRead();
            if (m_host.Settings().IsRowChosen())
                return;
            ShowStoredRow();
            OpenCurrentRow(false);
        });
    FillPlatformUrls();
    LoadSettings();
    StartupMarks::Mark("settings read");
    // The first navigation's save, like any before the window shows, waits
    // until it has.
    m_host.Settings().HoldSaves(LauncherIds::kSavesHeldMostMs);
    m_host.Features().Start(m_hWnd);
    StartupMarks::Mark("features started");
    ApplyBaseLayout();
    OpenCurrentRow(false); // the first navigation, as if the row had been chosen
    StartupMarks::Mark("first navigation");

    ::SendMessageW(GetDlgItem(IDC_AUTOFIT_CHECK)->GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    ::SetTimer(m_hWnd, LauncherIds::kAutoFitTimer, LauncherIds::kAutoFitPeriodMs, nullptr);
    m_host.Features().Placed();
    StartupMarks::Mark("features placed");
    ::BringWindowToTop(m_hWnd);
    return TRUE; // the dialog manager focuses the first tab stop, the drop-down
}

LRESULT COrlimWebDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SHOWWINDOW && wParam)
        StartupMarks::Mark("shown");
    LRESULT lResult = 0;
    if (m_host.Features().OnMessage(message, wParam, lParam, &lResult))
        return lResult;
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL COrlimWebDlg::PreTranslateMessage(MSG* pMsg)
{
    // Enter and Escape never act on the launcher: it has no default button
    // and cannot be cancelled.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void COrlimWebDlg::OnOK() {}

// Layout and painting

void COrlimWebDlg::ApplyBaseLayout()
{
    SetWindowPos(nullptr, 0, 0, kBaseWidth, kBaseHeight, SWP_NOMOVE);
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    const int w = rect.Width();
    const int h = rect.Height() - kStripHeight;
    ::SetWindowPos(m_dlgWeb.m_hWnd, nullptr, 0, kStripHeight, w, h, SWP_SHOWWINDOW);
    ::SetWindowPos(m_dlgWeb.m_explorer.m_hWnd, nullptr, 0, 0, w, h, 0);
    KeepOnScreen(m_hWnd);
}

HWND COrlimWebDlg::FindGame() const
{
    const HWND hWndExplorer = m_dlgWeb.m_explorer.m_hWnd;
    return hWndExplorer ? FindFlashWindow(hWndExplorer) : nullptr;
}

RECT COrlimWebDlg::GameArea() const
{
    // The game's window as far as the windows it lies in show it: the
    // browser's, the pane's and the launcher's client area; all the pane
    // shows when there is no game.
    const HWND hWndFlash = FindGame();
    CRect rcShown;
    HWND hWnd = hWndFlash ? hWndFlash : m_dlgWeb.m_hWnd;
    ::GetWindowRect(hWnd, &rcShown);
    for (hWnd = ::GetParent(hWnd); hWnd && hWnd != m_hWnd; hWnd = ::GetParent(hWnd))
    {
        CRect rcParent;
        ::GetWindowRect(hWnd, &rcParent);
        ::IntersectRect(&rcShown, &rcShown, &rcParent);
    }
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(&rcClient), 2);
    ::IntersectRect(&rcShown, &rcShown, &rcClient);
    return rcShown;
}

void COrlimWebDlg::FocusGame()
{
    HWND hWnd = FindGame();
    if (!hWnd)
        hWnd = m_dlgWeb.m_explorer.m_hWnd;
    if (hWnd)
        ::SetFocus(hWnd);
}

void COrlimWebDlg::OnPaint()
{
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    rect.bottom = rect.top + kStripHeight;
    CPaintDC dc(this);
    dc.FillSolidRect(&rect, kStripColor);
    const CString strNotice = NoticeText();
    if (!strNotice.IsEmpty())
    {
        // One line of white text on the strip, right of the check box; the
        // strip stays blue at both ends and still drags the window.
        CRect rcCheck;
        ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_AUTOFIT_CHECK), &rcCheck);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&rcCheck), 2);
        rect.left = rcCheck.right + kNoticeGap;
        rect.right -= kNoticeGap;
        const auto hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        const ScopedSelectObject font(dc, hFont);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(kNoticeColor);
        dc.DrawText(strNotice, -1, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    CDialog::OnPaint();
    if (!m_bShown)
        StartupMarks::Mark("first paint");
    WhenShown();
}

CString COrlimWebDlg::NoticeText() const
{
    // What the player can do something about first; where the settings are
    // kept, which every start of a launcher under Program Files says, last.
    std::vector<CString> texts = {m_host.Settings().Problem()};
    for (CString& strText : m_host.Features().Notices())
        texts.push_back(std::move(strText));
    texts.push_back(m_host.Settings().Where());
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

void COrlimWebDlg::InvalidateStrip()
{
    RECT rcStrip;
    ::GetClientRect(m_hWnd, &rcStrip);
    rcStrip.bottom = kStripHeight;
    ::InvalidateRect(m_hWnd, &rcStrip, FALSE);
}

void COrlimWebDlg::WhenShown()
{
    if (m_bShown)
        return;
    m_bShown = true;
    ::PostMessageW(m_hWnd, LauncherIds::kShownMessage, 0, 0);
}

LRESULT COrlimWebDlg::OnShown(WPARAM, LPARAM)
{
    // Once (a program broadcasting WM_APP would ask again).
    if (m_bShownDone)
        return 0;
    m_bShownDone = true;
    m_host.Settings().ResumeSaves();
    m_host.Features().Shown();
    StartupMarks::Mark("saves and comforts after the first paint");
    StartupMarks::Done();
    return 0;
}

void COrlimWebDlg::OnSize(UINT nType, int cx, int cy)
{
    // Started minimised ("Run: Minimized"), it paints nothing until restored:
    // shown all the same.
    if (nType == SIZE_MINIMIZED)
        WhenShown();
    // The notice's end is cut where the strip ends: painted anew at every
    // width, so its ellipsis stands where the width now cuts it.
    if (!NoticeText().IsEmpty())
        InvalidateStrip();
    CDialog::OnSize(nType, cx, cy);
}

HBRUSH COrlimWebDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    const HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd->GetDlgCtrlID() == IDC_STATIC)
    {
        // The label stands on the strip. The strip's own painting does not
        // reach under it (the launcher clips its children), so the label
        // fills its background with the strip's colour.
        pDC->SetBkMode(TRANSPARENT);
        return m_brStrip.Get();
    }
    return hbr;
}

LRESULT COrlimWebDlg::OnNcHitTest(CPoint point)
{
    // The launcher only sees this where none of its children takes it: on
    // the strip's bare parts and the label. There it drags like a caption.
    // A disabled control (the address box on a platform row) passes the
    // mouse on too, but is no bare strip.
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    ClientToScreen(&rect);
    if (::PtInRect(&rect, point) && !IsOverDisabledControl(point))
        return HTCAPTION;
    return CDialog::OnNcHitTest(point);
}

bool COrlimWebDlg::IsOverDisabledControl(POINT ptScreen) const
{
    POINT pt = ptScreen;
    ::ScreenToClient(m_hWnd, &pt);
    const HWND hChild = ::ChildWindowFromPointEx(m_hWnd, pt, CWP_SKIPINVISIBLE);
    return hChild && hChild != m_hWnd && !::IsWindowEnabled(hChild);
}

void COrlimWebDlg::OnClose()
{
    // One question at a time: a close request while it is open is dropped.
    if (m_bAskingToClose)
        return;
    m_bAskingToClose = true;
    const int nAnswer = MessageBox(L"你真的想退出吗？", L"退出提示", MB_YESNO);
    m_bAskingToClose = false;
    if (nAnswer == IDYES)
    {
        m_host.Features().End();
        // What waits to be saved has its last chance, the window gone.
        ::ShowWindow(m_hWnd, SW_HIDE);
        m_host.Settings().Flush(kEndSavePatienceMs);
        ::ExitProcess(0);
    }
}

void COrlimWebDlg::OnEndSession(BOOL bEnding)
{
    if (bEnding)
        m_host.Settings().Flush(kEndSavePatienceMs); // the features have ended
    CDialog::OnEndSession(bEnding);
}

void COrlimWebDlg::OnDestroy()
{
    m_host.Features().End();
    m_host.Settings().Flush(kEndSavePatienceMs);
    CDialog::OnDestroy();
}

// Navigation

void COrlimWebDlg::OnCbnSelchangePlatformCombo()
{
    OpenCurrentRow(true);
}

void COrlimWebDlg::OpenCurrentRow(bool bChosen)
{
    CRect rect;
    ::GetWindowRect(m_hWnd, &rect);
    ::SetWindowPos(m_dlgWeb.m_explorer.m_hWnd, nullptr, 0, 0, rect.Width(), rect.Height() - kExplorerHeightMargin, 0);

    m_nCurSel = GetCurrentRow();
    GetDlgItem(IDC_URL_EDIT)->EnableWindow(IsManualEntryRow(m_nCurSel));
    SetDlgItemText(IDC_URL_EDIT, GetPlatformUrl(m_nCurSel));
    m_dlgWeb.m_explorer.Navigate(GetPlatformUrl(GetCurrentRow()), nullptr, nullptr, nullptr, nullptr);
    GetDlgItem(IDC_ENTER_BUTTON)->SetFocus();
    SaveSettings(bChosen);
}

void COrlimWebDlg::OnBnClickedEnterButton()
{
    // The box is read as it stands, also while it is disabled.
    CString strUrl;
    GetDlgItemText(IDC_URL_EDIT, strUrl);
    if (strUrl.IsEmpty())
        strUrl = GetPlatformUrl(GetCurrentRow());
    m_dlgWeb.m_explorer.Navigate(strUrl, nullptr, nullptr, nullptr, nullptr);
    m_nCurSel = GetCurrentRow();
    SaveSettings(true);
}
