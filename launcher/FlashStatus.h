#pragma once

#include "framework/CString.h"

#include <windows.h>

// What the registry says of the Flash Player ActiveX control, which the
// game pages need: read at start from the registry alone, without loading
// the control.
struct CFlashStatus
{
    enum class State
    {
        Usable,
        NotRegistered, // no ShockwaveFlash.ShockwaveFlash, or no server for it
        FileMissing,   // the file the registration names is not there
        Disabled,      // Internet Explorer's kill bit is set for it
        Expired,       // a global build after 32.0.0.344: it plays nothing since 12 January 2021
    };

    State state = State::NotRegistered;
    WORD wVersion[4] = {}; // of the file, when it was found

    static CFlashStatus Detect();

    // One line for the system menu: the version found, or the problem.
    CString MenuText() const;
    // The strip's notice; empty when Flash is usable.
    CString NoticeText() const;
};
