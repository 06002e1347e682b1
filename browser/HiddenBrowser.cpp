#include "HiddenBrowser.h"

#include "framework/COleControlContainer.h"
#include "framework/COleControlSite.h"
#include "framework/CWnd.h"

#include <exdisp.h>

namespace
{

// IWebBrowser2's RegisterAsBrowser: the page's later window.open() of the
// same window name finds this browser.
const DISPID kDispidRegisterAsBrowser = 552;

} // namespace

CHiddenBrowser::CHiddenBrowser(CWnd& wndHost, UINT nID, const CString& strOpener) : m_nID(nID), m_strOpener(strOpener)
{
    COleControlContainer* pCtrlCont = wndHost.GetControlContainer();
    RECT rect;
    ::GetClientRect(wndHost.m_hWnd, &rect);
    HWND hWnd = nullptr;
    // Without WS_VISIBLE: it is never shown.
    if (!pCtrlCont || !pCtrlCont->CreateControl(CLSID_WebBrowser, WS_CHILD, rect, nID, nullptr, 0, &hWnd))
        return;
    m_pSite = ComPtr<COleControlSite>(pCtrlCont->FindSite(hWnd));
    IUnknown* pControl = m_pSite ? m_pSite->GetControlUnknown() : nullptr;
    if (!pControl || FAILED(pControl->QueryInterface(IID_IDispatch, m_pDispatch.PutVoid())))
        return;
    VARIANT varTrue;
    varTrue.vt = VT_BOOL;
    varTrue.boolVal = VARIANT_TRUE;
    // A browser that cannot be found by name still takes the page's window.
    m_pSite->TrySetProperty(kDispidRegisterAsBrowser, varTrue);
}

CHiddenBrowser::~CHiddenBrowser()
{
    m_pDispatch.Reset();
    if (m_pSite)
        m_pSite->DestroyControl();
}

LPDISPATCH CHiddenBrowser::Share() const
{
    if (m_pDispatch)
        m_pDispatch->AddRef();
    return m_pDispatch.Get();
}

bool CHiddenBrowser::Is(LPDISPATCH pDisp) const
{
    return IsSameComObject(pDisp, m_pDispatch.Get());
}
