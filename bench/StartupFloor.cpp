// The floor for the start-up benchmark: the least a dialog program built the
// same way must do to show the same browser control. A dialog from a
// template in memory, the WebBrowser control created and in-place activated
// with a bare site (client site and in-place site, nothing else), the same
// first navigation, then a plain message loop. Built with
// FLOOR_WITH_COMMON_CONTROLS it also initialises version 6 of the common
// controls first, as any program with such controls in its window must.

#include "framework/ComPtr.h"
#include "framework/UniqueBstr.h"

#include <windows.h>
#include <exdisp.h>
#include <ole2.h>
#ifdef FLOOR_WITH_COMMON_CONTROLS
#include <commctrl.h>
#endif

#include <iterator>

namespace
{

// A COM object goes by Release, never by delete through an interface, whose
// destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class Site final : public IOleClientSite, public IOleInPlaceSite
{
public:
    explicit Site(HWND hWnd) : m_hWnd(hWnd) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override
    {
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *ppv = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *ppv = static_cast<IOleInPlaceSite*>(this);
        else
        {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** pp) override
    {
        *pp = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override
    {
        *phwnd = m_hWnd;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT pos,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override
    {
        *ppFrame = nullptr;
        *ppDoc = nullptr;
        ::GetClientRect(m_hWnd, pos);
        *clip = *pos;
        info->fMDIApp = FALSE;
        info->hwndFrame = m_hWnd;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

private:
    HWND m_hWnd;
};
#pragma GCC diagnostic pop

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE)
        ::ExitProcess(0);
    if (message != WM_INITDIALOG)
        return FALSE;
    ::SetWindowPos(hWnd, nullptr, 0, 0, 1148, 750, SWP_NOMOVE | SWP_NOZORDER);
    ::OleInitialize(nullptr);
    static Site site(hWnd);
    IOleObject* pObject = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&pObject))))
        return TRUE;
    pObject->SetClientSite(&site);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, hWnd, &rc);
    ComPtr<IWebBrowser2> pBrowser;
    if (SUCCEEDED(pObject->QueryInterface(IID_IWebBrowser2, pBrowser.PutVoid())))
    {
        const wchar_t url[] = L"http://www.velka.cn/";
        const UniqueBstr bstrUrl(url, static_cast<UINT>(std::size(url) - 1));
        pBrowser->Navigate(bstrUrl.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    return TRUE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
#ifdef FLOOR_WITH_COMMON_CONTROLS
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
#endif
    // A template in memory: a visible, centred popup with a caption.
    struct
    {
        DLGTEMPLATE dlg;
        WORD menu, cls;
        wchar_t title[16];
    } tmpl = {};
    tmpl.dlg.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER;
    tmpl.dlg.cx = 731;
    tmpl.dlg.cy = 135;
    lstrcpyW(tmpl.title, L"Startup floor");
    const HWND hWnd = ::CreateDialogIndirectParamW(hInstance, &tmpl.dlg, nullptr, DialogProc, 0);
    MSG msg;
    while (hWnd && ::GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        if (!::IsDialogMessageW(hWnd, &msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return 0;
}
