// The news of the devices and the sessions, told on threads of the system's
// and handed to the window's thread.

#include "GameSound.h"

#include <cmath>

namespace
{

// QueryInterface of a listener that is one interface and IUnknown.
template <class Interface>
HRESULT AnswerAs(Interface* pThis, REFIID iidOwn, REFIID iid, void** ppv) noexcept
{
    if (!ppv)
        return E_POINTER;
    *ppv = (iid == IID_IUnknown || iid == iidOwn) ? pThis : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
}

} // namespace

HRESULT STDMETHODCALLTYPE CGameSound::XNotificationClient::QueryInterface(REFIID iid, void** ppv) noexcept
{
    return AnswerAs<IMMNotificationClient>(this, IID_IMMNotificationClient, iid, ppv);
}

HRESULT STDMETHODCALLTYPE CGameSound::XNotificationClient::OnDeviceStateChanged(LPCWSTR, DWORD dwNewState) noexcept
{
    // A device that starts to play (plugged in, enabled) may be the one the
    // player chose for the launcher.
    if (dwNewState == DEVICE_STATE_ACTIVE)
        m_owner.Notify(DevicesChanged);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CGameSound::XNotificationClient::OnDefaultDeviceChanged(EDataFlow flow, ERole role,
                                                                                  LPCWSTR) noexcept
{
    if (flow == eRender && role == eConsole)
        m_owner.Notify(DevicesChanged);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CGameSound::XSessionEvents::QueryInterface(REFIID iid, void** ppv) noexcept
{
    return AnswerAs<IAudioSessionEvents>(this, IID_IAudioSessionEvents, iid, ppv);
}

HRESULT STDMETHODCALLTYPE CGameSound::XSessionEvents::OnSimpleVolumeChanged(float fNewVolume, BOOL bNewMute,
                                                                            LPCGUID pContext) noexcept
{
    // The news comes of the level and the mute together: only a mute that is
    // not what the launcher set is another's choice (the boss key's silence,
    // moved in the mixer's slider, is no mute of the player's), and only a
    // level other than the launcher's, once it has one.
    if (pContext && ::IsEqualGUID(*pContext, s_ownChange))
        return S_OK;
    const int nLevel = static_cast<int>(std::lround(fNewVolume * 100));
    if ((bNewMute != FALSE) != m_owner.m_bApplied)
        m_owner.Notify(bNewMute ? MixerMuted : MixerUnmuted);
    if (m_owner.m_nLevel != kNoLevel && nLevel != m_owner.m_nLevel)
    {
        // A slider dragged tells of every step: one news at a time.
        m_owner.m_nMixerLevel = nLevel;
        if (!m_owner.m_bLevelNewsPosted.exchange(true))
            m_owner.Notify(MixerLevel);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CGameSound::XSessionEvents::OnSessionDisconnected(AudioSessionDisconnectReason) noexcept
{
    m_owner.Notify(DevicesChanged);
    return S_OK;
}

void CGameSound::Notify(News news) const noexcept
{
    // Called on a thread of the system's: the window's thread does the work.
    if (m_hWndNotify)
        ::PostMessageW(m_hWndNotify, m_nNotifyMessage, news, 0);
}
