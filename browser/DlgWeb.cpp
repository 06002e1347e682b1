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

// Shown in place of the browser when its control could not be started.
const wchar_t kNoBrowserText[] = L"无法启动网页浏览组件。";

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
    ON_EVENT_RANGE(CDlgWeb, kFirstPopupID, kLastPopupID, DISPID_WINDOWCLOSING, OnPopupWindowClosing, VTS_BOOL VTS_PBOOL)
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
        Tell(Event::Refreshing);
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

void CDlgWeb::OnDestroy()
{
    // The hidden browsers go before the controls they live among.
    m_popups.clear();
    m_released.clear();
    CDialog::OnDestroy();
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
    // only the page itself counts.
    if (IsBrowser(pDisp))
        Tell(Event::PageCompleted);
}

bool CDlgWeb::IsBrowser(LPDISPATCH pDisp) const
{
    return IsSameComObject(pDisp, m_explorer.GetControlUnknown());
}

void CDlgWeb::Tell(Event event)
{
    if (m_pListener)
        m_pListener->OnPageEvent(event);
}

bool CDlgWeb::ReadZoom(int* pnPercent)
{
    UniqueVariant varZoom;
    VARIANT* pvarZoom = varZoom.Get();
    if (FAILED(m_explorer.TryExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, pvarZoom)) ||
        FAILED(::VariantChangeType(pvarZoom, pvarZoom, 0, VT_I4)) || pvarZoom->lVal <= 0)
        return false;
    *pnPercent = ::MulDiv(pvarZoom->lVal, kLayoutDpi, m_nSystemDpi);
    return true;
}

int CDlgWeb::OnScreen(int nPercent) const
{
    // What the browser's own zoom is.
    return ::MulDiv(nPercent, m_nSystemDpi, kLayoutDpi);
}

void CDlgWeb::SetSystemDpi(int nDpi) noexcept
{
    if (nDpi > 0)
        m_nSystemDpi = nDpi;
}

bool CDlgWeb::ApplyZoom(int nPercent)
{
    // The browser's zoom is the system's scale times the page's (a page at
    // 100 % is 125 at 120 DPI); it is the launcher's own, not stored as
    // Internet Explorer's for every program that hosts it.
    UniqueVariant varZoom;
    varZoom.Get()->vt = VT_I4;
    varZoom.Get()->lVal = OnScreen(nPercent);
    UniqueVariant varFlags; // what the browser may answer in it goes with it
    varFlags.Get()->vt = VT_I4;
    varFlags.Get()->lVal = OLECMDIDF_OPTICAL_ZOOM_NOPERSIST;
    HRESULT hr =
        m_explorer.TryExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, varZoom.Get(), varFlags.Get());
    // Where the flag is not taken there (Microsoft does not say where it
    // goes), the zoom is asked for all the same.
    if (FAILED(hr))
        hr = m_explorer.TryExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, varZoom.Get(), nullptr);
    return SUCCEEDED(hr);
}

CString CDlgWeb::PageUrl() const
{
    return m_explorer.TryGetLocationURL();
}

ComPtr<IDispatch> CDlgWeb::PageDocument() const
{
    return m_explorer.TryGetDocument();
}

void CDlgWeb::Reload(bool bCompletely)
{
    Tell(Event::Refreshing);
    // A page that never loaded has no document to refresh: its address is
    // loaded again instead.
    if (FAILED(bCompletely ? m_explorer.TryRefreshCompletely() : m_explorer.TryRefresh()))
    {
        const CString strUrl = m_explorer.GetLocationURL();
        if (!strUrl.IsEmpty())
            m_explorer.Navigate(strUrl, nullptr, nullptr, nullptr, nullptr);
    }
}
