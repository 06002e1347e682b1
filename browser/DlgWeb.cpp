#include "DlgWeb.h"

#include "framework/CDataExchange.h"
#include "framework/ComPtr.h"
#include "framework/CPaintDC.h"
#include "framework/CRect.h"
#include "res/resource.h"

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
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CDlgWeb, CDialog)
    ON_EVENT(CDlgWeb, IDC_EXPLORER, DISPID_NEWWINDOW3, OnNewWindow3, VTS_PDISPATCH VTS_PBOOL VTS_UI4 VTS_BSTR VTS_BSTR)
    ON_EVENT(CDlgWeb, IDC_EXPLORER, DISPID_WINDOWCLOSING, OnWindowClosing, VTS_BOOL VTS_PBOOL)
    ON_EVENT(CDlgWeb, IDC_EXPLORER, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete, VTS_DISPATCH VTS_PVARIANT)
END_EVENTSINK_MAP()

CDlgWeb::CDlgWeb() noexcept : CDialog(IDD_BROWSER_PANE) {}

BOOL CDlgWeb::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    // The control would click at every navigation, the game's own pages and
    // redirects included. A setting of this process only: nothing is
    // written to the registry.
    ::CoInternetSetFeatureEnabled(FEATURE_DISABLE_NAVIGATION_SOUNDS, SET_FEATURE_ON_PROCESS, TRUE);
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

void CDlgWeb::OnNewWindow3(LPDISPATCH*, BOOL* Cancel, unsigned long dwFlags, BSTR, BSTR bstrUrl)
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
    // The page that asked is left for the address, in this same control; a
    // failing Navigate leaves Cancel alone, so the control then opens the
    // window its own way.
    m_explorer.Navigate(strUrl, nullptr, nullptr, nullptr, nullptr);
    *Cancel = TRUE;
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
    // One object, whichever of its interfaces is handed out.
    IUnknown* pBrowser = m_explorer.GetControlUnknown();
    ComPtr<IUnknown> pBrowserIdentity;
    ComPtr<IUnknown> pIdentity;
    return pDisp && pBrowser && SUCCEEDED(pBrowser->QueryInterface(IID_IUnknown, pBrowserIdentity.PutVoid())) &&
           SUCCEEDED(pDisp->QueryInterface(IID_IUnknown, pIdentity.PutVoid())) &&
           pIdentity.Get() == pBrowserIdentity.Get();
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
    VARIANT varZoom;
    ::VariantInit(&varZoom);
    const bool bRead = SUCCEEDED(m_explorer.TryExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, nullptr,
                                                      &varZoom)) &&
                       SUCCEEDED(::VariantChangeType(&varZoom, &varZoom, 0, VT_I4)) && varZoom.lVal > 0;
    ::VariantClear(&varZoom);
    if (!bRead)
        return m_nPageZoom;
    m_nPageZoom = varZoom.lVal;
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

void CDlgWeb::ApplyZoom()
{
    VARIANT varZoom;
    varZoom.vt = VT_I4;
    varZoom.lVal = m_nZoom;
    // Refused while no page is shown: the next page that completes is zoomed.
    m_explorer.TryExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &varZoom, nullptr);
}

void CDlgWeb::Reload()
{
    m_nRefreshWatch = kRefreshWatchReads;
    // A page that never loaded has no document to refresh: its address is
    // loaded again instead.
    if (FAILED(m_explorer.TryRefresh()))
    {
        const CString strUrl = m_explorer.GetLocationURL();
        if (!strUrl.IsEmpty())
            m_explorer.Navigate(strUrl, nullptr, nullptr, nullptr, nullptr);
    }
}
