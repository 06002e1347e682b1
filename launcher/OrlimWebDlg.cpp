#include "OrlimWebDlg.h"

#include "framework/CDC.h"
#include "framework/CDataExchange.h"
#include "framework/CPaintDC.h"
#include "framework/CRect.h"
#include "framework/CWinApp.h"
#include "res/resource.h"

namespace
{

// Header strip and base layout.
const COLORREF kStripColor = RGB(0, 174, 255);
const int kBaseWidth = 1148;
const int kBaseHeight = 750;
const int kExplorerHeightMargin = 2; // taken from the outer height by a platform choice

// A path of the folder the launcher was started in, fixed at start.
CString StartFolderPath(const wchar_t* lpszRelative)
{
    CString strPath;
    const DWORD cch = ::GetFullPathNameW(lpszRelative, 0, nullptr, nullptr);
    if (cch == 0)
        return CString(lpszRelative);
    const DWORD cchCopied = ::GetFullPathNameW(lpszRelative, cch, strPath.GetBuffer(static_cast<int>(cch)), nullptr);
    strPath.ReleaseBuffer(cchCopied < cch ? static_cast<int>(cchCopied) : 0);
    return strPath.IsEmpty() ? CString(lpszRelative) : strPath;
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
    ON_WM_SYSCOMMAND()
    ON_WM_DESTROY()
    ON_WM_INITMENUPOPUP()
    ON_WM_HOTKEY()
    ON_WM_ENDSESSION()
    ON_WM_SIZE()
    ON_MESSAGE(kNotifyIconMessage, OnNotifyIcon)
    ON_MESSAGE(kAudioDeviceMessage, OnAudioDeviceChanged)
    ON_MESSAGE(kCacheClearedMessage, OnCacheCleared)
    ON_REGISTERED_MESSAGE(CNotifyIcon::s_nTaskbarCreated, OnTaskbarCreated)
    ON_REGISTERED_MESSAGE(CBossMode::s_nTogetherMessage, OnBossTogether)
END_MESSAGE_MAP()

COrlimWebDlg::COrlimWebDlg(CWnd* pParent)
    : CDialog(IDD_LAUNCHER_DIALOG, pParent), m_brStrip(::CreateSolidBrush(kStripColor)),
      m_strSettingsFile(StartFolderPath(L".\\UserVar.ini")), m_saver(m_strSettingsFile), m_bossMode(m_mute),
      m_screenshot(StartFolderPath(L".\\截图")), m_systemMenu(*this, SystemMenuRows())
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

    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // A launcher another one started for another account keeps its pages'
    // cookies to itself, from before its browser exists.
    POINT ptFrom = {};
    const bool bAnotherAccount = CAnotherAccount::IsStartedAsOne(&ptFrom);
    if (bAnotherAccount)
        CAnotherAccount::KeepCookiesToItself();
    m_dlgWeb.Create(IDD_BROWSER_PANE);
    m_saver.Attach(m_hWnd, kSettingsTimer, [this] { InvalidateStrip(); });
    FillPlatformUrls();
    LoadSettings();
    m_flashStatus = CFlashStatus::Detect();
    m_mute.Attach(m_hWnd, kAudioDeviceMessage);
    m_bossMode.OnSilence([this](bool bSilenced) {
        m_options.bBossMute = bSilenced;
        SaveOption(COptions::Item::BossMute);
    });
    LoadOptions();
    m_systemMenu.Insert(m_hWnd);
    ApplyBaseLayout();
    OnCbnSelchangePlatformCombo(); // the first navigation, as if the row had been chosen

    ::SendMessageW(GetDlgItem(IDC_AUTOFIT_CHECK)->GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    ::SetTimer(m_hWnd, kAutoFitTimer, kAutoFitPeriod, nullptr);
    if (bAnotherAccount)
    {
        // Below and right of the launcher it came from, by a caption's
        // height, so that both can be seen (and so it is not centred).
        const int nOffset = ::GetSystemMetrics(SM_CYCAPTION);
        ::SetWindowPos(m_hWnd, nullptr, ptFrom.x + nOffset, ptFrom.y + nOffset, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        KeepOnScreen(m_hWnd);
    }
    ::BringWindowToTop(m_hWnd);
    return TRUE; // the dialog manager focuses the first tab stop, the drop-down
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

void COrlimWebDlg::OnPaint()
{
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    rect.bottom = rect.top + kStripHeight;
    CPaintDC dc(this);
    dc.FillSolidRect(&rect, kStripColor);
    if (!NoticeText().IsEmpty())
        PaintNotice(dc);
    CDialog::OnPaint();
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
        m_bossMode.Detach(); // no icon, no silence and no keys left behind
        ::ShowWindow(m_hWnd, SW_HIDE);
        SaveBeforeEnd();
        ::ExitProcess(0);
    }
}

// Navigation

void COrlimWebDlg::OnCbnSelchangePlatformCombo()
{
    CRect rect;
    ::GetWindowRect(m_hWnd, &rect);
    ::SetWindowPos(m_dlgWeb.m_explorer.m_hWnd, nullptr, 0, 0, rect.Width(), rect.Height() - kExplorerHeightMargin, 0);

    m_nCurSel = GetCurrentRow();
    GetDlgItem(IDC_URL_EDIT)->EnableWindow(IsManualEntryRow(m_nCurSel));
    SetDlgItemText(IDC_URL_EDIT, GetPlatformUrl(m_nCurSel));
    m_dlgWeb.m_explorer.Navigate(GetPlatformUrl(GetCurrentRow()), nullptr, nullptr, nullptr, nullptr);
    GetDlgItem(IDC_ENTER_BUTTON)->SetFocus();
    SaveSettings();
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
    SaveSettings();
}
