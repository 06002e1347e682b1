#pragma once

#include <windows.h>

// The launcher window's own timers and message; its features are handed
// theirs, from kFirstFeatureTimer and WM_APP + 1 on, and their commands
// (CFeatureHost).
namespace LauncherIds
{

// Posted once the window has painted itself for the first time (or was
// minimised at once, or the saves' wait is over): what waits for the window
// to show is done.
const UINT kShownMessage = WM_APP;
// How long saves wait for the window to show, at most.
const DWORD kSavesHeldMostMs = 2000;

enum Timer : UINT_PTR
{
    kAutoFitTimer = 0,  // the auto-fit's tick, once a second
    kSettingsTimer = 2, // a save held up, tried again
    kFirstFeatureTimer = 16,
};
const UINT kAutoFitPeriodMs = 1000;

} // namespace LauncherIds
