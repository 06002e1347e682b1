// The Core Audio identifiers are in no import library: this file defines
// them, before any header declares them.
#include <initguid.h>

#include "GameMute.h"

#include <audiopolicy.h>

CGameMute::CGameMute() noexcept : m_xNotificationClient(*this) {}

CGameMute::~CGameMute()
{
    // Nothing is undone here: the player's silence is kept by the system
    // from one start to the next, as the player chose it; the boss key's is
    // undone by whoever set it.
    if (m_bListening)
        m_pEnumerator->UnregisterEndpointNotificationCallback(&m_xNotificationClient);
}

void CGameMute::Attach(HWND hWnd, UINT nMessage) noexcept
{
    m_hWndNotify = hWnd;
    m_nNotifyMessage = nMessage;
}

bool CGameMute::SetPlayerMute(bool bMute)
{
    const bool bWas = m_bPlayerMute;
    m_bPlayerMute = bMute;
    if (Apply())
        return true;
    m_bPlayerMute = bWas;
    return false;
}

void CGameMute::SetBossMute(bool bMute)
{
    m_bBossMute = bMute;
    // Without a device there is no sound to silence.
    Apply();
}

void CGameMute::Refresh()
{
    BOOL bMuted = FALSE;
    ISimpleAudioVolume* pVolume = Volume(false);
    HRESULT hr = pVolume ? pVolume->GetMute(&bMuted) : E_FAIL;
    if (FAILED(hr) && pVolume)
    {
        pVolume = Volume(true);
        hr = pVolume ? pVolume->GetMute(&bMuted) : E_FAIL;
    }
    if (SUCCEEDED(hr) && !m_bBossMute)
        m_bPlayerMute = bMuted != FALSE;
}

void CGameMute::OnDefaultDeviceChanged()
{
    m_pVolume.Reset();
    // Only a silence needs to follow: a new device's session plays.
    if (m_bPlayerMute || m_bBossMute)
        Apply();
}

bool CGameMute::Apply()
{
    const BOOL bMute = (m_bPlayerMute || m_bBossMute) ? TRUE : FALSE;
    ISimpleAudioVolume* pVolume = Volume(false);
    if (pVolume && SUCCEEDED(pVolume->SetMute(bMute, nullptr)))
        return true;
    // The device may have gone, or the default changed before the news of
    // it arrived: once more on the default device of now.
    pVolume = Volume(true);
    return pVolume && SUCCEEDED(pVolume->SetMute(bMute, nullptr));
}

ISimpleAudioVolume* CGameMute::Volume(bool bFresh)
{
    if (m_pVolume && !bFresh)
        return m_pVolume.Get();
    m_pVolume.Reset();
    if (!m_pEnumerator &&
        FAILED(::CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, IID_IMMDeviceEnumerator,
                                  m_pEnumerator.PutVoid())))
    {
        m_bUnavailable = true;
        return nullptr;
    }
    if (!m_bListening)
        m_bListening = SUCCEEDED(m_pEnumerator->RegisterEndpointNotificationCallback(&m_xNotificationClient));

    ComPtr<IMMDevice> pDevice;
    ComPtr<IAudioSessionManager> pManager;
    ComPtr<ISimpleAudioVolume> pVolume;
    if (SUCCEEDED(m_pEnumerator->GetDefaultAudioEndpoint(eRender, eConsole, pDevice.Put())) &&
        SUCCEEDED(pDevice->Activate(IID_IAudioSessionManager, CLSCTX_INPROC_SERVER, nullptr, pManager.PutVoid())) &&
        SUCCEEDED(pManager->GetSimpleAudioVolume(nullptr, FALSE, pVolume.Put())))
        m_pVolume = pVolume;
    m_bUnavailable = !m_pVolume;
    return m_pVolume.Get();
}

HRESULT STDMETHODCALLTYPE CGameMute::XNotificationClient::QueryInterface(REFIID iid, void** ppv) noexcept
{
    if (!ppv)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IMMNotificationClient)
    {
        *ppv = static_cast<IMMNotificationClient*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE CGameMute::XNotificationClient::OnDefaultDeviceChanged(EDataFlow flow, ERole role,
                                                                               LPCWSTR) noexcept
{
    // Called on a thread of the system's: the window's thread does the work.
    if (flow == eRender && role == eConsole && m_owner.m_hWndNotify)
        ::PostMessageW(m_owner.m_hWndNotify, m_owner.m_nNotifyMessage, 0, 0);
    return S_OK;
}
