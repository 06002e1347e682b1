#include "WindowKeys.h"

namespace
{

// The window of this thread that hears its keys (a hook has no data of its
// own).
thread_local CWindowKeys* t_pKeys = nullptr;

bool IsDown(int nVirtKey)
{
    return (::GetKeyState(nVirtKey) & 0x8000) != 0;
}

// Whether the thread is in a menu (any window's: the page's and the game's
// own menus tell the launcher nothing) or moving or sizing a window.
bool IsInMenuOrMove()
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) &&
           (info.flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE | GUI_POPUPMENUMODE | GUI_INMOVESIZE));
}

} // namespace

bool CWindowKeys::Attach(HWND hWnd, std::function<bool(const CKey&, bool)> onKey)
{
    Detach();
    if (t_pKeys)
        return false;
    // A hook of this thread alone, on messages taken from its queue.
    m_hook.Reset(::SetWindowsHookExW(WH_GETMESSAGE, &CWindowKeys::OnGetMessage, nullptr, ::GetCurrentThreadId()));
    if (!m_hook)
        return false;
    m_hWnd = hWnd;
    m_onKey = std::move(onKey);
    t_pKeys = this;
    return true;
}

void CWindowKeys::Detach() noexcept
{
    if (!m_hook)
        return;
    m_hook.Reset();
    t_pKeys = nullptr;
}

LRESULT CALLBACK CWindowKeys::OnGetMessage(int nCode, WPARAM wParam, LPARAM lParam)
{
    // A message looked at and left in the queue comes again when it is taken.
    if (nCode == HC_ACTION && wParam == PM_REMOVE && t_pKeys)
    {
        auto* pMsg = reinterpret_cast<MSG*>(lParam);
        if (t_pKeys->Take(*pMsg))
            pMsg->message = WM_NULL; // what the loop dispatches does nothing
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

bool CWindowKeys::Take(const MSG& msg) const
{
    // F10 and the keys with Alt come as system keys: they are the menu's.
    if (msg.message != WM_KEYDOWN || !msg.hwnd || IsInMenuOrMove())
        return false;
    if (msg.hwnd != m_hWnd && ::GetAncestor(msg.hwnd, GA_ROOT) != m_hWnd)
        return false;
    CKey key;
    key.nVirtKey = static_cast<UINT>(msg.wParam);
    key.fsModifiers = (IsDown(VK_CONTROL) ? UINT(MOD_CONTROL) : 0U) | (IsDown(VK_SHIFT) ? UINT(MOD_SHIFT) : 0U) |
                      (IsDown(VK_MENU) ? UINT(MOD_ALT) : 0U);
    // Held down, a key repeats: the launcher's is carried out once, and its
    // repeats are not the page's either.
    const bool bRepeat = (msg.lParam & (1L << 30)) != 0;
    return m_onKey && m_onKey(key, bRepeat);
}
