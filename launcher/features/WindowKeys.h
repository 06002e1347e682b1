#pragma once

#include "launcher/services/Key.h"
#include "framework/UniqueHandle.h"

#include <windows.h>

#include <functional>

// The keys a window hears before any of its children, whatever has the
// keyboard (the page, the game's Flash window, the strip's controls), while
// the window is in front: a key pressed while a menu is open (its own, the
// page's, the game's) or the window is being moved, or in another window of
// the program (a message box, a page's dialog) is not its own.
// It hears each key as its message leaves the thread's queue, before the
// message loop offers it to the children, and a key it takes goes no
// further.
class CWindowKeys
{
public:
    CWindowKeys() noexcept = default;
    ~CWindowKeys() { Detach(); }
    CWindowKeys(const CWindowKeys&) = delete;
    CWindowKeys& operator=(const CWindowKeys&) = delete;

    // onKey answers whether the key is the window's, and carries it out
    // unless it is the key held down (bRepeat). One window of a thread hears
    // its keys at a time.
    bool Attach(HWND hWnd, std::function<bool(const CKey& key, bool bRepeat)> onKey);
    void Detach() noexcept;

private:
    static LRESULT CALLBACK OnGetMessage(int nCode, WPARAM wParam, LPARAM lParam);
    bool Take(const MSG& msg) const;

    HWND m_hWnd = nullptr;
    UniqueHook m_hook;
    std::function<bool(const CKey&, bool)> m_onKey;
};
