#include "DlgWeb.h"

#include "framework/CDataExchange.h"
#include "framework/COleException.h"
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

void CDlgWeb::OnDocumentComplete(LPDISPATCH, VARIANT*)
{
    // Each new page comes up at the browser's own zoom.
    if (m_nZoom != 100)
        ApplyZoom();
}

void CDlgWeb::SetZoom(int nPercent)
{
    if (nPercent == m_nZoom)
        return;
    m_nZoom = nPercent;
    ApplyZoom();
}

void CDlgWeb::ApplyZoom()
{
    VARIANT varZoom;
    varZoom.vt = VT_I4;
    varZoom.lVal = m_nZoom;
    try
    {
        m_explorer.ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &varZoom, nullptr);
    }
    catch (const COleException&)
    {
        // No page to zoom yet: the next one that completes is zoomed.
    }
}

void CDlgWeb::Reload()
{
    try
    {
        m_explorer.Refresh();
    }
    catch (const COleException&)
    {
        // A page that never loaded has no document to refresh: its address
        // is loaded again instead.
        const CString strUrl = m_explorer.GetLocationURL();
        if (!strUrl.IsEmpty())
            m_explorer.Navigate(strUrl, nullptr, nullptr, nullptr, nullptr);
    }
}
