#pragma once

#include <windows.h>
#include <docobj.h>
#include <ocidl.h>
#include <oleidl.h>

#include "ComObject.h"
#include "ComPtr.h"
#include "DispatchWithoutTypeInfo.h"
#include "DocHostCommandTarget.h"

class COleControlContainer;
class DispatchArgs;

// The site of one hosted ActiveX control: the client-site, in-place-site and
// control-site interfaces the control talks to, the ambient-property
// dispatch, the command target a browser control asks when its container has
// none, and the sink that receives the control's events.
//
// Creation runs in a fixed order (create, client site, persisted state,
// events, extent, in-place activation, window); DestroyControl undoes it in
// reverse: events first, because closing a control fires some.
class COleControlSite final
    : public ComObject<IOleClientSite, IOleInPlaceSite, IOleControlSite, DispatchWithoutTypeInfo, DocHostCommandTarget>
{
public:
    explicit COleControlSite(COleControlContainer* pCtrlCont) noexcept;

    // Creates the control as a child of the container's window at rect
    // (pixels), loading its state from pState if there is one. On failure
    // nothing of the control is left behind.
    HRESULT CreateControl(REFCLSID clsid, DWORD dwStyle, const RECT& rect, UINT nID, const BYTE* pState,
                          size_t cbState);
    // Closes the control; its wrapper, if one is bound, is unbound.
    void DestroyControl();

    HWND GetHwnd() const noexcept { return m_hWnd; }

    // Calls a method of the control, or reads a property into pvarResult;
    // throws on failure.
    void InvokeHelper(DISPID dwDispID, WORD wFlags, DispatchArgs& args, VARIANT* pvarResult = nullptr);
    // The same where a failure is expected (a control with no page yet):
    // the call's result, nothing thrown.
    HRESULT TryInvoke(DISPID dwDispID, WORD wFlags, DispatchArgs& args, VARIANT* pvarResult = nullptr);
    // Sets a property of the control; its result, nothing thrown.
    HRESULT TrySetProperty(DISPID dwDispID, const VARIANT& value);
    // The control itself.
    IUnknown* GetControlUnknown() const noexcept { return m_pObject.Get(); }

    // The control's in-place active object, for keyboard accelerators.
    ComPtr<IOleInPlaceActiveObject> GetActiveObject() const noexcept;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) noexcept override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) noexcept override
    {
        if (ppmk)
            *ppmk = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) noexcept override;
    HRESULT STDMETHODCALLTYPE ShowObject() noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() noexcept override { return E_NOTIMPL; }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) noexcept override
    {
        if (!phwnd)
            return E_POINTER;
        *phwnd = GetParentHwnd();
        return *phwnd ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() noexcept override { return m_pCtrlCont ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                               LPRECT lprcPosRect, LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo) noexcept override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT lprcPosRect) noexcept override;

    // IOleControlSite
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** ppDisp) noexcept override
    {
        if (ppDisp)
            *ppDisp = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) noexcept override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL) noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() noexcept override { return E_NOTIMPL; }

    // IDispatch: the ambient properties; the control's defaults apply to all.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) noexcept override
    {
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    // Receives the control's events; an identity of its own whose references
    // count on the site.
    // A COM object goes by Release, never by delete through an interface, whose
    // destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
    class XEventSink final : public DispatchWithoutTypeInfo
    {
    public:
        explicit XEventSink(COleControlSite* pSite) noexcept : m_pSite(pSite) {}

        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) noexcept override;
        ULONG STDMETHODCALLTYPE AddRef() noexcept override { return m_pSite->AddRef(); }
        ULONG STDMETHODCALLTYPE Release() noexcept override { return m_pSite->Release(); }
        HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*,
                                         EXCEPINFO* pExcepInfo, UINT* puArgErr) noexcept override;

    private:
        COleControlSite* m_pSite;
    };
#pragma GCC diagnostic pop

    ~COleControlSite() override = default;

    HRESULT LoadState(const BYTE* pState, size_t cbState);
    void ConnectEvents();
    HWND GetParentHwnd() const noexcept;

    COleControlContainer* m_pCtrlCont; // null once the control is destroyed
    UINT m_nID = 0;
    RECT m_rect = {};
    HWND m_hWnd = nullptr;
    ComPtr<IOleObject> m_pObject;
    ComPtr<IOleInPlaceObject> m_pInPlaceObject;
    ComPtr<IDispatch> m_pDispatch;
    ComPtr<IConnectionPoint> m_pEventCP;
    IID m_iidEvents = IID_NULL;
    DWORD m_dwEventCookie = 0;
    XEventSink m_xEventSink;
};
