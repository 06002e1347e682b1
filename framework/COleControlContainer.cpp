#include "COleControlContainer.h"

#include "COleControlSite.h"
#include "CWnd.h"

#include <algorithm>

namespace
{

bool g_bControlContainerEnabled = false;

// OLE stays initialised on the GUI thread until the process ends.
class OleInitialization
{
public:
    OleInitialization() noexcept : m_hr(::OleInitialize(nullptr)) {}
    ~OleInitialization()
    {
        if (SUCCEEDED(m_hr))
            ::OleUninitialize();
    }
    OleInitialization(const OleInitialization&) = delete;
    OleInitialization& operator=(const OleInitialization&) = delete;

private:
    HRESULT m_hr;
};

void InitializeOleOnce()
{
    static OleInitialization s_ole;
}

bool IsInputMessage(UINT message) noexcept
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

} // namespace

void AfxEnableControlContainer()
{
    g_bControlContainerEnabled = true;
}

bool AfxControlContainerEnabled() noexcept
{
    return g_bControlContainerEnabled;
}

COleControlContainer::COleControlContainer(CWnd* pWnd) noexcept : m_pWnd(pWnd) {}

BOOL COleControlContainer::CreateControl(REFCLSID clsid, DWORD dwStyle, const RECT& rect, UINT nID, const BYTE* pState,
                                         size_t cbState, HWND* phWnd)
{
    InitializeOleOnce();
    ComPtr<COleControlSite> pSite(new COleControlSite(this));
    if (FAILED(pSite->CreateControl(clsid, dwStyle, rect, nID, pState, cbState)))
        return FALSE;
    m_sites.push_back(pSite);
    *phWnd = pSite->GetHwnd();
    return TRUE;
}

void COleControlContainer::DestroyControls()
{
    ComPtr<COleControlContainer> keepAlive(this);
    const std::vector<ComPtr<COleControlSite>> sites = m_sites;
    for (auto it = sites.rbegin(); it != sites.rend(); ++it)
        (*it)->DestroyControl();
    m_sites.clear();
    m_pActiveObject.Reset();
    m_pWnd = nullptr;
}

void COleControlContainer::RemoveSite(COleControlSite* pSite) noexcept
{
    m_sites.erase(std::remove_if(m_sites.begin(), m_sites.end(),
                                 [pSite](const ComPtr<COleControlSite>& p) { return p.Get() == pSite; }),
                  m_sites.end());
}

COleControlSite* COleControlContainer::FindSite(HWND hWnd) const noexcept
{
    for (const ComPtr<COleControlSite>& pSite : m_sites)
        if (hWnd && pSite->GetHwnd() == hWnd)
            return pSite.Get();
    return nullptr;
}

HWND COleControlContainer::GetHwnd() const noexcept
{
    return m_pWnd ? m_pWnd->m_hWnd : nullptr;
}

BOOL COleControlContainer::PreTranslateInput(MSG* pMsg)
{
    if (!IsInputMessage(pMsg->message))
        return FALSE;
    const HWND hWndSelf = GetHwnd();
    COleControlSite* pSite = nullptr;
    for (HWND hWnd = ::GetFocus(); hWnd && hWnd != hWndSelf && !pSite; hWnd = ::GetParent(hWnd))
        pSite = FindSite(hWnd);
    if (!pSite)
        return FALSE;
    // The control names its active object when it becomes UI-active; one
    // that never does is asked directly.
    ComPtr<IOleInPlaceActiveObject> pActive = m_pActiveObject ? m_pActiveObject : pSite->GetActiveObject();
    return pActive && pActive->TranslateAccelerator(pMsg) == S_OK;
}

// IUnknown

HRESULT STDMETHODCALLTYPE COleControlContainer::QueryInterface(REFIID iid, void** ppv) noexcept
{
    if (!ppv)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IParseDisplayName || iid == IID_IOleContainer)
        *ppv = static_cast<IOleContainer*>(this);
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
