// The Core Audio identifiers are in no import library: this file defines
// them, before any header declares them.
#include <initguid.h>

#include "GameSound.h"

// What the launcher itself sets in a session says so.
const GUID CGameSound::s_ownChange = {0x5f0b6c1e, 0x94d2, 0x4a57, {0x8e, 0x3b, 0x2c, 0x71, 0xd0, 0x4a, 0x19, 0x66}};

CGameSound::CGameSound() noexcept : m_xNotificationClient(*this), m_xSessionEvents(*this) {}

CGameSound::~CGameSound()
{
    // Nothing is undone here: the player's silence is kept by the system
    // from one start to the next, as the player chose it; the boss key's is
    // undone by whoever set it.
    StopListening();
    if (m_bListening)
        m_pEnumerator->UnregisterEndpointNotificationCallback(&m_xNotificationClient);
}

void CGameSound::Attach(HWND hWnd, UINT nMessage) noexcept
{
    m_hWndNotify = hWnd;
    m_nNotifyMessage = nMessage;
}

void CGameSound::OnNews(WPARAM news)
{
    if (news == DevicesChanged)
        OnDevicesChanged();
    else if (news == MixerLevel)
    {
        // The latest of a slider's moves, however many were told meanwhile.
        m_bLevelNewsPosted = false;
        OnMixerLevel(m_nMixerLevel);
    }
    else
        OnMixerMute(news == MixerMuted);
}

bool CGameSound::SetPlayerMute(bool bMute)
{
    const bool bWas = m_bPlayerMute;
    m_bPlayerMute = bMute;
    if (Apply())
        return true;
    m_bPlayerMute = bWas;
    return false;
}

void CGameSound::Silence(bool& bSilence, bool bMute)
{
    if (bMute == bSilence)
        return;
    // A silence the player set in the volume mixer stays when the
    // launcher's goes.
    if (bMute && !IsSilenced())
        FollowMixer(Volume(false));
    bSilence = bMute;
    // Without a device there is no sound to silence.
    Apply();
}

bool CGameSound::SetLevel(int nPercent)
{
    const int nWas = m_nLevel.exchange(nPercent);
    if (Apply())
        return true;
    m_nLevel = nWas;
    return false;
}

void CGameSound::OnMixerLevel(int nPercent)
{
    if (m_nLevel == kNoLevel || nPercent == m_nLevel)
        return;
    m_nLevel = nPercent;
    Apply();
}

void CGameSound::Refresh()
{
    BOOL bMuted = FALSE;
    ISimpleAudioVolume* pVolume = Volume(false);
    if (pVolume && FAILED(pVolume->GetMute(&bMuted)))
        pVolume = Volume(true);
    FollowMixer(pVolume);
}

void CGameSound::FollowMixer(ISimpleAudioVolume* pVolume)
{
    BOOL bMuted = FALSE;
    if (!pVolume || IsSilenced() || FAILED(pVolume->GetMute(&bMuted)) || (bMuted != FALSE) == m_bPlayerMute)
        return;
    m_bPlayerMute = bMuted != FALSE;
    if (m_onMixerChoice)
        m_onMixerChoice(m_bPlayerMute);
}

void CGameSound::OnDevicesChanged()
{
    // What the player set in the volume mixer meanwhile stands, not what the
    // launcher set last.
    FollowMixer(m_pVolume.Get());
    m_pVolume.Reset();
    // A device back after the game was given its sound again may still hold
    // the silence: once Core Audio is in use, every device hears the news.
    if (!m_pEnumerator)
        return;
    Apply();
    ListenToSessions();
}

void CGameSound::OnMixerMute(bool bMuted)
{
    // A silence of the launcher's stands until it goes; a mute then is the
    // player's all the same.
    if ((bMuted || !IsSilenced()) && bMuted != m_bPlayerMute)
    {
        m_bPlayerMute = bMuted;
        if (m_onMixerChoice)
            m_onMixerChoice(m_bPlayerMute);
    }
    // Every device the player may send the game to follows.
    Apply();
}

