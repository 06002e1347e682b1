#include "Explorer1.h"

namespace
{

// IWebBrowser2's dispatch ids.
const DISPID kDispidNavigate = 0x68;
const DISPID kDispidRefresh = -550;
const DISPID kDispidExecWB = 0x1F6;
const DISPID kDispidLocationUrl = 0xD3;
const DISPID kDispidDocument = 0xCB;
const DISPID kDispidRefresh2 = 0x69;
const long kRefreshCompletely = 3; // REFRESH_COMPLETELY

} // namespace

void CExplorer1::Navigate(const CString& URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                          VARIANT* Headers)
{
    InvokeHelper(kDispidNavigate, DISPATCH_METHOD, URL, Flags, TargetFrameName, PostData, Headers);
}

HRESULT CExplorer1::TryNavigate(const CString& URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                                VARIANT* Headers)
{
    return TryInvokeHelper(kDispidNavigate, DISPATCH_METHOD, URL, Flags, TargetFrameName, PostData, Headers);
}

HRESULT CExplorer1::TryRefresh()
{
    return TryInvokeHelper(kDispidRefresh, DISPATCH_METHOD);
}

HRESULT CExplorer1::TryRefreshCompletely()
{
    VARIANT varLevel;
    varLevel.vt = VT_I4;
    varLevel.lVal = kRefreshCompletely;
    return TryInvokeHelper(kDispidRefresh2, DISPATCH_METHOD, &varLevel);
}

HRESULT CExplorer1::TryExecWB(long cmdID, long cmdexecopt, VARIANT* pvaIn, VARIANT* pvaOut)
{
    return TryInvokeHelper(kDispidExecWB, DISPATCH_METHOD, cmdID, cmdexecopt, pvaIn, pvaOut);
}

CString CExplorer1::GetLocationURL() const
{
    CString strUrl;
    GetProperty(kDispidLocationUrl, VT_BSTR, &strUrl);
    return strUrl;
}

ComPtr<IDispatch> CExplorer1::TryGetDocument() const
{
    ComPtr<IDispatch> pDocument;
    TryGetProperty(kDispidDocument, VT_DISPATCH, pDocument.Put());
    return pDocument;
}

CString CExplorer1::TryGetLocationURL() const
{
    CString strUrl;
    TryGetProperty(kDispidLocationUrl, VT_BSTR, &strUrl);
    return strUrl;
}
