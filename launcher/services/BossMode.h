#pragma once

#include "launcher/services/Key.h"
#include "launcher/services/NotifyIcon.h"
#include "framework/UniqueHotKey.h"

#include <functional>
#include <memory>
#include <vector>

#include <windows.h>

class CGameSound;

// The boss key at work: one press, from any program, and the launcher, its
// other windows (a page's alert, the close question) and its taskbar button
// are gone at once and the game falls silent; an icon in the notification
// area stands in for it. The same keys or choosing the icon bring
// everything back as it was. Launchers of several accounts hide and show
// together, whichever of them holds the keys.
class CBossMode
{
public:
    // Every launcher receives this when one of them hides or shows again,
    // or lets the keys go (wParam: a News).
    static const UINT s_nTogetherMessage;
    // The icon's callbacks come to the window as this message.
    static const UINT s_nIconMessage;
    enum News : WPARAM
    {
        Shown = 0,
        Hidden = 1,
        KeysFree = 2,
    };

    // How a window is brought to the front: only so on Windows, whatever
    // showing it did (a test stands in for it where Wine differs).
    using SetForegroundFn = BOOL(WINAPI*)(HWND);

    explicit CBossMode(CGameSound& mute, CNotifyIcon::ShellNotifyFn pfnShellNotify = ::Shell_NotifyIconW,
                       SetForegroundFn pfnSetForeground = ::SetForegroundWindow) noexcept;
    ~CBossMode();
    CBossMode(const CBossMode&) = delete;
    CBossMode& operator=(const CBossMode&) = delete;

    // Registers the keys for the launcher's window, as its hot key
    // nHotKeyId. A launcher run as administrator hears the other launchers,
    // Explorer and its icon all the same.
    void Attach(HWND hWnd, const CKey& key, int nHotKeyId);
    // Lets the keys go, telling the other launchers so that one of them
    // takes them; a hidden launcher ends as End says.
    void Detach();
    // Other keys, the ones held until now let go as Detach lets them go.
    void ChangeKey(const CKey& key);
    // Tries the keys again where another program held them (the menu
    // opens, another launcher let them go, or a while has passed: a holder
    // that crashed tells no one).
    void TryKeyAgain();
    // Told when the boss key's silence comes into force (true) and when it
    // is undone (false).
    void OnSilence(std::function<void(bool bSilenced)> onSilence) { m_onSilence = std::move(onSilence); }
    // Told when the player brought this launcher back (its keys, its icon)
    // and it is in front: the keyboard is to go where the player was.
    void OnComeBack(std::function<void()> onComeBack) { m_onComeBack = std::move(onComeBack); }

    const CKey& Key() const noexcept { return m_key; }
    bool IsKeyRegistered() const noexcept { return m_hotKey.IsRegistered(); }
    bool IsHidden() const noexcept { return m_bHidden; }

    // The boss key: every launcher hides, or shows when this one is hidden.
    void OnHotKey();
    // The menu's item: every launcher hides.
    void HideAll();
    // What another launcher (or this one) told all.
    void OnTogether(WPARAM news);
    void OnIconNotify(LPARAM lParam);
    // Explorer started again: a hidden launcher's icon is put back.
    void OnTaskbarCreated();
    // The launcher ends while hidden (the close question, Windows shutting
    // down): the icon goes and the boss key's silence is undone, without
    // showing anything.
    void End();

private:
    // This launcher hides (or shows), and tells the others to follow.
    void Together(bool bHide);
    void Hide();
    // Only the launcher whose keys or icon the player used comes to the
    // front: Windows lets one program take the foreground, not all.
    void Show(bool bActivate);
    // Hidden no more: the icon and the silence go.
    void Undo();
    // The keys held go, and the other launchers are told.
    void LetKeysGo();
    // Whether the launcher can be brought back by the player: by its icon or
    // by the keys. Otherwise it must not stay hidden.
    bool CanComeBack() const;

    CGameSound& m_mute;
    std::function<void(bool)> m_onSilence;
    std::function<void()> m_onComeBack;
    CNotifyIcon::ShellNotifyFn m_pfnShellNotify;
    SetForegroundFn m_pfnSetForeground;
    HWND m_hWnd = nullptr;
    CKey m_key;
    int m_nHotKeyId = 0;
    UniqueHotKey m_hotKey;
    bool m_bHidden = false;
    std::unique_ptr<CNotifyIcon> m_pIcon;
    std::vector<HWND> m_hiddenWith; // the launcher's other windows, hidden with it
};
