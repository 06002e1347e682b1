#pragma once

#include <windows.h>
#include <docobj.h>
#include <ocidl.h>
#include <oleidl.h>

#include "ComPtr.h"
#include "DocHostCommands.h"

class COleControlContainer;
class CWnd;
class DispatchArgs;

// The site of one hosted ActiveX control: the client-site, in-place-site and
// control-site interfaces the control talks to, the ambient-property
// dispatch, the command target a browser control asks when its container has
// none, and the sink that receives the control's events.
//
// Creation runs in a fixed order (create, client site, persisted state,
// events, extent, in-place activation, window); DestroyControl undoes it in
// reverse: events first, because closing a control fires some.
class COleControlSite final : public IOleClientSite,
                              public IOleInPlaceSite,
                              public IOleControlSite,
                              public IDispatch,
                              public IOleCommandTarget
{
public:
    explicit COleControlSite(COleControlContainer* pCtrlCont) noexcept;
    COleControlSite(const COleControlSite&) = delete;
    COleControlSite& operator=(const COleControlSite&) = delete;

    // Creates the control as a child of the container's window at rect
    // (pixels), loading its state from pState if there is one. On failure
    // nothing of the control is left behind.
    HRESULT CreateControl(REFCLSID clsid, DWORD dwStyle, const RECT& rect, UINT nID, const BYTE* pState,
                          size_t cbState);
    void DestroyControl();

    HWND GetHwnd() const noexcept { return m_hWnd; }

    // The wrapper bound to this control (see CWnd::AttachControlSite).
    void BindWrapper(CWnd* pWndCtrl) noexcept { m_pWndCtrl = pWndCtrl; }

    // Calls a method of the control; throws on failure.
    void InvokeHelper(DISPID dwDispID, WORD wFlags, DispatchArgs& args);

    // The control's in-place active object, for keyboard accelerators.
    ComPtr<IOleInPlaceActiveObject> GetActiveObject() const noexcept;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() noexcept override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) noexcept override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) noexcept override;
    HRESULT STDMETHODCALLTYPE ShowObject() noexcept override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) noexcept override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() noexcept override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) noexcept override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override;

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() noexcept override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() noexcept override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() noexcept override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                               LPRECT lprcPosRect, LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo) noexcept override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) noexcept override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) noexcept override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() noexcept override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() noexcept override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() noexcept override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT lprcPosRect) noexcept override;

    // IOleControlSite
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() noexcept override;
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) noexcept override;
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** ppDisp) noexcept override;
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) noexcept override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) noexcept override;
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL) noexcept override;
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() noexcept override;

    // IDispatch: the ambient properties; the control's defaults apply to all.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) noexcept override;

    // IOleCommandTarget
    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[],
                                          OLECMDTEXT* pCmdText) noexcept override
    {
        return AfxDocHostQueryStatus(pguidCmdGroup, cCmds, prgCmds, pCmdText);
    }
    HRESULT STDMETHODCALLTYPE Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                                   VARIANT* pvaOut) noexcept override
    {
        return AfxDocHostExec(pguidCmdGroup, nCmdID, nCmdexecopt, pvaIn, pvaOut);
    }

private:
    // Receives the control's events; an identity of its own whose references
    // count on the site.
    class XEventSink final : public IDispatch
    {
    public:
        explicit XEventSink(COleControlSite* pSite) noexcept : m_pSite(pSite) {}

        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) noexcept override;
        ULONG STDMETHODCALLTYPE AddRef() noexcept override;
        ULONG STDMETHODCALLTYPE Release() noexcept override;
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) noexcept override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) noexcept override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*,
                                         EXCEPINFO* pExcepInfo, UINT* puArgErr) noexcept override;

    private:
        COleControlSite* m_pSite;
    };

    ~COleControlSite() = default;

    HRESULT LoadState(const BYTE* pState, size_t cbState);
    void ConnectEvents();
    HWND GetParentHwnd() const noexcept;

    LONG m_cRef = 0;
    COleControlContainer* m_pCtrlCont; // null once the control is destroyed
    CWnd* m_pWndCtrl = nullptr;
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
