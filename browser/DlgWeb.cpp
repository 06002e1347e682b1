#include "DlgWeb.h"

#include "framework/CDataExchange.h"
#include "framework/ComPtr.h"
#include "framework/CPaintDC.h"
#include "framework/CRect.h"
#include "framework/UniqueBstr.h"
#include "framework/UniqueHandle.h"
#include "framework/UniqueVariant.h"
#include "res/resource.h"

#include <algorithm>
#include <cwchar>

#include <docobj.h>
#include <exdispid.h>
#include <shobjidl.h>
#include <urlmon.h>

namespace
{

// Pop-ups whose address contains this text, anywhere and in exactly these
// letters, are left to the browser control: the launcher maker's own site
// may open its pages in windows of their own.
const wchar_t kPopupExemptDomain[] = L"velka.cn";

// Shown in place of the browser when its control could not be started.
const wchar_t kNoBrowserText[] = L"无法启动网页浏览组件。";

// The hidden browsers' control ids, which are their timers' too; how long
// one waits for its address (a portal's login queue may take minutes), and
// how many wait at once (the oldest goes).
const UINT kFirstPopupID = 2000;
const UINT kLastPopupID = 2999;
const UINT kPopupPatienceMs = 10 * 60 * 1000;
const size_t kPopupsWaitingMost = 8;
const UINT kReleasePopupsMessage = WM_APP + 1;

// What a page's new window may start at: blank ("about:blank", the
// address window.open('') gives too).
const wchar_t kBlankStart[] = L"about:blank";

// An address's text without the blanks and control characters around it.
CString Trimmed(const CString& strUrl)
{
    const wchar_t* pBegin = strUrl;
    const wchar_t* pEnd = pBegin + strUrl.GetLength();
    while (pBegin < pEnd && *pBegin <= L' ')
        ++pBegin;
    while (pEnd > pBegin && pEnd[-1] <= L' ')
        --pEnd;
    return CString(pBegin, static_cast<int>(pEnd - pBegin));
}

bool StartsWithNoCase(const CString& str, const wchar_t* lpszPrefix)
{
    const int cchPrefix = static_cast<int>(::lstrlenW(lpszPrefix));
    return str.GetLength() >= cchPrefix &&
           ::CompareStringOrdinal(str, cchPrefix, lpszPrefix, cchPrefix, TRUE) == CSTR_EQUAL;
}

// Only web addresses are opened for a page's new window. Scripts
// (javascript:, vbscript:) would run in the pane's page, the game's; local
// content (file:, res:, mk:, ms-its:, data:) has no business coming from an
// Internet page.
bool IsWebAddress(const CString& strUrl)
{
    const CString strTrimmed = Trimmed(strUrl);
    return StartsWithNoCase(strTrimmed, L"http:") || StartsWithNoCase(strTrimmed, L"https:");
}

// The value behind an event's by-reference argument; null when it holds
// nothing (no form data, no headers).
VARIANT* ValueOf(VARIANT* pvar)
{
    if (pvar && pvar->vt == (VT_BYREF | VT_VARIANT))
        pvar = pvar->pvarVal;
    return pvar && pvar->vt != VT_EMPTY && pvar->vt != VT_NULL ? pvar : nullptr;
}

CString TextOf(VARIANT* pvar)
{
    pvar = ValueOf(pvar);
    if (!pvar || pvar->vt != VT_BSTR)
        return CString();
    return CString(pvar->bstrVal, static_cast<int>(::SysStringLen(pvar->bstrVal)));
}

// Whether request headers ("Name: value" lines) hold a Referer.
bool HasReferer(const CString& strHeaders)
{
    const wchar_t kName[] = L"Referer:";
    const int cchName = static_cast<int>(ARRAYSIZE(kName) - 1);
    const wchar_t* psz = strHeaders;
    for (const wchar_t* pLine = psz; *pLine;)
    {
        if (::CompareStringOrdinal(pLine, std::min(cchName, static_cast<int>(::lstrlenW(pLine))), kName, cchName,
                                   TRUE) == CSTR_EQUAL)
            return true;
        const wchar_t* pNext = std::wcschr(pLine, L'\n');
        if (!pNext)
            break;
        pLine = pNext + 1;
    }
    return false;
}

// A refresh puts the page back at the browser's own zoom some time after it
// was asked for; so many reads of the zoom look out for it.
const int kRefreshWatchReads = 5;

// The keys that have the browser refresh the page: F5, Ctrl+F5, Ctrl+R.
bool IsRefreshKey(const MSG& msg)
{
    return msg.message == WM_KEYDOWN &&
           (msg.wParam == VK_F5 || (msg.wParam == 'R' && (::GetKeyState(VK_CONTROL) & 0x8000)));
}

} // namespace

