#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

// The launcher's one icon in the notification area, there while the object
// lives. It sends version-4 callbacks: the event in the low word of lParam,
// the icon's id in the high word.
class CNotifyIcon
{
public:
    // The shell's notification call (the system's own, unless a test stands
    // in for the notification area).
    using ShellNotifyFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);

    // Explorer broadcasts this when it starts again: the icons it showed are gone.
    static const UINT s_nTaskbarCreated;

    // Adds the icon for hWnd, whose callbacks come as nCallbackMessage; a
    // refused add is tried once more.
    CNotifyIcon(HWND hWnd, UINT nCallbackMessage, ShellNotifyFn pfnShellNotify);
    ~CNotifyIcon();
    CNotifyIcon(const CNotifyIcon&) = delete;
    CNotifyIcon& operator=(const CNotifyIcon&) = delete;

    bool IsShown() const noexcept { return m_bShown; }
    // Adds it again, after Explorer has started again.
    bool AddAgain();
    // The picture: the program's icon at the size the notification area shows.
    HICON Icon() const noexcept { return m_hIcon.Get(); }

    // Whether a callback is the player choosing the icon: a click, or Space
    // or Enter on it; not a move, a press, a right click or its menu.
    static bool IsSelection(LPARAM lParam) noexcept;

private:
    bool Add();
    NOTIFYICONDATAW Data() const noexcept;

    HWND m_hWnd;
    UINT m_nCallbackMessage;
    ShellNotifyFn m_pfnShellNotify;
    UniqueIcon m_hIcon;
    bool m_bShown = false;
};
