#pragma once

#include "framework/ComPtr.h"
#include "harness/RegisteredClass.h"

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include <ostream>
#include <string>
#include <vector>

// A stand-in for the WebBrowser control, for what Wine's control cannot
// show: a page asking for a new window, a control that fails, accelerator
// keys, reference counts. It does what the real control does for its host
// (site calls in the same order as Wine's, a child window, events through a
// connection point) and records what the host asks of it.

enum class FakeBrowserFailure
{
    None,
    Create,   // the class factory cannot make one
    Activate, // in-place activation fails
    Navigate, // Navigate raises an error
};

void PrintTo(FakeBrowserFailure failure, std::ostream* os);

// What the fake controls of this process saw.
struct FakeBrowserRecord
{
    // The host's calls into the control, in order, each named by the
    // interface it came through: "IOleObject::SetClientSite".
    std::vector<std::string> calls;
    // The control calls a method of every interface the host hands it, as
    // Wine's and Windows' controls do; an answer that is not that
    // interface's is listed here.
    int hostChecks = 0;
    std::vector<std::string> hostFaults;
    std::vector<std::wstring> navigations; // every address Navigate received, whole
    std::vector<std::string> postData;     // the form data of each Navigate ("" for none)
    std::vector<std::wstring> headers;     // the headers of each Navigate
    ComPtr<IDispatch> pDocument;           // the page's document, as the Document property gives it
    std::vector<long> zooms;               // every page zoom set through ExecWB
    std::vector<long> zoomFlags;           // with each, the OLECMDIDF_OPTICAL_ZOOM_ flags passed
    long pageZoom = 100;                   // the zoom the page has, as ExecWB reads it back
    bool refusesZoomFlags = false;         // a zoom asked for with flags is refused
    int refreshes = 0;                     // a refresh puts the page back at 100 %
    int completeRefreshes = 0;             // Refresh2(REFRESH_COMPLETELY): nothing from the cache
    int navigateCallsWithOtherArgs = 0;    // calls whose optional arguments were not four null references
    std::vector<UINT> acceleratorKeys;     // WM_KEYDOWN codes offered to TranslateAccelerator
    std::vector<UINT> windowKeys;          // WM_KEYDOWN codes that reached the control's window
    std::string state;                     // bytes loaded from the persisted state
    bool initNew = false;
    // A new window the page asks for from inside the next Navigate, and
    // what Cancel came back as.
    std::wstring popupDuringNavigation;
    VARIANT_BOOL popupDuringNavigationCancel = VARIANT_FALSE;
    // Controls the host made to hand a page as its new window, and what was
    // set of them.
    int popupsMade = 0;
    int registeredAsBrowser = 0;
};

// A COM object goes by Release, never by delete through an interface, whose
// destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class FakeWebBrowser final : public IOleObject,
                             public IOleInPlaceObject,
                             public IOleInPlaceActiveObject,
                             public IDispatch,
                             public IConnectionPointContainer,
                             public IPersistStreamInit,
                             public IProvideClassInfo2
{
public:
    FakeWebBrowser(FakeBrowserRecord& record, const FakeBrowserFailure& failure);

    HWND Window() const { return m_hWnd; }
    // Fires NewWindow3 as a page asking for a new window would (flags are
    // NWMF_ values); returns the host's result, with *pCancel as the host
    // left it. Where the host hands back a browser, and leaves Cancel unset,
    // the page holds it (in *ppPopup, when asked for) and, as Internet
    // Explorer does, starts it at the address (about:blank for none).
    // A form posted into the new window comes with its data and headers.
    HRESULT FireNewWindow3(const std::wstring& url, VARIANT_BOOL* pCancel, DWORD dwFlags = 0x6,
                           ComPtr<FakeWebBrowser>* ppPopup = nullptr, const std::string& postData = "",
                           const std::wstring& headers = L"");
    // What a page does with a window it holds: sends it to an address
    // (fires BeforeNavigate2 as the browser does, the form data and
    // headers with it), or one of its frames (pFrame); returns what Cancel
    // came back as.
    VARIANT_BOOL FireBeforeNavigate2(const std::wstring& url, const std::string& postData = "",
                                     const std::wstring& headers = L"", IDispatch* pFrame = nullptr);
    bool IsClosed() const { return m_bClosed; }
    // The page that asks for new windows from now on.
    void SetNewWindowContext(const std::wstring& url) { m_newWindowContext = url; }
    // Fires WindowClosing as a page's window.close() does.
    HRESULT FireWindowClosing(VARIANT_BOOL* pCancel);
    // Fires DocumentComplete as a page that has loaded does, or with
    // pFrame, as one of its frames does.
    HRESULT FireDocumentComplete(IDispatch* pFrame = nullptr);
    bool HasEventSink() const { return static_cast<bool>(m_pSink); }
    IOleClientSite* ClientSite() const { return m_pClientSite.Get(); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                                     LPCRECT lprcPosRect) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* pClsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* pdwStatus) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow (both in-place interfaces)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT lprcPosRect, LPCRECT) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG lpmsg) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                     EXCEPINFO* pExcepInfo, UINT*) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override { return GetUserClassID(pClassID); }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM pStm) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override;

    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD dwGuidKind, GUID* pGUID) override;

    // The connection point keeps its sink here.
    HRESULT AdviseSink(IUnknown* pUnkSink, DWORD* pdwCookie);
    HRESULT UnadviseSink(DWORD dwCookie);

private:
    ~FakeWebBrowser();
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    void Called(const char* pszCall) { m_record.calls.emplace_back(pszCall); }
    void CheckHost(bool bAnswered, const char* pszWhat);
    // What Wine's control asks of a new client site.
    void CheckClientSite(IOleClientSite* pClientSite);
    HRESULT FireEvent(DISPID dispid, VARIANT* pArgs, UINT cArgs);
    void ReleaseSite();
    void Deactivate();

    LONG m_cRef = 0;
    FakeBrowserRecord& m_record;
    const FakeBrowserFailure& m_failure;
    ComPtr<IOleClientSite> m_pClientSite;
    ComPtr<IOleInPlaceSite> m_pInPlaceSite;
    ComPtr<IDispatch> m_pSink;
    HWND m_hWnd = nullptr;
    SIZEL m_extent = {};
    bool m_bClosed = false;
    std::wstring m_newWindowContext = L"http://page.test/game.html";
};
#pragma GCC diagnostic pop

// Makes the fake the WebBrowser control of this process while it lives
// (OLE is initialised for it on this thread).
class FakeWebBrowserClass final : public RegisteredClass
{
public:
    explicit FakeWebBrowserClass(FakeBrowserFailure failure = FakeBrowserFailure::None);

    FakeBrowserRecord& Record() { return m_record; }
    // What fails from now on, in the controls made before as well.
    void SetFailure(FakeBrowserFailure failure) { m_failure = failure; }
    // The control made last, while it exists (not counting those the host
    // made to hand to a page as its new window).
    FakeWebBrowser* Last() const;
    // Fake controls and connection points not yet released.
    static int LiveObjects();

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;

private:
    FakeBrowserRecord m_record;
    FakeBrowserFailure m_failure;
};
