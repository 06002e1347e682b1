#pragma once

#include "framework/CString.h"

#include <windows.h>

// The boss key: a global hotkey written like "Ctrl+Alt+H" (modifiers Ctrl,
// Alt and Shift, then one letter or F1-F12; a letter needs a modifier).
struct CBossKey
{
    UINT fsModifiers = MOD_CONTROL | MOD_ALT;
    UINT nVirtKey = 'H';

    // The key a text names; the default Ctrl+Alt+H for anything else.
    static CBossKey Parse(const CString& strText);
    // The key written as Parse reads it.
    CString Format() const;
};
