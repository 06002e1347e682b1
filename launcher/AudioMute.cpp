#include "AudioMute.h"

#include "framework/ComPtr.h"

#include <windows.h>
// The Core Audio identifiers are in no import library.
#include <initguid.h>
#include <audiopolicy.h>
#include <mmdeviceapi.h>

namespace
{

// The volume control of this process's default session on the default
// playback device, or nothing.
ComPtr<ISimpleAudioVolume> SessionVolume()
{
    ComPtr<IMMDeviceEnumerator> pEnumerator;
    ComPtr<IMMDevice> pDevice;
    ComPtr<IAudioSessionManager> pManager;
    ComPtr<ISimpleAudioVolume> pVolume;
    if (FAILED(::CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, IID_IMMDeviceEnumerator,
                                  pEnumerator.PutVoid())) ||
        FAILED(pEnumerator->GetDefaultAudioEndpoint(eRender, eConsole, pDevice.Put())) ||
        FAILED(pDevice->Activate(IID_IAudioSessionManager, CLSCTX_INPROC_SERVER, nullptr, pManager.PutVoid())) ||
        FAILED(pManager->GetSimpleAudioVolume(nullptr, FALSE, pVolume.Put())))
        return ComPtr<ISimpleAudioVolume>();
    return pVolume;
}

} // namespace

bool CAudioMute::IsAvailable()
{
    return static_cast<bool>(SessionVolume());
}

bool CAudioMute::SetMute(bool bMute)
{
    const ComPtr<ISimpleAudioVolume> pVolume = SessionVolume();
    return pVolume && SUCCEEDED(pVolume->SetMute(bMute ? TRUE : FALSE, nullptr));
}

bool CAudioMute::GetMute(bool* pbMute)
{
    const ComPtr<ISimpleAudioVolume> pVolume = SessionVolume();
    BOOL bMute = FALSE;
    if (!pVolume || FAILED(pVolume->GetMute(&bMute)))
        return false;
    *pbMute = bMute != FALSE;
    return true;
}
