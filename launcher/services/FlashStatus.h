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
        Uncertain,     // a global build of late 2020 (32.0.0.345 to 32.0.0.386): it may not play
        Expired,       // a global build from 32.0.0.387 on: it plays nothing since 12 January 2021
    };

    State state = State::NotRegistered;
    WORD wVersion[4] = {}; // of the file, when it was found

    static CFlashStatus Detect();

    // One line for the system menu: the version found, or the problem.
    CString MenuText() const;
    // The strip's notice; empty when Flash is usable or may be.
    CString NoticeText() const;
};