void CGameSound::ListenToSessions()
{
    StopListening();
    ComPtr<IMMDeviceCollection> pDevices;
    UINT nDevices = 0;
    if (!m_pEnumerator || FAILED(m_pEnumerator->EnumAudioEndpoints(eRender, DEVICE_STATE_ACTIVE, pDevices.Put())) ||
        FAILED(pDevices->GetCount(&nDevices)))
        return;
    for (UINT i = 0; i < nDevices; ++i)
    {
        ComPtr<IMMDevice> pDevice;
        ComPtr<IAudioSessionManager> pManager;
        ComPtr<IAudioSessionControl> pSession;
        if (SUCCEEDED(pDevices->Item(i, pDevice.Put())) &&
            SUCCEEDED(pDevice->Activate(IID_IAudioSessionManager, CLSCTX_INPROC_SERVER, nullptr, pManager.PutVoid())) &&
            SUCCEEDED(pManager->GetAudioSessionControl(nullptr, FALSE, pSession.Put())) &&
            SUCCEEDED(pSession->RegisterAudioSessionNotification(&m_xSessionEvents)))
            m_sessions.push_back(std::move(pSession));
    }
}

void CGameSound::StopListening() noexcept
{
    for (const ComPtr<IAudioSessionControl>& pSession : m_sessions)
        pSession->UnregisterAudioSessionNotification(&m_xSessionEvents);
    m_sessions.clear();
}

bool CGameSound::Apply()
{
    const BOOL bMute = (m_bPlayerMute || IsSilenced()) ? TRUE : FALSE;
    m_bApplied = bMute != FALSE;
    const int nLevel = m_nLevel;
    const auto set = [bMute, nLevel](ISimpleAudioVolume* pVolume) {
        return pVolume && SUCCEEDED(pVolume->SetMute(bMute, &s_ownChange)) &&
               (nLevel == kNoLevel ||
                SUCCEEDED(pVolume->SetMasterVolume(static_cast<float>(nLevel) / 100, &s_ownChange)));
    };
    // The default device's session, whose control is kept for the menu.
    bool bAny = set(Volume(false));
    if (!bAny)
    {
        // The device may have gone, or the default changed before the news
        // of it arrived: once more on the default device of now.
        bAny = set(Volume(true));
    }
    // The player may send the launcher to another device (Windows 10's
    // per-program device choice): its session on every playback device.
    ComPtr<IMMDeviceCollection> pDevices;
    UINT nDevices = 0;
    if (m_pEnumerator && SUCCEEDED(m_pEnumerator->EnumAudioEndpoints(eRender, DEVICE_STATE_ACTIVE, pDevices.Put())) &&
        SUCCEEDED(pDevices->GetCount(&nDevices)))
    {
        for (UINT i = 0; i < nDevices; ++i)
        {
            ComPtr<IMMDevice> pDevice;
            ComPtr<ISimpleAudioVolume> pOther;
            if (SUCCEEDED(pDevices->Item(i, pDevice.Put())) && SessionVolume(pDevice.Get(), pOther) &&
                set(pOther.Get()))
                bAny = true;
        }
    }
    m_bUnavailable = !bAny;
    return bAny;
}

bool CGameSound::Enumerator()
{
    if (!m_pEnumerator && FAILED(::CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER,
                                                    IID_IMMDeviceEnumerator, m_pEnumerator.PutVoid())))
    {
        m_bUnavailable = true;
        return false;
    }
    if (!m_bListening)
    {
        m_bListening = SUCCEEDED(m_pEnumerator->RegisterEndpointNotificationCallback(&m_xNotificationClient));
        ListenToSessions();
    }
    return true;
}

bool CGameSound::SessionVolume(IMMDevice* pDevice, ComPtr<ISimpleAudioVolume>& pVolume)
{
    ComPtr<IAudioSessionManager> pManager;
    return SUCCEEDED(pDevice->Activate(IID_IAudioSessionManager, CLSCTX_INPROC_SERVER, nullptr, pManager.PutVoid())) &&
           SUCCEEDED(pManager->GetSimpleAudioVolume(nullptr, FALSE, pVolume.Put()));
}

ISimpleAudioVolume* CGameSound::Volume(bool bFresh)
{
    if (m_pVolume && !bFresh)
        return m_pVolume.Get();
    m_pVolume.Reset();
    if (!Enumerator())
        return nullptr;
    ComPtr<IMMDevice> pDevice;
    ComPtr<ISimpleAudioVolume> pVolume;
    if (SUCCEEDED(m_pEnumerator->GetDefaultAudioEndpoint(eRender, eConsole, pDevice.Put())) &&
        SessionVolume(pDevice.Get(), pVolume))
        m_pVolume = pVolume;
    m_bUnavailable = !m_pVolume;
    return m_pVolume.Get();
}