BEGIN_MESSAGE_MAP(CDlgWeb, CDialog)
    ON_WM_CLOSE()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(kReleasePopupsMessage, OnReleasePopups)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CDlgWeb, CDialog)
    ON_EVENT(CDlgWeb, IDC_EXPLORER, DISPID_NEWWINDOW3, OnNewWindow3, VTS_PDISPATCH VTS_PBOOL VTS_UI4 VTS_BSTR VTS_BSTR)
    ON_EVENT(CDlgWeb, IDC_EXPLORER, DISPID_WINDOWCLOSING, OnWindowClosing, VTS_BOOL VTS_PBOOL)
    ON_EVENT(CDlgWeb, IDC_EXPLORER, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete, VTS_DISPATCH VTS_PVARIANT)
    ON_EVENT_RANGE(CDlgWeb, kFirstPopupID, kLastPopupID, DISPID_NEWWINDOW3, OnPopupNewWindow3,
                   VTS_PDISPATCH VTS_PBOOL VTS_UI4 VTS_BSTR VTS_BSTR)
    ON_EVENT_RANGE(CDlgWeb, kFirstPopupID, kLastPopupID, DISPID_BEFORENAVIGATE2, OnPopupBeforeNavigate2,
                   VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
    ON_EVENT_RANGE(CDlgWeb, kFirstPopupID, kLastPopupID, DISPID_WINDOWCLOSING, OnPopupWindowClosing,
                   VTS_BOOL VTS_PBOOL)
END_EVENTSINK_MAP()

CDlgWeb::CDlgWeb() noexcept : CDialog(IDD_BROWSER_PANE), m_nNextPopupID(kFirstPopupID) {}

BOOL CDlgWeb::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    // The control would click at every navigation, the game's own pages and
    // redirects included. A setting of this process only: nothing is
    // written to the registry.
    ::CoInternetSetFeatureEnabled(FEATURE_DISABLE_NAVIGATION_SOUNDS, SET_FEATURE_ON_PROCESS, TRUE);
    {
        const UniqueWindowDC hScreen(nullptr);
        if (const int nDpi = hScreen ? ::GetDeviceCaps(hScreen.Get(), LOGPIXELSX) : 0; nDpi > 0)
            m_nSystemDpi = nDpi;
    }
    return CDialog::Create(nIDTemplate, pParentWnd);
}

void CDlgWeb::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EXPLORER, m_explorer);
    m_bBrowserStarted = m_explorer.m_hWnd != nullptr;
}

BOOL CDlgWeb::PreTranslateMessage(MSG* pMsg)
{
    // Neither the page nor the game gets Enter or Escape.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
        return TRUE;
    if (IsRefreshKey(*pMsg))
        m_nRefreshWatch = kRefreshWatchReads;
    return CDialog::PreTranslateMessage(pMsg);
}

void CDlgWeb::OnOK() {}

void CDlgWeb::OnClose() {}

