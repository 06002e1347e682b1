// The site's calls into its control through IDispatch: the Try forms answer
// the HRESULT, InvokeHelper throws as the framework's callers expect.

#include "COleControlSite.h"

#include "COleDispatchException.h"
#include "DispatchArgs.h"
#include "UniqueExcepInfo.h"

HRESULT COleControlSite::TryInvoke(DISPID dwDispID, WORD wFlags, DispatchArgs& args, VARIANT* pvarResult)
{
    if (!m_pDispatch)
        return E_NOINTERFACE;
    DISPPARAMS dp = args.GetDispParams();
    UniqueExcepInfo excep;
    UINT nArgErr = 0;
    return m_pDispatch->Invoke(dwDispID, IID_NULL, 0, wFlags, &dp, pvarResult, &excep.info, &nArgErr);
}

HRESULT COleControlSite::TrySetProperty(DISPID dwDispID, const VARIANT& value)
{
    if (!m_pDispatch)
        return E_NOINTERFACE;
    VARIANT arg = value;
    DISPID dispidNamed = DISPID_PROPERTYPUT;
    DISPPARAMS dp = {&arg, &dispidNamed, 1, 1};
    UniqueExcepInfo excep;
    UINT nArgErr = 0;
    return m_pDispatch->Invoke(dwDispID, IID_NULL, 0, DISPATCH_PROPERTYPUT, &dp, nullptr, &excep.info, &nArgErr);
}

void COleControlSite::InvokeHelper(DISPID dwDispID, WORD wFlags, DispatchArgs& args, VARIANT* pvarResult)
{
    if (!m_pDispatch)
        throw COleException(E_NOINTERFACE);
    DISPPARAMS dp = args.GetDispParams();
    UniqueExcepInfo excep;
    UINT nArgErr = 0;
    const HRESULT hr = m_pDispatch->Invoke(dwDispID, IID_NULL, 0, wFlags, &dp, pvarResult, &excep.info, &nArgErr);
    if (SUCCEEDED(hr))
        return;
    if (hr != DISP_E_EXCEPTION)
        throw COleException(hr);
    if (excep.info.pfnDeferredFillIn)
        excep.info.pfnDeferredFillIn(&excep.info);
    const SCODE sc = excep.info.scode ? excep.info.scode : E_FAIL;
    throw COleDispatchException(CString(excep.info.bstrDescription), excep.info.wCode, sc);
}
