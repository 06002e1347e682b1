#include "OrlimWebDlg.h"

#include "SettingsFileCopy.h"
#include "framework/CDC.h"
#include "framework/CDataExchange.h"
#include "framework/CPaintDC.h"
#include "framework/CRect.h"
#include "framework/CWinApp.h"
#include "res/resource.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace
{

// Header strip and base layout.
const int kStripHeight = 25;
const COLORREF kStripColor = RGB(0, 174, 255);
const int kBaseWidth = 1148;
const int kBaseHeight = 750;
const int kExplorerHeightMargin = 2; // taken from the outer height by a platform choice

// Auto-fit.
const UINT_PTR kAutoFitTimer = 0;
const UINT kAutoFitPeriod = 1000;
const wchar_t kFlashWindowClass[] = L"MacromediaFlashPlayerActiveX";
const int kClassNameLength = 260;
const int kFlashMinWidth = 995;
const int kGameWidth = 1100;
const int kTallGameHeight = 750;
const int kGameHeight = 700;
const int kClientHeightMargin = 27; // client height minus browser height once fitted
// A Flash window that does not follow the browser's width would otherwise
// make it grow (or shrink) by the same amount on every tick.
const int kExplorerMinWidth = kGameWidth;
const int kExplorerMaxWidth = 4 * kGameWidth;

// Settings file, in the current directory.
const wchar_t kSettingsFile[] = L".\\UserVar.ini";
const wchar_t kSettingsSection[] = L"section";
const wchar_t kKeyServersSel[] = L"ServersSel";
const wchar_t kKeyUrl[] = L"Url";
const DWORD kServersSelBuffer = 3; // a stored row is read as its first two characters
const DWORD kUrlBufferStart = 260;
// A longer address is no address (the browser takes 2,083 characters at
// most), and reading it would hold up the start: it counts as absent.
const DWORD kUrlLengthMost = DWORD(1) << 20;

const int kPlatformRows = 78;

// The platforms' pages, row by row (row 0 is the launcher maker's own site).
const wchar_t* const kPlatformUrls[kPlatformRows] = {
    L"http://www.velka.cn/",                                // Velka官网
    L"http://www.ostrel.com/serverList.html",               // Ostrel
    L"http://wan.360.cn/orlim/",                            // 360
    L"http://orlim.37wan.com/server_list.html",             // 37wan
    L"http://orlim.duowan.com/",                            // 多玩
    L"http://www.6711.com/servers_list_orlim.html",         // 6711
    L"http://web.4399.com/orlim/",                          // 4399
    L"http://web.7k7k.com/games/orlim/",                    // 7k7k
    L"http://orlim.kugou.com/",                             // 酷狗
    L"http://orlim.niu.xunlei.com/server.shtml",            // 迅雷
    L"http://belvar.baidu.com/",                            // 百度Belvar
    L"http://orlim.xdwan.com/",                             // 兄弟玩
    L"http://www.91wan.com/orlim/",                         // 91wan
    L"http://www.kuaiwan.com/orlim/",                       // 快玩
    L"http://orlim.wan.sogou.com/",                         // 搜狗
    L"http://orlim.kuwo.cn/",                               // 酷我
    L"http://www.ibaiyu.com/gameserver_list.aspx?gameid=2", // 爱百娱
    L"http://orlim.lehaihai.com/",                          // 乐嗨嗨
    L"http://orlim.22kk.com/",                              // 22KK
    L"http://www.douxie.com/orlim/",                        // 斗蟹网
    L"http://orlim.51wan.com/",                             // 51wan
    L"http://orlim.05wan.com/",                             // 05wan
    L"http://www.eqorlim.com/",                             // EQOrlim
    L"http://orlim.56you.com/",                             // 56you
    L"http://orlim.49you.com/",                             // 49you
    L"http://orlim.niu99.com/",                             // 牛久久
    L"http://orlim.changyou.com/",                          // 畅游
    L"http://orlim.games.sina.com.cn/",                     // 新浪Orlim
    L"http://www.weiorlim.com/orlimol/",                    // 微Orlim
    L"http://www.51orlim.com/",                             // 51Orlim
    L"http://orlim.game.pps.tv/",                           // PPS
    L"http://game.renren.com/orlim/",                       // 人人网
    L"http://www.qidian.com/game/orlim/index.html",         // 起点
    L"http://www.daowulin.com/orlim/",                      // 到武林
    L"http://orlim.verycd.com/",                            // 电驴
    L"http://orlim.sdo.com/",                               // 盛大
    L"http://orlim.95k.com/",                               // 95K
    L"http://www.2133.com/orlim/",                          // 2133
    L"http://orlim.gamefy.cn/select.php",                   // 游戏风云
    L"http://www.2918.com/orlim/",                          // 2918
    L"http://orlim.yaowan.com/",                            // 要玩Orlim
    L"http://orlim.lequ.com/",                              // 乐趣
    L"http://orlim.8090.com/",                              // 8090
    L"http://orlim.baomihua.com/",                          // 爆米花
    L"http://www.iugame.com/orlim/",                        // iugame
    L"http://orlim.56uu.com/",                              // 56UU
    L"http://orlim.178.com/",                               // 178Orlim
    L"http://www.game168.com.cn/orlim/",                    // game168
    L"http://www.yxgaga.com/orlim/",                        // 游戏GAGA
    L"http://orlim.2345.com/",                              // 2345
    L"http://www.915orlim.com/",                            // 915Orlim
    L"http://www.weiweiwan.com/orlim/",                     // 微微玩
    L"http://orlim.kedou.com/",                             // 蝌蚪
    L"http://www.008wan.com/orlim/index.html",              // 008玩
    L"http://orlim.dazhu.com/",                             // 大猪网
    L"http://www.huanchang.com/orlim/",                     // 欢畅
    L"http://orlim.zixia.com/",                             // 紫霞
    L"http://orlim.92you.com/",                             // 92you
    L"http://www.951717.com/orlim/",                        // 951717
    L"http://www.kaixin001.com/app/orlim.php",              // 开心网
    L"http://web.changyou.com/gameList/game-orlim.shtml",   // 畅游页游
    L"http://orlim.76wan.com/",                             // 76wan
    L"http://www.2125.com/orlim/",                          // 2125
    L"http://game.pptv.com/orlim/",                         // PPTV
    L"http://www.91orlim.com/",                             // 91Orlim
    L"http://www.dipan.com/orlim/servers.html",             // 地盘网
    L"http://orlim.35wan.com/",                             // 35wan
    L"http://games.ifeng.com/orlim/",                       // 凤凰网
    L"http://www.ganwan.com/game.php?gid=orlim",            // 敢玩
    L"http://www.9wee.com/Game/content/app_224.html",       // 九维
    L"http://orlim.91rpg.com",                              // 91RPG
    L"http://orlim.37wanwan.com/",                          // 37wanwan
    L"http://www.wa3.com/orlim/",                           // WA3
    L"http://orlim.99youxi.com/",                           // 99游戏
    L"http://game.funshion.com/orlim/",                     // 风行
    L"http://www.44wan.com/game/server/gid/61.html",        // 44玩
    L"http://www.376wan.com/orlim/list.html",               // 376玩
    L"http://orlim.hl17.com/",                              // 欢乐一起玩
};

// Reads a value of the settings file whole; one longer than kUrlLengthMost
// counts as absent.
CString ReadSetting(const wchar_t* lpszKey, const wchar_t* lpszDefault)
{
    CString strValue;
    for (DWORD cchBuffer = kUrlBufferStart;; cchBuffer = std::min(2 * cchBuffer, kUrlLengthMost + 2))
    {
        const DWORD cchRead =
            ::GetPrivateProfileStringW(kSettingsSection, lpszKey, lpszDefault,
                                       strValue.GetBuffer(static_cast<int>(cchBuffer - 1)), cchBuffer, kSettingsFile);
        if (cchRead < cchBuffer - 1)
        {
            strValue.ReleaseBuffer(static_cast<int>(cchRead));
            return strValue;
        }
        if (cchBuffer == kUrlLengthMost + 2)
            return CString(lpszDefault);
    }
}

// Reading a value trims the blanks around it and removes a pair of quotes
// around it: a value that would lose either is written in quotes.
bool NeedsQuotes(const CString& str)
{
    const int n = str.GetLength();
    if (n == 0)
        return false;
    const wchar_t* psz = str;
    return std::iswspace(psz[0]) || std::iswspace(psz[n - 1]) || psz[0] == L'"' || psz[0] == L'\'';
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
END_MESSAGE_MAP()

COrlimWebDlg::COrlimWebDlg(CWnd* pParent)
    : CDialog(IDD_LAUNCHER_DIALOG, pParent), m_brStrip(::CreateSolidBrush(kStripColor))
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

    m_dlgWeb.Create(IDD_BROWSER_PANE);
    FillPlatformUrls();
    LoadSettings();
    ApplyBaseLayout();
    OnCbnSelchangePlatformCombo(); // the first navigation, as if the row had been chosen

    ::SendMessageW(GetDlgItem(IDC_AUTOFIT_CHECK)->GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    ::SetTimer(m_hWnd, kAutoFitTimer, kAutoFitPeriod, nullptr);
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

// Catalogue

void COrlimWebDlg::FillPlatformUrls()
{
    for (int nRow = 0; nRow < kPlatformRows; ++nRow)
        m_strUrls[nRow] = kPlatformUrls[nRow];
}

CString COrlimWebDlg::GetPlatformUrl(int nRow) const
{
    if (nRow < 0 || nRow > kPlatformRows)
        return CString();
    return m_strUrls[nRow];
}

BOOL COrlimWebDlg::IsManualEntryRow(int nRow) const
{
    const int nRows = static_cast<int>(::SendMessageW(m_cbPlatform.m_hWnd, CB_GETCOUNT, 0, 0));
    return nRow == nRows - 1;
}

int COrlimWebDlg::GetCurrentRow() const
{
    return static_cast<int>(::SendMessageW(m_cbPlatform.m_hWnd, CB_GETCURSEL, 0, 0));
}

// Settings file

void COrlimWebDlg::LoadSettings()
{
    CString strSel;
    ::GetPrivateProfileStringW(kSettingsSection, kKeyServersSel, L"0",
                               strSel.GetBuffer(static_cast<int>(kServersSelBuffer - 1)), kServersSelBuffer,
                               kSettingsFile);
    strSel.ReleaseBuffer();
    m_strUrls[kPlatformRows] = ReadSetting(kKeyUrl, GetPlatformUrl(0));
    m_nCurSel = static_cast<int>(std::wcstol(strSel, nullptr, 10));

    // A stored row that names no row counts as no stored row at all.
    const int nRows = static_cast<int>(::SendMessageW(m_cbPlatform.m_hWnd, CB_GETCOUNT, 0, 0));
    if (m_nCurSel < 0 || m_nCurSel >= nRows ||
        ::SendMessageW(m_cbPlatform.m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(m_nCurSel), 0) == CB_ERR)
    {
        m_nCurSel = 0;
        ::SendMessageW(m_cbPlatform.m_hWnd, CB_SETCURSEL, 0, 0);
    }

    SetDlgItemText(IDC_URL_EDIT, m_strUrls[kPlatformRows]);
    if (IsManualEntryRow(m_nCurSel))
        GetDlgItem(IDC_URL_EDIT)->EnableWindow(TRUE);
}

void COrlimWebDlg::SaveSettings()
{
    CString strUrl;
    GetDlgItemText(IDC_URL_EDIT, strUrl);
    if (NeedsQuotes(strUrl))
        strUrl.Format(L"\"%ls\"", static_cast<const wchar_t*>(strUrl));
    // Both values change together or not at all.
    CSettingsFileCopy copy(kSettingsFile);
    if (copy.IsOpen() && SaveServersSel(GetCurrentRow(), copy.GetPath()) &&
        ::WritePrivateProfileStringW(kSettingsSection, kKeyUrl, strUrl, copy.GetPath()))
        copy.Commit();
}

BOOL COrlimWebDlg::SaveServersSel(int nSel, const wchar_t* lpszFile)
{
    CString strSel;
    strSel.Format(L"%d", nSel);
    return ::WritePrivateProfileStringW(kSettingsSection, kKeyServersSel, strSel, lpszFile);
}

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
}

void COrlimWebDlg::OnPaint()
{
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    rect.bottom = rect.top + kStripHeight;
    CPaintDC dc(this);
    dc.FillSolidRect(&rect, kStripColor);
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
        return static_cast<HBRUSH>(m_brStrip.Get());
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
        ::ExitProcess(0);
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

// Auto-fit

void COrlimWebDlg::OnBnClickedAutofitCheck()
{
    const LRESULT nCheck = ::SendMessageW(GetDlgItem(IDC_AUTOFIT_CHECK)->GetSafeHwnd(), BM_GETCHECK, 0, 0);
    if (nCheck == BST_CHECKED)
    {
        ::SetTimer(m_hWnd, kAutoFitTimer, kAutoFitPeriod, nullptr);
    }
    else
    {
        ::KillTimer(m_hWnd, kAutoFitTimer);
        ApplyBaseLayout();
    }
}

namespace
{

// Tests one window of the walk; ends it at the Flash window. A window whose
// class or rectangle cannot be read (it is going away) does not qualify.
BOOL CALLBACK TestForFlashWindow(HWND hWnd, LPARAM lParam)
{
    wchar_t szClass[kClassNameLength];
    CRect rect;
    if (::GetClassNameW(hWnd, szClass, kClassNameLength) > 0 && std::wcscmp(szClass, kFlashWindowClass) == 0 &&
        ::GetWindowRect(hWnd, &rect) && rect.Width() >= kFlashMinWidth)
    {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND COrlimWebDlg::FindFlashWindow(HWND hWndParent)
{
    // Depth first, each window before its children, siblings in z-order:
    // the order in which the system enumerates a window's descendants. It
    // takes each window's child list once; stepping from sibling to sibling
    // with FindWindowEx would list the siblings again at every step.
    HWND hWndFound = nullptr;
    ::EnumChildWindows(hWndParent, TestForFlashWindow, reinterpret_cast<LPARAM>(&hWndFound));
    return hWndFound;
}

void COrlimWebDlg::OnTimer(UINT_PTR nIDEvent)
{
    // Without a browser control there is nothing to search: a null parent
    // would walk the whole desktop. A minimised or hidden launcher is left
    // as it is until the player brings it back.
    const HWND hWndExplorer = m_dlgWeb.m_explorer.m_hWnd;
    if (hWndExplorer && !::IsIconic(m_hWnd) && ::IsWindowVisible(m_hWnd))
    {
        // The fit follows the page, not the player: it never activates the
        // launcher or raises it above the window the player is using.
        const UINT nFlags = SWP_NOACTIVATE | SWP_NOZORDER;
        CRect rcFlash;
        CRect rcExplorer;
        const HWND hWndFlash = FindFlashWindow(hWndExplorer);
        if (hWndFlash && ::GetWindowRect(hWndFlash, &rcFlash) && ::GetWindowRect(hWndExplorer, &rcExplorer))
        {
            // Move the browser so that the game area starts at the pane's
            // origin, and size everything to a game area 1100 pixels wide.
            const int nGameHeight = rcFlash.Height() == kTallGameHeight ? kTallGameHeight : kGameHeight;
            const int dx = rcFlash.left - rcExplorer.left;
            const int dy = rcFlash.top - rcExplorer.top;
            const int cx =
                std::clamp(rcExplorer.Width() - rcFlash.Width() + kGameWidth, kExplorerMinWidth, kExplorerMaxWidth);
            const int cy = dy + nGameHeight;
            ::SetWindowPos(hWndExplorer, nullptr, -dx, -dy, cx, cy, nFlags);
            ::SetWindowPos(m_dlgWeb.m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | nFlags);
            SetClientSize(m_hWnd, cy + kClientHeightMargin);
        }
        else if (!hWndFlash)
        {
            CRect rcPane;
            ::GetWindowRect(m_dlgWeb.m_hWnd, &rcPane);
            ::SetWindowPos(hWndExplorer, nullptr, 0, 0, rcPane.Width(), rcPane.Height(), nFlags);
        }
    }
    CDialog::OnTimer(nIDEvent);
}

void SetClientSize(HWND hWnd, int nHeight)
{
    if (!::IsWindow(hWnd))
        return;
    CRect rcWindow;
    CRect rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    if (rcClient.Width() == kGameWidth && rcClient.Height() == nHeight)
        return;
    ::SetWindowPos(hWnd, nullptr, 0, 0, rcWindow.Width() - rcClient.Width() + kGameWidth,
                   rcWindow.Height() - rcClient.Height() + nHeight, SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
}
