#pragma once

#include <windows.h>

// The launcher window's own timers; its features are handed theirs, from
// kFirstFeatureTimer on, and their commands and messages (CFeatureHost).
namespace LauncherIds
{

enum Timer : UINT_PTR
{
    kAutoFitTimer = 0,  // the auto-fit's tick, once a second
    kSettingsTimer = 2, // a save held up, tried again
    kFirstFeatureTimer = 16,
};
const UINT kAutoFitPeriodMs = 1000;

} // namespace LauncherIds
