#include "FakeWebBrowser.h"

#include "framework/ComPtr.h"
#include "framework/UniqueBstr.h"
#include "framework/UniqueExcepInfo.h"

#include <docobj.h>
#include <exdisp.h>
#include <exdispid.h>
#include <idispids.h>
#include <olectl.h>
// CGID_DocHostCommandHandler is in no import library.
#include <initguid.h>
#include <mshtmhst.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace
{

int g_liveObjects = 0;
FakeWebBrowser* g_last = nullptr;
int g_firingNewWindow = 0; // controls made meanwhile are a page's new window
const wchar_t kWindowClass[] = L"FakeWebBrowserWindow";
const DISPID kDispidNavigate = 104;
const DISPID kDispidRefresh = -550;
const DISPID kDispidExecWB = 502;
const DISPID kDispidLocationUrl = 211;
const DISPID kDispidRegisterAsBrowser = 552;
const DISPID kDispidRefresh2 = 105;
const DISPID kDispidDocument = 203;

// What a by-reference optional argument of Navigate holds: the value
// behind it, itself perhaps behind a reference.
const VARIANT* ValueOf(const VARIANT& arg)
{
    const VARIANT* pvar = arg.vt == (VT_BYREF | VT_VARIANT) ? arg.pvarVal : &arg;
    if (pvar && pvar->vt == (VT_BYREF | VT_VARIANT))
        pvar = pvar->pvarVal;
    return pvar;
}

// The control's event connection point: one sink at a time.
// A COM object goes by Release, never by delete through an interface, whose
// destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class FakeConnectionPoint final : public IConnectionPoint
{
public:
    explicit FakeConnectionPoint(FakeWebBrowser* pOwner) : m_pOwner(pOwner) { ++g_liveObjects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override
    {
        if (iid == IID_IUnknown || iid == IID_IConnectionPoint)
        {
            *ppv = static_cast<IConnectionPoint*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_cRef); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG cRef = --m_cRef;
        if (cRef == 0)
            delete this;
        return static_cast<ULONG>(cRef);
    }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override
    {
        *pIID = DIID_DWebBrowserEvents2;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override
    {
        return m_pOwner->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(ppCPC));
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override
    {
        return m_pOwner->AdviseSink(pUnkSink, pdwCookie);
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override { return m_pOwner->UnadviseSink(dwCookie); }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

private:
    ~FakeConnectionPoint() { --g_liveObjects; }

    LONG m_cRef = 0;
    ComPtr<FakeWebBrowser> m_pOwner;
};
#pragma GCC diagnostic pop

void RegisterWindowClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW; // replaced per window below
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    ::RegisterClassW(&wc);
    registered = true;
}

} // namespace

void PrintTo(FakeBrowserFailure failure, std::ostream* os)
{
    const char* names[] = {"None", "Create", "Activate", "Navigate"};
    *os << names[static_cast<int>(failure)];
}

FakeWebBrowser::FakeWebBrowser(FakeBrowserRecord& record, const FakeBrowserFailure& failure)
    : m_record(record), m_failure(failure)
{
    ++g_liveObjects;
    if (g_firingNewWindow)
        ++m_record.popupsMade;
    else
        g_last = this;
}

FakeWebBrowser::~FakeWebBrowser()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    if (g_last == this)
        g_last = nullptr;
    --g_liveObjects;
}

HRESULT FakeWebBrowser::FireNewWindow3(const std::wstring& url, VARIANT_BOOL* pCancel, DWORD dwFlags,
                                       ComPtr<FakeWebBrowser>* ppPopup, const std::string& postData,
                                       const std::wstring& headers)
{
    const std::wstring& context = m_newWindowContext;
    UniqueBstr bstrUrl(url.data(), static_cast<UINT>(url.size()));
    UniqueBstr bstrContext(context.data(), static_cast<UINT>(context.size()));
    ComPtr<IDispatch> pDisp;

    VARIANT args[5];
    for (VARIANT& v : args)
        ::VariantInit(&v);
    args[4].vt = VT_BYREF | VT_DISPATCH;
    args[4].ppdispVal = pDisp.Put();
    args[3].vt = VT_BYREF | VT_BOOL;
    args[3].pboolVal = pCancel;
    args[2].vt = VT_I4; // a DWORD travels as a long
    args[2].lVal = static_cast<LONG>(dwFlags);
    args[1].vt = VT_BSTR;
    args[1].bstrVal = bstrContext.Get();
    args[0].vt = VT_BSTR;
    args[0].bstrVal = bstrUrl.Get();
    ++g_firingNewWindow;
    const HRESULT hr = FireEvent(DISPID_NEWWINDOW3, args, 5);
    --g_firingNewWindow;
    // The page's window: the fake the host made, known by its IDispatch.
    ComPtr<FakeWebBrowser> pPopup(static_cast<FakeWebBrowser*>(pDisp.Get()));
    if (pPopup && *pCancel == VARIANT_FALSE)
        pPopup->FireBeforeNavigate2(url.empty() ? L"about:blank" : url, postData, headers);
    if (ppPopup)
        *ppPopup = pPopup;
    return hr;
}

VARIANT_BOOL FakeWebBrowser::FireBeforeNavigate2(const std::wstring& url, const std::string& postData,
                                                 const std::wstring& headers, IDispatch* pFrame)
{
    // As Internet Explorer passes them: each by reference, the form data a
    // byte array behind a reference of its own.
    VARIANT varUrl, varFlags, varTarget, varPost, varPostBytes, varHeaders;
    for (VARIANT* p : {&varUrl, &varFlags, &varTarget, &varPost, &varPostBytes, &varHeaders})
        ::VariantInit(p);
    UniqueBstr bstrUrl(url.data(), static_cast<UINT>(url.size()));
    UniqueBstr bstrHeaders(headers.data(), static_cast<UINT>(headers.size()));
    varUrl.vt = VT_BSTR;
    varUrl.bstrVal = bstrUrl.Get();
    varFlags.vt = VT_I4;
    varTarget.vt = VT_BSTR;
    varTarget.bstrVal = nullptr;
    SAFEARRAY* psa =
        postData.empty() ? nullptr : ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(postData.size()));
    if (psa)
    {
        void* pData = nullptr;
        ::SafeArrayAccessData(psa, &pData);
        std::copy(postData.begin(), postData.end(), static_cast<char*>(pData));
        ::SafeArrayUnaccessData(psa);
        varPostBytes.vt = VT_ARRAY | VT_UI1;
        varPostBytes.parray = psa;
    }
    varPost.vt = VT_BYREF | VT_VARIANT;
    varPost.pvarVal = &varPostBytes;
    if (!headers.empty())
    {
        varHeaders.vt = VT_BSTR;
        varHeaders.bstrVal = bstrHeaders.Get();
    }
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[7];
    args[6].vt = VT_DISPATCH;
    args[6].pdispVal = pFrame ? pFrame : static_cast<IDispatch*>(this);
    VARIANT* byRef[] = {&varUrl, &varFlags, &varTarget, &varPost, &varHeaders};
    for (int i = 0; i < 5; ++i)
    {
        args[5 - i].vt = VT_BYREF | VT_VARIANT;
        args[5 - i].pvarVal = byRef[i];
    }
    args[0].vt = VT_BYREF | VT_BOOL;
    args[0].pboolVal = &cancel;
    FireEvent(DISPID_BEFORENAVIGATE2, args, 7);
    if (psa)
        ::SafeArrayDestroy(psa);
    return cancel;
}

