#pragma once

#include "framework/ComPtr.h"

#include <windows.h>

struct ISimpleAudioVolume;

// The mute of this process's audio session on the default playback device
// (Core Audio). The Flash Player plays inside the launcher's own process, so
// this silences the game and nothing else. Nothing is asked of the system
// until the first call; the session's volume control found then is kept, so
// that its state stays while the launcher runs.
class CAudioMute
{
public:
    CAudioMute() noexcept;
    ~CAudioMute();
    CAudioMute(const CAudioMute&) = delete;
    CAudioMute& operator=(const CAudioMute&) = delete;

    // Whether there is a playback device whose session can be muted.
    bool IsAvailable();
    // Mutes or unmutes the session; false when there is no device.
    bool SetMute(bool bMute);
    // Reads the session's mute; false when there is no device.
    bool GetMute(bool* pbMute);

private:
    ISimpleAudioVolume* Volume();

    ComPtr<ISimpleAudioVolume> m_pVolume;
};
