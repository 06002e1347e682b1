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

// The strip's part of a launcher's client area is painted anew.
void InvalidateStrip(HWND hWnd)
{
    RECT rcStrip;
    ::GetClientRect(hWnd, &rcStrip);
    rcStrip.bottom = kStripHeight;
    ::InvalidateRect(hWnd, &rcStrip, FALSE);
}

// Whether a point of the screen is over a disabled control of a window (the
// address box on a platform row passes the mouse on, but is no bare strip).
bool IsOverDisabledControl(HWND hWnd, POINT ptScreen)
{
    POINT pt = ptScreen;
    ::ScreenToClient(hWnd, &pt);
    const HWND hChild = ::ChildWindowFromPointEx(hWnd, pt, CWP_SKIPINVISIBLE);
    return hChild && hChild != hWnd && !::IsWindowEnabled(hChild);
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
END_MESSAGE_MAP()

COrlimWebDlg::COrlimWebDlg(CWnd* pParent)
    : CDialog(IDD_LAUNCHER_DIALOG, pParent), m_brStrip(::CreateSolidBrush(kStripColor)),
      m_strStartFolder(StartFolderPath()),
      m_host(
          *this, m_dlgWeb, m_strStartFolder, [this] { InvalidateStrip(m_hWnd); }, [this] { ApplyBaseLayout(); })
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
    FillPlatformUrls();
    LoadSettings();
    StartupMarks::Mark("settings read");
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
    if (m_host.OnMessage(message, wParam, lParam, &lResult))
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
    ::SetWindowPos(m_dlgWeb.ControlWindow(), nullptr, 0, 0, w, h, 0);
    KeepOnScreen(m_hWnd);
}

void COrlimWebDlg::OnPaint()
{
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    CPaintDC dc(this);
    if (m_host.Game().IsAlone())
    {
        // No strip: the game stands on black.
        dc.FillSolidRect(&rect, RGB(0, 0, 0));
        return;
    }
    rect.bottom = rect.top + kStripHeight;
    dc.FillSolidRect(&rect, kStripColor);
    const CString strNotice = m_host.NoticeText();
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
    m_host.Painted();
}

void COrlimWebDlg::OnSize(UINT nType, int cx, int cy)
{
    // Started minimised ("Run: Minimized"), it paints nothing until restored:
    // shown all the same.
    if (nType == SIZE_MINIMIZED)
        m_host.Painted();
    // The notice's end is cut where the strip ends: painted anew at every
    // width, so its ellipsis stands where the width now cuts it.
    if (!m_host.NoticeText().IsEmpty())
        InvalidateStrip(m_hWnd);
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
    // mouse on too, but is no bare strip; nor is the black around the game
    // alone on the screen.
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    ClientToScreen(&rect);
    if (::PtInRect(&rect, point) && !IsOverDisabledControl(m_hWnd, point) && !m_host.Game().IsAlone())
        return HTCAPTION;
    return CDialog::OnNcHitTest(point);
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
    ::SetWindowPos(m_dlgWeb.ControlWindow(), nullptr, 0, 0, rect.Width(), rect.Height() - kExplorerHeightMargin, 0);

    m_nCurSel = m_cbPlatform.GetCurSel();
    GetDlgItem(IDC_URL_EDIT)->EnableWindow(IsManualEntryRow(m_nCurSel));
    SetDlgItemText(IDC_URL_EDIT, GetPlatformUrl(m_nCurSel));
    m_dlgWeb.Navigate(GetPlatformUrl(m_cbPlatform.GetCurSel()));
    GetDlgItem(IDC_ENTER_BUTTON)->SetFocus();
    SaveSettings(bChosen);
}

void COrlimWebDlg::OnBnClickedEnterButton()
{
    // The box is read as it stands, also while it is disabled.
    CString strUrl;
    GetDlgItemText(IDC_URL_EDIT, strUrl);
    if (strUrl.IsEmpty())
        strUrl = GetPlatformUrl(m_cbPlatform.GetCurSel());
    m_dlgWeb.Navigate(strUrl);
    m_nCurSel = m_cbPlatform.GetCurSel();
    SaveSettings(true);
}
