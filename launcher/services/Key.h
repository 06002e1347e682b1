#pragma once

#include "framework/CString.h"

#include <windows.h>

// A key with its modifiers, written like "Ctrl+Alt+H": modifiers (Ctrl, Alt,
// Shift), then one letter, digit or F1-F12. Two kinds are taken from what a
// player writes, each with its own rules; anything else gives the default.
struct CKey
{
    UINT fsModifiers = 0; // MOD_CONTROL, MOD_ALT, MOD_SHIFT
    UINT nVirtKey = 0;    // none: 0

    // The boss key, registered with the system: Ctrl or Alt among the
    // modifiers, so that no program loses its typing, and a letter or
    // F1-F11; not Alt+F4, which closes windows. Ctrl+Alt+H otherwise.
    static CKey BossKey(const CString& strText);
    // A key for the launcher while it is in front, whatever has the keyboard:
    // F1-F12 alone or with Ctrl or Shift, or a letter or digit with
    // Ctrl+Shift; never Alt or F10 (they open the menu), nor the keys the page
    // and the launcher have already (F5, Ctrl+F5, F11). keyDefault otherwise.
    static CKey GameKey(const CString& strText, const CKey& keyDefault);

    // The key as a text reads it; empty for none.
    CString Format() const;
    bool IsNone() const noexcept { return nVirtKey == 0; }
    bool operator==(const CKey& other) const noexcept
    {
        return fsModifiers == other.fsModifiers && nVirtKey == other.nVirtKey;
    }
};
