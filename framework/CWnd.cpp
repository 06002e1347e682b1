#include "CWnd.h"

#include "CDC.h"
#include "COleControlContainer.h"
#include "COleControlSite.h"
#include "CRect.h"
#include "CWinApp.h"
#include "UniqueHandle.h"

#include <memory>
#include <unordered_map>

namespace
{

// What the framework keeps of its windows. The program has one GUI thread,
// so this is one object for the process.
struct FrameworkState
{
    std::unordered_map<HWND, CWnd*> permanentMap;
    std::unordered_map<HWND, std::unique_ptr<CWnd>> tempMap;
    MSG lastSentMsg = {};     // the message being handled, for CWnd::Default
    CWnd* pWndInit = nullptr; // the object whose window is being created
    UniqueHook hookCbt;

    ~FrameworkState() { CWnd::DeleteTempMap(); }
};

FrameworkState& State()
{
    static FrameworkState state;
    return state;
}

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    FrameworkState& state = State();
    if (code == HCBT_CREATEWND && state.pWndInit)
    {
        CWnd* pWnd = std::exchange(state.pWndInit, nullptr);
        try
        {
            pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
        }
        catch (...)
        {
            // The object cannot take its window: the window is refused (a
            // non-zero answer), and the exception stays out of the system's
            // frames, as in AfxWndProc.
            ::OutputDebugStringW(L"unhandled exception while a window was created\n");
            return 1;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    FrameworkState& state = State();
    const MSG saved = state.lastSentMsg;
    state.lastSentMsg = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT lResult = 0;
    try
    {
        lResult = pWnd->WindowProc(message, wParam, lParam);
    }
    catch (...)
    {
        // A failing handler stops where it failed; nothing is reported to the
        // user, and the exception must not unwind through the system's frames.
        ::OutputDebugStringW(L"unhandled exception in a message handler\n");
        if (message == WM_PAINT)
            ::ValidateRect(hWnd, nullptr);
    }
    state.lastSentMsg = saved;
    return lResult;
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    FrameworkState& state = State();
    if (!state.hookCbt)
        state.hookCbt.Reset(::SetWindowsHookExW(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId()));
    state.pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() noexcept
{
    FrameworkState& state = State();
    state.hookCbt.Reset();
    return std::exchange(state.pWndInit, nullptr) == nullptr;
}

CWnd::CWnd() noexcept = default;

CWnd::~CWnd()
{
    // What is left of the object is a CWnd: its own DestroyWindow.
    if (m_hWnd)
        CWnd::DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    std::unique_ptr<CWnd>& temp = State().tempMap[hWnd];
    if (!temp)
    {
        temp = std::make_unique<CWnd>();
        temp->m_hWnd = hWnd;
    }
    return temp.get();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) noexcept
{
    const auto& map = State().permanentMap;
    const auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

void CWnd::DeleteTempMap() noexcept
{
    auto& map = State().tempMap;
    for (auto& entry : map)
        entry.second->m_hWnd = nullptr; // a temporary wrapper never destroys its window
    map.clear();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (!hWndNew || m_hWnd || FromHandlePermanent(hWndNew))
        return FALSE;
    State().permanentMap[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() noexcept
{
    const HWND hWnd = std::exchange(m_hWnd, nullptr);
    if (hWnd)
        State().permanentMap.erase(hWnd);
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    const auto pfnOld =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (pfnOld != AfxWndProc)
        m_pfnSuper = pfnOld;
    return TRUE;
}

HWND CWnd::UnsubclassWindow() noexcept
{
    if (m_pfnSuper && m_hWnd)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(std::exchange(m_pfnSuper, nullptr)));
    return Detach();
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    if (m_pCtrlSite)
    {
        // A hosted control is closed through its site; closing destroys its window.
        ComPtr<COleControlSite> pSite = m_pCtrlSite;
        pSite->DestroyControl();
        return TRUE;
    }
    const HWND hWnd = m_hWnd;
    const BOOL bResult = ::DestroyWindow(hWnd);
    if (m_hWnd == hWnd)
        Detach(); // not subclassed, so WM_NCDESTROY did not detach it
    return bResult;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    using ThisClass = CWnd;
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {ON_WM_DESTROY() ON_WM_NCDESTROY(){0, 0, 0, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &_messageEntries[0]};
    return &messageMap;
}

const AFX_EVENTSINKMAP* CWnd::GetEventSinkMap() const
{
    return GetThisEventSinkMap();
}

const AFX_EVENTSINKMAP* CWnd::GetThisEventSinkMap()
{
    static const AFX_EVENTSINKMAP_ENTRY _eventsinkEntries[] = {{0, 0, 0, nullptr, nullptr}};
    static const AFX_EVENTSINKMAP eventsinkMap = {nullptr, &_eventsinkEntries[0]};
    return &eventsinkMap;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    UINT nMessage = message;
    UINT nCode = 0;
    UINT nID = 0;
    if (message == WM_COMMAND)
    {
        nCode = HIWORD(wParam);
        nID = LOWORD(wParam);
    }
    else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
    {
        nMessage = WM_CTLCOLOR;
    }

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfn; ++pEntry)
        {
            if (pEntry->nMessage == nMessage && pEntry->nCode == nCode && pEntry->nID == nID)
            {
                *pResult = pEntry->pfn(this, message, wParam, lParam);
                return TRUE;
            }
        }
    }
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = State().lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

void CWnd::OnDestroy()
{
    // Hosted controls go first, while this window and theirs still exist.
    if (m_pCtrlCont)
        m_pCtrlCont->DestroyControls();
    Default();
}

void CWnd::OnNcDestroy()
{
    if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
    Default();
    UnsubclassWindow();
    m_pCtrlCont.Reset();
    AttachControlSite(nullptr);
    PostNcDestroy();
}
