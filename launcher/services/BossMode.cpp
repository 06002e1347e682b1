#include "BossMode.h"

#include "launcher/services/GameSound.h"

namespace
{

struct WindowSearch
{
    HWND hWndLauncher;
    std::vector<HWND> windows;
};

BOOL CALLBACK AddIfOtherAndVisible(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    if (hWnd != pSearch->hWndLauncher && ::IsWindowVisible(hWnd))
        pSearch->windows.push_back(hWnd);
    return TRUE;
}

// The visible top-level windows of the launcher's thread besides it.
std::vector<HWND> OtherVisibleWindows(HWND hWnd)
{
    WindowSearch search = {hWnd, {}};
    ::EnumThreadWindows(::GetWindowThreadProcessId(hWnd, nullptr), AddIfOtherAndVisible,
                        reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

} // namespace

const UINT CBossMode::s_nTogetherMessage = ::RegisterWindowMessageW(L"OrlimWeb.BossKey");
const UINT CBossMode::s_nIconMessage = ::RegisterWindowMessageW(L"OrlimWeb.BossKeyIcon");

CBossMode::CBossMode(CGameSound& mute, CNotifyIcon::ShellNotifyFn pfnShellNotify,
                     SetForegroundFn pfnSetForeground) noexcept
    : m_mute(mute), m_pfnShellNotify(pfnShellNotify), m_pfnSetForeground(pfnSetForeground)
{
}

CBossMode::~CBossMode()
{
    Detach();
}

void CBossMode::Attach(HWND hWnd, const CKey& key, int nHotKeyId)
{
    m_hWnd = hWnd;
    m_key = key;
    m_nHotKeyId = nHotKeyId;
    // A program run as administrator is sent registered messages by
    // ordinary ones only where it lets them in.
    for (UINT nMessage : {s_nTogetherMessage, s_nIconMessage, CNotifyIcon::s_nTaskbarCreated})
        ::ChangeWindowMessageFilterEx(hWnd, nMessage, MSGFLT_ALLOW, nullptr);
    TryKeyAgain();
}

void CBossMode::Detach()
{
    End();
    LetKeysGo();
}

void CBossMode::ChangeKey(const CKey& key)
{
    LetKeysGo();
    m_key = key;
    TryKeyAgain();
}

void CBossMode::LetKeysGo()
{
    // Told, so that another launcher may take them.
    if (!m_hotKey.IsRegistered())
        return;
    m_hotKey.Reset();
    ::PostMessageW(HWND_BROADCAST, s_nTogetherMessage, KeysFree, 0);
}

void CBossMode::TryKeyAgain()
{
    if (m_hWnd && !m_hotKey.IsRegistered())
        m_hotKey.Register(m_hWnd, m_nHotKeyId, m_key.fsModifiers | MOD_NOREPEAT, m_key.nVirtKey);
}

void CBossMode::OnHotKey()
{
    Together(!m_bHidden);
}

void CBossMode::HideAll()
{
    Together(true);
}

void CBossMode::OnTogether(WPARAM news)
{
    if (news == Hidden)
        Hide();
    else if (news == Shown)
        Show(false);
    else if (news == KeysFree)
        TryKeyAgain();
}

void CBossMode::OnIconNotify(LPARAM lParam)
{
    if (m_bHidden && CNotifyIcon::IsSelection(lParam))
        Together(false);
}

void CBossMode::OnTaskbarCreated()
{
    if (m_bHidden && m_pIcon && !m_pIcon->AddAgain() && !CanComeBack())
        Show(false);
}

void CBossMode::Together(bool bHide)
{
    if (bHide)
        Hide();
    else
        Show(true);
    // The other launchers follow; this one already has.
    ::PostMessageW(HWND_BROADCAST, s_nTogetherMessage, bHide ? Hidden : Shown, 0);
}

void CBossMode::End()
{
    if (!m_bHidden)
        return;
    Undo();
    if (m_onSilence)
        m_onSilence(false);
}

void CBossMode::Undo()
{
    m_bHidden = false;
    m_pIcon.reset();
    m_hiddenWith.clear();
    m_mute.SetBossMute(false);
}

void CBossMode::Hide()
{
    if (m_bHidden || !m_hWnd)
        return;
    m_pIcon = std::make_unique<CNotifyIcon>(m_hWnd, s_nIconMessage, m_pfnShellNotify);
    if (!CanComeBack())
    {
        // Nothing could bring it back, and killing it would lose the game.
        m_pIcon.reset();
        return;
    }
    m_bHidden = true;
    m_mute.SetBossMute(true);
    m_hiddenWith = OtherVisibleWindows(m_hWnd);
    ::ShowWindow(m_hWnd, SW_HIDE);
    for (HWND hWnd : m_hiddenWith)
        ::ShowWindow(hWnd, SW_HIDE);
    // Told once nothing shows any more (it may write to a file).
    if (m_onSilence)
        m_onSilence(true);
}

void CBossMode::Show(bool bActivate)
{
    if (!m_bHidden)
        return;
    const std::vector<HWND> hiddenWith = std::move(m_hiddenWith);
    Undo();
    ::ShowWindow(m_hWnd, bActivate ? SW_SHOW : SW_SHOWNA);
    for (HWND hWnd : hiddenWith)
        if (::IsWindow(hWnd))
            ::ShowWindow(hWnd, SW_SHOWNA);
    if (bActivate)
    {
        // Refused, the taskbar button flashes: the keyboard stays with the
        // program the player is in.
        if (m_pfnSetForeground(m_hWnd) && m_onComeBack)
            m_onComeBack();
    }
    if (m_onSilence)
        m_onSilence(false);
}

bool CBossMode::CanComeBack() const
{
    return (m_pIcon && m_pIcon->IsShown()) || m_hotKey.IsRegistered();
}
