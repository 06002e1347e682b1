// The window wrapper's part in hosting ActiveX controls: a window that hosts
// controls keeps their container, a wrapper bound to a control keeps its
// site and calls the control's methods through it.

#include "CWnd.h"

#include "COleControlContainer.h"
#include "COleControlSite.h"
#include "COleException.h"
#include "UniqueVariant.h"

void CWnd::SetControlContainer(COleControlContainer* pCtrlCont)
{
    m_pCtrlCont = ComPtr<COleControlContainer>(pCtrlCont);
}

void CWnd::AttachControlSite(COleControlSite* pSite)
{
    m_pCtrlSite = ComPtr<COleControlSite>(pSite);
}

void CWnd::InvokeHelperV(DISPID dwDispID, WORD wFlags, DispatchArgs& args)
{
    if (!m_pCtrlSite)
        return;
    ComPtr<COleControlSite> pSite = m_pCtrlSite; // the call may re-enter and unbind us
    pSite->InvokeHelper(dwDispID, wFlags, args);
}

HRESULT CWnd::TryInvokeHelperV(DISPID dwDispID, WORD wFlags, DispatchArgs& args)
{
    if (!m_pCtrlSite)
        return E_NOINTERFACE;
    ComPtr<COleControlSite> pSite = m_pCtrlSite; // the call may re-enter and unbind us
    return pSite->TryInvoke(dwDispID, wFlags, args);
}

IUnknown* CWnd::GetControlUnknown() const noexcept
{
    return m_pCtrlSite ? m_pCtrlSite->GetControlUnknown() : nullptr;
}

HRESULT CWnd::TryGetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    if (!m_pCtrlSite)
        return E_NOINTERFACE;
    if (vtProp != VT_BSTR && vtProp != VT_DISPATCH)
        return DISP_E_TYPEMISMATCH;
    ComPtr<COleControlSite> pSite = m_pCtrlSite;
    DispatchArgs none;
    UniqueVariant result;
    HRESULT hr = pSite->TryInvoke(dwDispID, DISPATCH_PROPERTYGET, none, result.Get());
    if (SUCCEEDED(hr))
        hr = ::VariantChangeType(result.Get(), result.Get(), 0, vtProp);
    if (SUCCEEDED(hr) && vtProp == VT_DISPATCH && !result.Get()->pdispVal)
        hr = E_NOINTERFACE;
    if (FAILED(hr))
        return hr;
    if (vtProp == VT_DISPATCH)
    {
        *static_cast<IDispatch**>(pvProp) = result.Get()->pdispVal;
        result.Get()->pdispVal->AddRef();
        return S_OK;
    }
    const BSTR bstr = result.Get()->bstrVal;
    *static_cast<CString*>(pvProp) = CString(bstr, static_cast<int>(::SysStringLen(bstr)));
    return S_OK;
}

void CWnd::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    if (!m_pCtrlSite)
        return;
    if (vtProp != VT_BSTR)
        throw COleException(DISP_E_TYPEMISMATCH);
    ComPtr<COleControlSite> pSite = m_pCtrlSite;
    DispatchArgs none;
    UniqueVariant result;
    pSite->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, none, result.Get());
    if (FAILED(::VariantChangeType(result.Get(), result.Get(), 0, VT_BSTR)))
        throw COleException(DISP_E_TYPEMISMATCH);
    const BSTR bstr = result.Get()->bstrVal;
    *static_cast<CString*>(pvProp) = CString(bstr, static_cast<int>(::SysStringLen(bstr)));
}
