#include "AudioMute.h"

#include "framework/ComPtr.h"

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

CAudioMute::CAudioMute() noexcept = default;

CAudioMute::~CAudioMute() = default;

ISimpleAudioVolume* CAudioMute::Volume()
{
    if (!m_pVolume)
        m_pVolume = SessionVolume();
    return m_pVolume.Get();
}

bool CAudioMute::IsAvailable()
{
    return Volume() != nullptr;
}

bool CAudioMute::SetMute(bool bMute)
{
    ISimpleAudioVolume* pVolume = Volume();
    return pVolume && SUCCEEDED(pVolume->SetMute(bMute ? TRUE : FALSE, nullptr));
}

bool CAudioMute::GetMute(bool* pbMute)
{
    ISimpleAudioVolume* pVolume = Volume();
    BOOL bMute = FALSE;
    if (!pVolume || FAILED(pVolume->GetMute(&bMute)))
        return false;
    *pbMute = bMute != FALSE;
    return true;
}
