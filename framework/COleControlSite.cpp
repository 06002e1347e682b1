#include "COleControlSite.h"

#include "COleControlContainer.h"
#include "CWnd.h"
#include "ScopeGuard.h"
#include "UniqueHandle.h"

#include <olectl.h>

#include <cstring>
#include <utility>

namespace
{

const long kHimetricPerInch = 2540;

SIZEL PixelsToHimetric(int cx, int cy)
{
    const UniqueWindowDC hDC(nullptr);
    const long dpiX = ::GetDeviceCaps(hDC.Get(), LOGPIXELSX);
    const long dpiY = ::GetDeviceCaps(hDC.Get(), LOGPIXELSY);
    return SIZEL{::MulDiv(cx, kHimetricPerInch, dpiX), ::MulDiv(cy, kHimetricPerInch, dpiY)};
}

} // namespace

COleControlSite::COleControlSite(COleControlContainer* pCtrlCont) noexcept : m_pCtrlCont(pCtrlCont), m_xEventSink(this)
{
}

HRESULT COleControlSite::CreateControl(REFCLSID clsid, DWORD dwStyle, const RECT& rect, UINT nID, const BYTE* pState,
                                       size_t cbState)
{
    ComPtr<COleControlSite> keepAlive(this);
    m_nID = nID;
    m_rect = rect;

    ComPtr<IClassFactory> pFactory;
    HRESULT hr = ::CoGetClassObject(clsid, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, nullptr, IID_IClassFactory,
                                    pFactory.PutVoid());
    if (SUCCEEDED(hr))
        hr = pFactory->CreateInstance(nullptr, IID_IOleObject, m_pObject.PutVoid());
    pFactory.Reset();
    if (FAILED(hr))
        return hr;

    // From here on a step that fails takes down what the steps before made.
    ScopeGuard destroyOnFailure([this] { DestroyControl(); });
    // Controls that want their site before their state say so (an object
    // that cannot tell has no such wish).
    DWORD dwMiscStatus = 0;
    m_pObject->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
    const bool bSiteFirst = (dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (bSiteFirst && FAILED(hr = m_pObject->SetClientSite(this)))
        return hr;
    if (FAILED(hr = LoadState(pState, cbState)))
        return hr;
    if (!bSiteFirst && FAILED(hr = m_pObject->SetClientSite(this)))
        return hr;
    // Events are connected before activation: a control may fire some as
    // soon as it is active. The extent is a request the control may turn
    // down: the window's size below is what counts.
    ConnectEvents();
    SIZEL extent = PixelsToHimetric(rect.right - rect.left, rect.bottom - rect.top);
    m_pObject->SetExtent(DVASPECT_CONTENT, &extent);
    if (FAILED(hr = m_pObject->QueryInterface(IID_IOleInPlaceObject, m_pInPlaceObject.PutVoid())))
        return hr;
    RECT rc = rect;
    if (FAILED(hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, GetParentHwnd(), &rc)))
        return hr;
    if (FAILED(hr = m_pInPlaceObject->GetWindow(&m_hWnd)))
        return hr;
    if (!m_hWnd)
        return E_FAIL;
    destroyOnFailure.Dismiss();

    m_pObject->QueryInterface(IID_IDispatch, m_pDispatch.PutVoid());
    // The control's window answers to the item's id, like any dialog control.
    ::SetWindowLongPtrW(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(nID));
    if (!(dwStyle & WS_VISIBLE))
        ::ShowWindow(m_hWnd, SW_HIDE);
    return S_OK;
}

HRESULT COleControlSite::LoadState(const BYTE* pState, size_t cbState)
{
    ComPtr<IPersistStreamInit> pPersist;
    if (FAILED(m_pObject->QueryInterface(IID_IPersistStreamInit, pPersist.PutVoid())))
        return pState ? E_NOINTERFACE : S_OK;
    if (!pState)
        return pPersist->InitNew();

    ComPtr<IStream> pStream;
    HRESULT hr = ::CreateStreamOnHGlobal(nullptr, TRUE, pStream.Put());
    ULONG cbWritten = 0;
    if (SUCCEEDED(hr))
        hr = pStream->Write(pState, static_cast<ULONG>(cbState), &cbWritten);
    if (SUCCEEDED(hr))
    {
        LARGE_INTEGER zero = {};
        hr = pStream->Seek(zero, STREAM_SEEK_SET, nullptr);
    }
    if (SUCCEEDED(hr))
        hr = pPersist->Load(pStream.Get());
    return hr;
}

void COleControlSite::ConnectEvents()
{
    ComPtr<IProvideClassInfo2> pClassInfo;
    if (FAILED(m_pObject->QueryInterface(IID_IProvideClassInfo2, pClassInfo.PutVoid())) ||
        FAILED(pClassInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &m_iidEvents)))
        return;
    ComPtr<IConnectionPointContainer> pContainer;
    if (FAILED(m_pObject->QueryInterface(IID_IConnectionPointContainer, pContainer.PutVoid())) ||
        FAILED(pContainer->FindConnectionPoint(m_iidEvents, m_pEventCP.Put())))
        return;
    if (FAILED(m_pEventCP->Advise(&m_xEventSink, &m_dwEventCookie)))
        m_pEventCP.Reset();
}