HRESULT FakeWebBrowser::FireWindowClosing(VARIANT_BOOL* pCancel)
{
    VARIANT args[2];
    args[1].vt = VT_BOOL;
    args[1].boolVal = VARIANT_FALSE; // the top-level window, not a frame
    args[0].vt = VT_BYREF | VT_BOOL;
    args[0].pboolVal = pCancel;
    return FireEvent(DISPID_WINDOWCLOSING, args, 2);
}

HRESULT FakeWebBrowser::FireDocumentComplete(IDispatch* pFrame)
{
    VARIANT url;
    ::VariantInit(&url);
    VARIANT args[2];
    args[1].vt = VT_DISPATCH;
    args[1].pdispVal = pFrame ? pFrame : static_cast<IDispatch*>(this);
    args[0].vt = VT_BYREF | VT_VARIANT;
    args[0].pvarVal = &url;
    return FireEvent(DISPID_DOCUMENTCOMPLETE, args, 2);
}

HRESULT FakeWebBrowser::FireEvent(DISPID dispid, VARIANT* pArgs, UINT cArgs)
{
    if (!m_pSink)
        return E_UNEXPECTED;
    DISPPARAMS dp = {pArgs, nullptr, cArgs, 0};
    ComPtr<IDispatch> pSink(m_pSink); // the handler may end the connection
    UniqueExcepInfo excep;
    return pSink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &dp, nullptr, &excep.info, nullptr);
}

