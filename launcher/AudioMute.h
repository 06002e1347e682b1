#pragma once

// The mute of this process's audio session on the default playback device
// (Core Audio). The Flash Player plays inside the launcher's own process, so
// this silences the game and nothing else. Each call asks the system afresh:
// nothing is held between calls, and nothing is asked until a call.
class CAudioMute
{
public:
    // Whether there is a playback device whose session can be muted.
    static bool IsAvailable();
    // Mutes or unmutes the session; false when there is no device.
    static bool SetMute(bool bMute);
    // Reads the session's mute; false when there is no device.
    static bool GetMute(bool* pbMute);
};