void COleControlSite::DestroyControl()
{
    ComPtr<COleControlSite> keepAlive(this);
    if (m_pEventCP)
    {
        m_pEventCP->Unadvise(m_dwEventCookie);
        m_pEventCP.Reset();
    }
    if (m_pInPlaceObject)
    {
        m_pInPlaceObject->InPlaceDeactivate();
        m_pInPlaceObject.Reset();
    }
    m_pDispatch.Reset();
    if (m_pObject)
    {
        m_pObject->SetClientSite(nullptr);
        m_pObject->Close(OLECLOSE_NOSAVE);
        m_pObject.Reset();
    }
    // Normally closing destroyed the control's window and unbound its
    // wrapper already; a window the control left behind is its own again.
    if (CWnd* pWndCtrl = m_hWnd ? CWnd::FromHandlePermanent(m_hWnd) : nullptr)
    {
        pWndCtrl->AttachControlSite(nullptr);
        pWndCtrl->UnsubclassWindow();
    }
    m_hWnd = nullptr;
    if (COleControlContainer* pCtrlCont = std::exchange(m_pCtrlCont, nullptr))
        pCtrlCont->RemoveSite(this);
}

ComPtr<IOleInPlaceActiveObject> COleControlSite::GetActiveObject() const noexcept
{
    ComPtr<IOleInPlaceActiveObject> pActive;
    if (m_pObject)
        m_pObject->QueryInterface(IID_IOleInPlaceActiveObject, pActive.PutVoid());
    return pActive;
}

HWND COleControlSite::GetParentHwnd() const noexcept
{
    return m_pCtrlCont ? m_pCtrlCont->GetHwnd() : nullptr;
}

// COM

HRESULT STDMETHODCALLTYPE COleControlSite::QueryInterface(REFIID iid, void** ppv) noexcept
{
    if (!ppv)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleControlSite)
        *ppv = static_cast<IOleControlSite*>(this);
    else if (iid == IID_IDispatch)
        *ppv = static_cast<IDispatch*>(this);
    else if (iid == IID_IOleCommandTarget)
        *ppv = static_cast<IOleCommandTarget*>(this);
    else
    {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COleControlSite::GetContainer(IOleContainer** ppContainer) noexcept
{
    if (!ppContainer)
        return E_POINTER;
    *ppContainer = nullptr;
    if (!m_pCtrlCont)
        return E_NOINTERFACE;
    return m_pCtrlCont->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(ppContainer));
}

HRESULT STDMETHODCALLTYPE COleControlSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                                            LPRECT lprcPosRect, LPRECT lprcClipRect,
                                                            LPOLEINPLACEFRAMEINFO lpFrameInfo) noexcept
{
    if (!ppFrame || !ppDoc || !lprcPosRect || !lprcClipRect || !lpFrameInfo)
        return E_POINTER;
    *ppFrame = nullptr;
    *ppDoc = nullptr;
    if (!m_pCtrlCont)
        return E_UNEXPECTED;
    m_pCtrlCont->QueryInterface(IID_IOleInPlaceFrame, reinterpret_cast<void**>(ppFrame));

    const HWND hWndParent = GetParentHwnd();
    *lprcPosRect = m_rect;
    if (m_hWnd)
    {
        ::GetWindowRect(m_hWnd, lprcPosRect);
        ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(lprcPosRect), 2);
    }
    ::GetClientRect(hWndParent, lprcClipRect);
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = hWndParent;
    lpFrameInfo->haccel = nullptr;
    lpFrameInfo->cAccelEntries = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COleControlSite::OnPosRectChange(LPCRECT lprcPosRect) noexcept
{
    if (!lprcPosRect)
        return E_POINTER;
    m_rect = *lprcPosRect;
    if (!m_pInPlaceObject)
        return S_OK;
    RECT rcClip;
    ::GetClientRect(GetParentHwnd(), &rcClip);
    return m_pInPlaceObject->SetObjectRects(lprcPosRect, &rcClip);
}

// Event sink

HRESULT STDMETHODCALLTYPE COleControlSite::XEventSink::QueryInterface(REFIID iid, void** ppv) noexcept
{
    if (!ppv)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == m_pSite->m_iidEvents)
    {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE COleControlSite::XEventSink::Invoke(DISPID dispid, REFIID, LCID, WORD,
                                                              DISPPARAMS* pDispParams, VARIANT*, EXCEPINFO* pExcepInfo,
                                                              UINT* puArgErr) noexcept
{
    if (!pDispParams)
        return E_INVALIDARG;
    COleControlContainer* pCtrlCont = m_pSite->m_pCtrlCont;
    CWnd* pTarget = pCtrlCont ? pCtrlCont->GetWnd() : nullptr;
    if (!pTarget)
        return S_OK; // the control is being torn down: nobody listens any more
    ComPtr<COleControlSite> keepAlive(m_pSite);
    return AfxDispatchEvent(pTarget, m_pSite->m_nID, dispid, pDispParams, pExcepInfo, puArgErr);
}
