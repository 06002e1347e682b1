#pragma once

#include <windows.h>

// The launcher window's own timer; its host and features are handed theirs,
// from kFirstFeatureTimer and WM_APP + 1 on, and their commands
// (CFeatureHost).
namespace LauncherIds
{

enum Timer : UINT_PTR
{
    kAutoFitTimer = 0, // the auto-fit's tick, once a second
    kFirstFeatureTimer = 16,
};
const UINT kAutoFitPeriodMs = 1000;

} // namespace LauncherIds
