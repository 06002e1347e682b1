#pragma once

#include <windows.h>
#include <docobj.h>
#include <oleidl.h>

#include "ComPtr.h"
#include "DocHostCommands.h"

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
class COleControlContainer final : public IOleInPlaceFrame, public IOleContainer, public IOleCommandTarget
{
public:
    explicit COleControlContainer(CWnd* pWnd) noexcept;
    COleControlContainer(const COleControlContainer&) = delete;
    COleControlContainer& operator=(const COleControlContainer&) = delete;

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
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) noexcept override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override;

    // IOleInPlaceUIWindow
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) noexcept override;
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) noexcept override;
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) noexcept override;
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR) noexcept override;

    // IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) noexcept override;
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) noexcept override;
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) noexcept override;
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) noexcept override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) noexcept override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) noexcept override;

    // IParseDisplayName, IOleContainer
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** ppmkOut) noexcept override;
    HRESULT STDMETHODCALLTYPE EnumObjects(DWORD, IEnumUnknown** ppenum) noexcept override;
    HRESULT STDMETHODCALLTYPE LockContainer(BOOL) noexcept override;

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
    ~COleControlContainer() = default;

    LONG m_cRef = 0;
    CWnd* m_pWnd; // null once the controls are destroyed
    std::vector<ComPtr<COleControlSite>> m_sites;
    ComPtr<IOleInPlaceActiveObject> m_pActiveObject; // of the UI-active control
};