void FakeWebBrowser::CheckHost(bool bAnswered, const char* pszWhat)
{
    ++m_record.hostChecks;
    if (!bAnswered)
        m_record.hostFaults.emplace_back(pszWhat);
}

void FakeWebBrowser::CheckClientSite(IOleClientSite* pClientSite)
{
    // Ambient properties: the host leaves every one to the control.
    ComPtr<IDispatch> pAmbient;
    if (SUCCEEDED(pClientSite->QueryInterface(IID_IDispatch, pAmbient.PutVoid())))
    {
        for (DISPID dispid : {DISPID_AMBIENT_OFFLINEIFNOTCONNECTED, DISPID_AMBIENT_SILENT})
        {
            DISPPARAMS none = {};
            VARIANT result;
            ::VariantInit(&result);
            const HRESULT hr =
                pAmbient->Invoke(dispid, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
            CheckHost(hr == DISP_E_MEMBERNOTFOUND && result.vt == VT_EMPTY, "IDispatch::Invoke(ambient)");
        }
    }

    // The container, and the command target the control asks it for.
    ComPtr<IOleContainer> pContainer;
    CheckHost(SUCCEEDED(pClientSite->GetContainer(pContainer.Put())) && pContainer, "IOleClientSite::GetContainer");
    if (pContainer)
    {
        CheckHost(pContainer->LockContainer(TRUE) == S_OK, "IOleContainer::LockContainer");
        pContainer->LockContainer(FALSE);
    }
    for (IUnknown* pUnk : {static_cast<IUnknown*>(pContainer.Get()), static_cast<IUnknown*>(pClientSite)})
    {
        ComPtr<IOleCommandTarget> pTarget;
        if (!pUnk || FAILED(pUnk->QueryInterface(IID_IOleCommandTarget, pTarget.PutVoid())))
            continue;
        OLECMD cmd = {OLECMDID_SHOWSCRIPTERROR, 0};
        CheckHost(pTarget->QueryStatus(&CGID_DocHostCommandHandler, 1, &cmd, nullptr) == S_OK &&
                      cmd.cmdf == (OLECMDF_SUPPORTED | OLECMDF_ENABLED),
                  "IOleCommandTarget::QueryStatus");
    }

    // The window the control's own window is made in.
    ComPtr<IOleInPlaceSite> pInPlaceSite;
    HWND hWnd = nullptr;
    CheckHost(SUCCEEDED(pClientSite->QueryInterface(IID_IOleInPlaceSite, pInPlaceSite.PutVoid())) &&
                  pInPlaceSite->GetWindow(&hWnd) == S_OK && ::IsWindow(hWnd),
              "IOleInPlaceSite::GetWindow");

    ComPtr<IOleControlSite> pControlSite;
    if (SUCCEEDED(pClientSite->QueryInterface(IID_IOleControlSite, pControlSite.PutVoid())))
        CheckHost(pControlSite->OnControlInfoChanged() == S_OK, "IOleControlSite::OnControlInfoChanged");
    else
        CheckHost(false, "QueryInterface(IOleControlSite)");
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::QueryInterface(REFIID iid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleObject)
        *ppv = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
        *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (iid == IID_IOleInPlaceActiveObject)
        *ppv = static_cast<IOleInPlaceActiveObject*>(this);
    else if (iid == IID_IDispatch || iid == IID_IWebBrowser2)
        *ppv = static_cast<IDispatch*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (iid == IID_IPersistStreamInit || iid == IID_IPersist)
        *ppv = static_cast<IPersistStreamInit*>(this);
    else if (iid == IID_IProvideClassInfo2 || iid == IID_IProvideClassInfo)
        *ppv = static_cast<IProvideClassInfo2*>(this);
    else
    {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE FakeWebBrowser::AddRef()
{
    return static_cast<ULONG>(++m_cRef);
}

ULONG STDMETHODCALLTYPE FakeWebBrowser::Release()
{
    const LONG cRef = --m_cRef;
    if (cRef == 0)
        delete this;
    return static_cast<ULONG>(cRef);
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::SetClientSite(IOleClientSite* pClientSite)
{
    Called(pClientSite ? "IOleObject::SetClientSite" : "IOleObject::SetClientSite(null)");
    if (!pClientSite)
    {
        ReleaseSite();
        return S_OK;
    }
    m_pClientSite = ComPtr<IOleClientSite>(pClientSite);
    CheckClientSite(pClientSite);
    return S_OK;
}

void FakeWebBrowser::ReleaseSite()
{
    m_pClientSite.Reset();
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::GetClientSite(IOleClientSite** ppClientSite)
{
    *ppClientSite = m_pClientSite.Get();
    if (*ppClientSite)
        (*ppClientSite)->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::Close(DWORD)
{
    Called("IOleObject::Close");
    m_bClosed = true;
    Deactivate();
    ReleaseSite();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                                                 LPCRECT lprcPosRect)
{
    Called("IOleObject::DoVerb");
    if (iVerb != OLEIVERB_INPLACEACTIVATE || !pActiveSite)
        return E_NOTIMPL;
    if (m_failure == FakeBrowserFailure::Activate)
        return E_FAIL;
    if (m_hWnd)
        return S_OK;

    // The calls Wine's control makes, in its order.
    ComPtr<IOleInPlaceSite> pSite;
    HRESULT hr = pActiveSite->QueryInterface(IID_IOleInPlaceSite, pSite.PutVoid());
    if (FAILED(hr))
        return hr;
    if (pSite->CanInPlaceActivate() != S_OK)
        return E_FAIL;
    HWND hwndSite = nullptr;
    pSite->GetWindow(&hwndSite);
    pSite->OnInPlaceActivate();
    ComPtr<IOleInPlaceFrame> pFrame;
    ComPtr<IOleInPlaceUIWindow> pDoc;
    RECT rcPos = *lprcPosRect;
    RECT rcClip = {};
    OLEINPLACEFRAMEINFO frameInfo = {};
    frameInfo.cb = sizeof(frameInfo);
    pSite->GetWindowContext(pFrame.Put(), pDoc.Put(), &rcPos, &rcClip, &frameInfo);

    RegisterWindowClass();
    m_hWnd = ::CreateWindowExW(
        0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, lprcPosRect->left,
        lprcPosRect->top, lprcPosRect->right - lprcPosRect->left, lprcPosRect->bottom - lprcPosRect->top,
        hwndSite ? hwndSite : hwndParent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
    m_pInPlaceSite = std::move(pSite);
    pActiveSite->ShowObject();

    ComPtr<IOleContainer> pContainer;
    pActiveSite->GetContainer(pContainer.Put());
    HWND hwndFrame = nullptr;
    CheckHost(pFrame && pFrame->GetWindow(&hwndFrame) == S_OK && hwndFrame == hwndSite, "IOleInPlaceFrame::GetWindow");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::GetUserClassID(CLSID* pClsid)
{
    *pClsid = CLSID_WebBrowser;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::SetExtent(DWORD, SIZEL* psizel)
{
    Called("IOleObject::SetExtent");
    m_extent = *psizel;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::GetExtent(DWORD, SIZEL* psizel)
{
    *psizel = m_extent;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::GetMiscStatus(DWORD, DWORD* pdwStatus)
{
    Called("IOleObject::GetMiscStatus");
    *pdwStatus = 0x20191; // what Wine's control answers: the site comes before the state
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::GetWindow(HWND* phwnd)
{
    Called("IOleWindow::GetWindow");
    *phwnd = m_hWnd;
    return m_hWnd ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::InPlaceDeactivate()
{
    Called("IOleInPlaceObject::InPlaceDeactivate");
    Deactivate();
    return S_OK;
}

void FakeWebBrowser::Deactivate()
{
    if (m_hWnd)
    {
        ::DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
    if (m_pInPlaceSite)
    {
        m_pInPlaceSite->OnInPlaceDeactivate();
        m_pInPlaceSite.Reset();
    }
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::SetObjectRects(LPCRECT lprcPosRect, LPCRECT)
{
    Called("IOleInPlaceObject::SetObjectRects");
    ::MoveWindow(m_hWnd, lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                 lprcPosRect->bottom - lprcPosRect->top, TRUE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::TranslateAccelerator(LPMSG lpmsg)
{
    if (lpmsg->message == WM_KEYDOWN)
        m_record.acceleratorKeys.push_back(static_cast<UINT>(lpmsg->wParam));
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::GetTypeInfoCount(UINT* pctinfo)
{
    *pctinfo = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                                                 VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT*)
{
    Called(dispid == kDispidNavigate ? "IDispatch::Invoke(Navigate)" : "IDispatch::Invoke");
    if (dispid == kDispidExecWB)
    {
        // ExecWB(cmdID, cmdexecopt, pvaIn, pvaOut), arguments last first:
        // the zoom set through pvaIn, or read back through pvaOut.
        const VARIANT& in = pDispParams->rgvarg[1];
        const VARIANT& out = pDispParams->rgvarg[0];
        if (pDispParams->cArgs != 4 || pDispParams->rgvarg[3].lVal != OLECMDID_OPTICAL_ZOOM ||
            in.vt != (VT_BYREF | VT_VARIANT) || out.vt != (VT_BYREF | VT_VARIANT))
            return DISP_E_TYPEMISMATCH;
        if (in.pvarVal && in.pvarVal->vt == VT_I4)
        {
            if (m_record.refusesZoomFlags && out.pvarVal && out.pvarVal->vt == VT_I4)
                return OLECMDERR_E_NOTSUPPORTED;
            m_record.zoomFlags.push_back(out.pvarVal && out.pvarVal->vt == VT_I4 ? out.pvarVal->lVal : 0);
            m_record.zooms.push_back(in.pvarVal->lVal);
            m_record.pageZoom = in.pvarVal->lVal;
            return S_OK;
        }
        if (!out.pvarVal)
            return E_INVALIDARG;
        out.pvarVal->vt = VT_I4;
        out.pvarVal->lVal = m_record.pageZoom;
        return S_OK;
    }
    if (dispid == kDispidRegisterAsBrowser && (wFlags & DISPATCH_PROPERTYPUT))
    {
        ++m_record.registeredAsBrowser;
        return S_OK;
    }
    if (dispid == kDispidRefresh)
    {
        ++m_record.refreshes;
        m_record.pageZoom = 100;
        return S_OK;
    }
    if (dispid == kDispidRefresh2)
    {
        const VARIANT* pLevel = pDispParams->cArgs == 1 ? ValueOf(pDispParams->rgvarg[0]) : nullptr;
        if (!pLevel || pLevel->vt != VT_I4)
            return DISP_E_TYPEMISMATCH;
        m_record.completeRefreshes += pLevel->lVal == 3; // REFRESH_COMPLETELY
        m_record.pageZoom = 100;
        return S_OK;
    }
    if (dispid == kDispidDocument && pVarResult)
    {
        if (!m_record.pDocument)
            return E_FAIL;
        pVarResult->vt = VT_DISPATCH;
        pVarResult->pdispVal = m_record.pDocument.Get();
        pVarResult->pdispVal->AddRef();
        return S_OK;
    }
    if (dispid == kDispidLocationUrl && pVarResult)
    {
        const std::wstring url = m_record.navigations.empty() ? L"" : m_record.navigations.back();
        pVarResult->vt = VT_BSTR;
        pVarResult->bstrVal = ::SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
        return S_OK;
    }
    if (dispid != kDispidNavigate)
        return DISP_E_MEMBERNOTFOUND;
    if (pDispParams->cArgs != 5 || pDispParams->rgvarg[4].vt != VT_BSTR)
        return DISP_E_BADPARAMCOUNT;
    const BSTR url = pDispParams->rgvarg[4].bstrVal;
    m_record.navigations.emplace_back(url ? url : L"", ::SysStringLen(url));
    // Navigate(URL, Flags, TargetFrameName, PostData, Headers), last first.
    std::string post;
    const VARIANT* pPost = ValueOf(pDispParams->rgvarg[1]);
    if (pPost && pPost->vt == (VT_ARRAY | VT_UI1) && pPost->parray)
    {
        void* pData = nullptr;
        ::SafeArrayAccessData(pPost->parray, &pData);
        post.assign(static_cast<const char*>(pData), pPost->parray->rgsabound[0].cElements);
        ::SafeArrayUnaccessData(pPost->parray);
    }
    m_record.postData.push_back(post);
    const VARIANT* pHeaders = ValueOf(pDispParams->rgvarg[0]);
    m_record.headers.emplace_back(pHeaders && pHeaders->vt == VT_BSTR && pHeaders->bstrVal ? pHeaders->bstrVal : L"");
    for (UINT i = 0; i < 4; ++i)
    {
        const VARIANT& v = pDispParams->rgvarg[i];
        if (v.vt != (VT_BYREF | VT_VARIANT) || v.pvarVal != nullptr)
            ++m_record.navigateCallsWithOtherArgs;
    }
    if (!m_record.popupDuringNavigation.empty())
    {
        const std::wstring popup = std::move(m_record.popupDuringNavigation);
        m_record.popupDuringNavigation.clear();
        FireNewWindow3(popup, &m_record.popupDuringNavigationCancel);
    }
    if (m_failure == FakeBrowserFailure::Navigate)
    {
        if (pExcepInfo)
        {
            *pExcepInfo = EXCEPINFO{};
            pExcepInfo->bstrDescription = ::SysAllocString(L"navigation refused");
            pExcepInfo->scode = E_ACCESSDENIED;
        }
        return DISP_E_EXCEPTION;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    Called("IConnectionPointContainer::FindConnectionPoint");
    if (riid != DIID_DWebBrowserEvents2)
    {
        *ppCP = nullptr;
        return CONNECT_E_NOCONNECTION;
    }
    *ppCP = new FakeConnectionPoint(this);
    (*ppCP)->AddRef();
    return S_OK;
}

HRESULT FakeWebBrowser::AdviseSink(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    Called("IConnectionPoint::Advise");
    if (m_pSink)
        return CONNECT_E_ADVISELIMIT;
    // Wine's control asks the sink for the event interface itself.
    HRESULT hr = pUnkSink->QueryInterface(DIID_DWebBrowserEvents2, m_pSink.PutVoid());
    if (FAILED(hr))
        return hr;
    *pdwCookie = 1;
    return S_OK;
}

HRESULT FakeWebBrowser::UnadviseSink(DWORD dwCookie)
{
    Called("IConnectionPoint::Unadvise");
    if (dwCookie != 1 || !m_pSink)
        return CONNECT_E_NOCONNECTION;
    m_pSink.Reset();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::Load(LPSTREAM pStm)
{
    Called("IPersistStreamInit::Load");
    char buffer[512];
    ULONG cbRead = 0;
    while (SUCCEEDED(pStm->Read(buffer, sizeof(buffer), &cbRead)) && cbRead > 0)
        m_record.state.append(buffer, cbRead);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::InitNew()
{
    Called("IPersistStreamInit::InitNew");
    m_record.initNew = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowser::GetGUID(DWORD dwGuidKind, GUID* pGUID)
{
    Called("IProvideClassInfo2::GetGUID");
    if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *pGUID = DIID_DWebBrowserEvents2;
    return S_OK;
}

LRESULT CALLBACK FakeWebBrowser::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* pThis = reinterpret_cast<FakeWebBrowser*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (message == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS; // a page takes every key, Tab and Enter included
    if (pThis && message == WM_KEYDOWN)
        pThis->m_record.windowKeys.push_back(static_cast<UINT>(wParam));
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

FakeWebBrowserClass::FakeWebBrowserClass(FakeBrowserFailure failure)
    : RegisteredClass(CLSID_WebBrowser), m_failure(failure)
{
}

FakeWebBrowser* FakeWebBrowserClass::Last() const
{
    return g_last;
}

int FakeWebBrowserClass::LiveObjects()
{
    return g_liveObjects;
}

HRESULT STDMETHODCALLTYPE FakeWebBrowserClass::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    if (m_failure == FakeBrowserFailure::Create)
        return E_OUTOFMEMORY;
    ComPtr<FakeWebBrowser> pFake(new FakeWebBrowser(m_record, m_failure));
    return pFake->QueryInterface(riid, ppv);
}