void CDlgWeb::OnPaint()
{
    CPaintDC dc(this);
    if (m_bBrowserStarted)
        return; // the browser control covers the pane
    CRect rect;
    GetClientRect(&rect);
    const auto hFont = reinterpret_cast<HFONT>(::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0));
    const ScopedSelectObject font(dc, hFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    dc.DrawText(kNoBrowserText, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CDlgWeb::OnNewWindow3(LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext,
                           BSTR bstrUrl)
{
    OnNewWindowRequest(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl);
}

void CDlgWeb::OnPopupNewWindow3(UINT, LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext,
                                BSTR bstrUrl)
{
    OnNewWindowRequest(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl);
}

void CDlgWeb::OnNewWindowRequest(LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext,
                                 BSTR bstrUrl)
{
    const CString strUrl(bstrUrl, static_cast<int>(::SysStringLen(bstrUrl)));
    if (strUrl.Find(kPopupExemptDomain) >= 0)
        return;
    // A page being left (its unload handlers) asks for windows too, mostly
    // advertisements: following one would replace the page the player has
    // just chosen. It gets no window and no navigation.
    if (dwFlags & NWMF_UNLOADING)
    {
        *Cancel = TRUE;
        return;
    }
    // Each window waits for its address on its own: a portal may open the
    // game and a notice with one click. A handful at most wait at once.
    if (m_popups.size() >= kPopupsWaitingMost)
        ReleasePopup(m_popups.front()->GetID());
    const CString strOpener(bstrUrlContext, static_cast<int>(::SysStringLen(bstrUrlContext)));
    auto pPopup = std::make_unique<CHiddenBrowser>(*this, m_nNextPopupID, strOpener);
    m_nNextPopupID = m_nNextPopupID == kLastPopupID ? kFirstPopupID : m_nNextPopupID + 1;
    if (pPopup->IsCreated())
    {
        *ppDisp = pPopup->Share();
        ::SetTimer(m_hWnd, pPopup->GetID(), kPopupPatienceMs, nullptr);
        m_popups.push_back(std::move(pPopup));
        return;
    }
    // Without a browser to hand out, a web address is opened in this same
    // control; a failing Navigate leaves Cancel alone, so the control then
    // opens the window its own way. Anything else gets no window.
    if (IsWebAddress(strUrl))
        m_explorer.Navigate(strUrl, nullptr, nullptr, nullptr, nullptr);
    *Cancel = TRUE;
}

CHiddenBrowser* CDlgWeb::FindPopup(UINT nID) const
{
    for (const auto& pPopup : m_popups)
        if (pPopup->GetID() == nID)
            return pPopup.get();
    return nullptr;
}

void CDlgWeb::OnPopupBeforeNavigate2(UINT nID, LPDISPATCH pDisp, VARIANT* URL, VARIANT*, VARIANT*, VARIANT* PostData,
                                     VARIANT* Headers, BOOL* Cancel)
{
    // The frames of what the hidden browser shows go their way; so does a
    // browser already let go.
    const CHiddenBrowser* pPopup = FindPopup(nID);
    if (!pPopup || !pPopup->Is(pDisp))
        return;
    const CString strUrl = TextOf(URL);
    if (::CompareStringOrdinal(Trimmed(strUrl), -1, kBlankStart, -1, TRUE) == CSTR_EQUAL)
        return; // the window the page holds starts blank
    *Cancel = TRUE;
    if (IsWebAddress(strUrl))
    {
        // The page's address for its window, form data and headers with it,
        // in the pane's own control, from the page that asked for the
        // window as its own navigation would have said (portals check where
        // a game start comes from).
        CString strHeaders = TextOf(Headers);
        if (!HasReferer(strHeaders) && !pPopup->Opener().IsEmpty())
        {
            CString strReferer;
            strReferer.Format(L"Referer: %ls\r\n", static_cast<const wchar_t*>(pPopup->Opener()));
            strHeaders += strReferer;
        }
        const UniqueBstr bstrHeaders(strHeaders, static_cast<UINT>(strHeaders.GetLength()));
        VARIANT varHeaders;
        varHeaders.vt = VT_BSTR;
        varHeaders.bstrVal = bstrHeaders.Get();
        m_explorer.TryNavigate(strUrl, nullptr, nullptr, ValueOf(PostData), &varHeaders);
    }
    // The hidden browser has served, whether the control takes the address
    // or not (a hidden one could show nothing).
    ReleasePopup(nID);
}

void CDlgWeb::OnPopupWindowClosing(UINT nID, BOOL, BOOL*)
{
    // A pop-up closing itself: it may, and it is let go.
    ReleasePopup(nID);
}

void CDlgWeb::ReleasePopup(UINT nID)
{
    const auto it = std::find_if(m_popups.begin(), m_popups.end(),
                                 [nID](const std::unique_ptr<CHiddenBrowser>& pPopup) { return pPopup->GetID() == nID; });
    if (it == m_popups.end())
        return;
    ::KillTimer(m_hWnd, nID);
    // It may be inside one of its own events now: it goes once that has
    // returned.
    m_released.push_back(std::move(*it));
    m_popups.erase(it);
    ::PostMessageW(m_hWnd, kReleasePopupsMessage, 0, 0);
}

LRESULT CDlgWeb::OnReleasePopups(WPARAM, LPARAM)
{
    m_released.clear();
    return 0;
}

void CDlgWeb::OnDestroy()
{
    // The hidden browsers go before the controls they live among.
    m_popups.clear();
    m_released.clear();
    CDialog::OnDestroy();
}

void CDlgWeb::OnTimer(UINT_PTR nIDEvent)
{
    // A pop-up that got no address in its time will get none.
    if (nIDEvent >= kFirstPopupID && nIDEvent <= kLastPopupID)
        ReleasePopup(static_cast<UINT>(nIDEvent));
    else
        CDialog::OnTimer(nIDEvent);
}

void CDlgWeb::OnWindowClosing(BOOL, BOOL* Cancel)
{
    // A page's window.close() would have the control ask the player and
    // then destroy itself, leaving the launcher without a browser.
    *Cancel = TRUE;
}

void CDlgWeb::OnDocumentComplete(LPDISPATCH pDisp, VARIANT*)
{
    // Each new page comes up at the browser's own zoom. Every frame of a
    // page completes too, advertisements reloading during play among them:
    // only the page itself is zoomed, once.
    if (m_nZoom != 100 && IsBrowser(pDisp))
        ApplyZoom();
}

bool CDlgWeb::IsBrowser(LPDISPATCH pDisp) const
{
    return IsSameComObject(pDisp, m_explorer.GetControlUnknown());
}

bool CDlgWeb::SetZoom(int nPercent)
{
    if (nPercent == m_nZoom)
        return false;
    m_nZoom = nPercent;
    m_nPageZoom = nPercent;
    ApplyZoom();
    return true;
}

int CDlgWeb::ReadZoom()
{
    UniqueVariant varZoom;
    VARIANT* pvarZoom = varZoom.Get();
    if (FAILED(m_explorer.TryExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, pvarZoom)) ||
        FAILED(::VariantChangeType(pvarZoom, pvarZoom, 0, VT_I4)) || pvarZoom->lVal <= 0)
        return m_nPageZoom;
    m_nPageZoom = ::MulDiv(pvarZoom->lVal, kLayoutDpi, m_nSystemDpi);
    if (m_nRefreshWatch > 0)
    {
        --m_nRefreshWatch;
        if (m_nPageZoom != m_nZoom)
        {
            // The refresh undid the player's zoom: asked again. The page is
            // laid out at the zoom read until it has followed.
            m_nRefreshWatch = 0;
            ApplyZoom();
        }
    }
    return m_nPageZoom;
}

void CDlgWeb::SetSystemDpi(int nDpi) noexcept
{
    if (nDpi > 0)
        m_nSystemDpi = nDpi;
}

void CDlgWeb::ApplyZoom()
{
    // The browser's zoom is the system's scale times the page's (a page at
    // 100 % is 125 at 120 DPI); it is the launcher's own, not stored as
    // Internet Explorer's for every program that hosts it.
    VARIANT varZoom;
    varZoom.vt = VT_I4;
    varZoom.lVal = ::MulDiv(m_nZoom, m_nSystemDpi, kLayoutDpi);
    VARIANT varFlags;
    varFlags.vt = VT_I4;
    varFlags.lVal = OLECMDIDF_OPTICAL_ZOOM_NOPERSIST;
    // Refused while no page is shown: the next page that completes is zoomed.
    m_explorer.TryExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &varZoom, &varFlags);
    ::VariantClear(&varFlags); // what the browser may have answered in it
}

void CDlgWeb::Reload(bool bCompletely)
{
    m_nRefreshWatch = kRefreshWatchReads;
    // A page that never loaded has no document to refresh: its address is
    // loaded again instead.
    if (FAILED(bCompletely ? m_explorer.TryRefreshCompletely() : m_explorer.TryRefresh()))
    {
        const CString strUrl = m_explorer.GetLocationURL();
        if (!strUrl.IsEmpty())
            m_explorer.Navigate(strUrl, nullptr, nullptr, nullptr, nullptr);
    }
}
