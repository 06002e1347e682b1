#pragma once

#include <windows.h>

// The launcher window's own messages and timers, each named here alone (the
// system menu's commands are in res/resource.h).
namespace LauncherIds
{

// Messages posted to the launcher's window.
enum Message : UINT
{
    kNotifyIconMessage = WM_APP + 1,   // the boss key's icon in the notification area
    kAudioDeviceMessage = WM_APP + 2,  // a playback device changed (from Core Audio's thread)
    kCacheClearedMessage = WM_APP + 3, // the site's cache entries are gone
};

// The launcher window's timers.
enum Timer : UINT_PTR
{
    kAutoFitTimer = 0,    // the auto-fit's tick, once a second
    kScreenshotTimer = 1, // a screenshot's two steps
    kSettingsTimer = 2,   // a save held up, tried again
    kBossKeysTimer = 3,   // the boss keys, held by another program, tried again
};
const UINT kAutoFitPeriodMs = 1000;

} // namespace LauncherIds
