#pragma once

#include <windows.h>
#include <docobj.h>
#include <oleidl.h>

#include "ComObject.h"
#include "ComPtr.h"
#include "DocHostCommandTarget.h"

#include <vector>

class COleControlSite;
class CWnd;

// Lets dialog templates create ActiveX controls (see CDialog). Until it is
// called, a template with such an item cannot be created.
void AfxEnableControlContainer();
bool AfxControlContainerEnabled() noexcept;

// What a window that hosts ActiveX controls offers them: the in-place frame,
// the container, the command target a browser control asks first, and the
// list of its controls' sites.
class COleControlContainer final : public ComObject<IOleInPlaceFrame, IOleContainer, DocHostCommandTarget>
{
public:
    explicit COleControlContainer(CWnd* pWnd) noexcept;

    // Creates a control as a child of the window; FALSE if it cannot be.
    // OLE is initialised on this thread with the first control.
    BOOL CreateControl(REFCLSID clsid, DWORD dwStyle, const RECT& rect, UINT nID, const BYTE* pState, size_t cbState,
                       HWND* phWnd);
    // Closes every control, the last created first.
    void DestroyControls();
    void RemoveSite(COleControlSite* pSite) noexcept;

    COleControlSite* FindSite(HWND hWnd) const noexcept;
    CWnd* GetWnd() const noexcept { return m_pWnd; }
    HWND GetHwnd() const noexcept;

    // Offers a key or mouse message to the accelerators of the control that
    // has the focus; TRUE if the control used it.
    BOOL PreTranslateInput(MSG* pMsg);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) noexcept override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) noexcept override
    {
        if (!phwnd)
            return E_POINTER;
        *phwnd = GetHwnd();
        return *phwnd ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }

    // IOleInPlaceUIWindow
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) noexcept override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) noexcept override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR) noexcept override
    {
        m_pActiveObject = ComPtr<IOleInPlaceActiveObject>(pActiveObject);
        return S_OK;
    }

    // IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) noexcept override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) noexcept override { return S_FALSE; }

    // IParseDisplayName, IOleContainer
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** ppmkOut) noexcept override
    {
        if (ppmkOut)
            *ppmkOut = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumObjects(DWORD, IEnumUnknown** ppenum) noexcept override
    {
        if (ppenum)
            *ppenum = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE LockContainer(BOOL) noexcept override { return S_OK; }

private:
    ~COleControlContainer() override = default;

    CWnd* m_pWnd; // null once the controls are destroyed
    std::vector<ComPtr<COleControlSite>> m_sites;
    ComPtr<IOleInPlaceActiveObject> m_pActiveObject; // of the UI-active control
};
