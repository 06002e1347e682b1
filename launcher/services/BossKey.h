#pragma once

#include "framework/CString.h"

#include <windows.h>

// The boss key: a global hotkey written like "Ctrl+Alt+H": modifiers (Ctrl,
// Alt, Shift; Ctrl or Alt among them, so that no program loses its typing),
// then one letter or F1-F11. Keys Windows keeps for itself (F12, Alt+F4)
// are not taken.
struct CBossKey
{
    UINT fsModifiers = MOD_CONTROL | MOD_ALT;
    UINT nVirtKey = 'H';

    // The key a text names; the default Ctrl+Alt+H for anything else.
    static CBossKey Parse(const CString& strText);
    // The key written as Parse reads it.
    CString Format() const;
};
