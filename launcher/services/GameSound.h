#pragma once

#include "framework/ComPtr.h"

#include <windows.h>
#include <mmdeviceapi.h>

#include <audiopolicy.h>

#include <atomic>
#include <functional>
#include <vector>

// The game's sound (GameSound.cpp; the news of the devices and the sessions,
// on the system's threads, in GameSoundNews.cpp): the mute and the level of this process's audio session
// on every playback device (Core Audio). The Flash Player plays inside the
// launcher's own process, so nothing else falls silent. Five things decide
// it, and meet here: the player's mute; the boss key's silence and the
// silence in the background, on top of it; the volume mixer; and the level
// the player chose. A silence of the launcher's own goes without giving
// back a sound the player silenced, here or in the mixer.
//
// Since Windows 7 a process's sound moves to the new default device when the
// default changes, and since Windows 10 the player can send a program to
// another device; every device keeps a session, and a mute, of its own. The
// mute is applied to the process's session on every active device, and
// again when the system says the default changed or a device started to
// play (a message posted to the window named by Attach), and after any call
// that failed (the session of a device that was unplugged answers
// AUDCLNT_E_DEVICE_INVALIDATED). What the menu shows is read from the
// default device's session. Nothing is asked of Core Audio before the first
// call that needs it.
//
// From then on it listens to the sessions: a mute or an unmute that is not
// the launcher's own (the volume mixer's, on any device) is the player's
// choice, given to every device and told to OnMixerChoice, so that the next
// start has it too; an unmute while a silence of the launcher's is in force
// is refused. Once the launcher has set a level, a level moved in the mixer
// is followed too, on every device (the menu keeps the step chosen). The
// launcher's own changes carry an event context of its own, by which they
// are known.
class CGameSound
{
public:
    CGameSound() noexcept;
    ~CGameSound();
    CGameSound(const CGameSound&) = delete;
    CGameSound& operator=(const CGameSound&) = delete;

    // Where the news of the devices and the sessions goes: nMessage is
    // posted to hWnd, whose handler hands its wParam to OnNews.
    void Attach(HWND hWnd, UINT nMessage) noexcept;
    void OnNews(WPARAM news);

    // The player's choice; false, the choice unchanged, when there is no
    // device whose session could be muted.
    bool SetPlayerMute(bool bMute);
    bool IsPlayerMuted() const noexcept { return m_bPlayerMute; }
    // The boss key's silence, and the silence in the background, on top of
    // the player's choice.
    void SetBossMute(bool bMute) { Silence(m_bBossMute, bMute); }
    void SetBackgroundMute(bool bMute) { Silence(m_bBackgroundMute, bMute); }
    // The level, in percent, on every device; false where there is none.
    // Until one is set the sessions keep theirs.
    bool SetLevel(int nPercent);

    // Asks the session how it stands (the player may have muted it in the
    // system's volume mixer meanwhile): the player's choice follows it.
    void Refresh();
    // Told when the player's choice followed the volume mixer.
    void OnMixerChoice(std::function<void(bool bMuted)> onMixerChoice) { m_onMixerChoice = std::move(onMixerChoice); }
    // Whether the last look found no device to mute.
    bool IsKnownUnavailable() const noexcept { return m_bUnavailable; }

    // The default playback device changed, or a device started to play: its
    // session is given the silence, or the sound, of the default device's
    // session until now (as the menu reads it: the player may have set it in
    // the volume mixer).
    void OnDevicesChanged();
    // A session was muted or unmuted by another than the launcher.
    void OnMixerMute(bool bMuted);
    // A session's level was moved by another than the launcher.
    void OnMixerLevel(int nPercent);

private:
    enum News : WPARAM
    {
        DevicesChanged = 0,
        MixerUnmuted = 1,
        MixerMuted = 2,
        MixerLevel = 3,
    };

    // A COM object goes by Release, never by delete through an interface, whose
    // destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
    class XNotificationClient final : public IMMNotificationClient
    {
    public:
        explicit XNotificationClient(const CGameSound& owner) noexcept : m_owner(owner) {}

        // The system holds no reference: the owner keeps it until it has
        // taken it back from the enumerator.
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) noexcept override;
        ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 1; }
        ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }

        HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD dwNewState) noexcept override;
        HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) noexcept override { return S_OK; }
        HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) noexcept override { return S_OK; }
        HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) noexcept override;
        HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) noexcept override { return S_OK; }

    private:
        const CGameSound& m_owner;
    };

    // A session's news, on a thread of the system's.
    class XSessionEvents final : public IAudioSessionEvents
    {
    public:
        explicit XSessionEvents(const CGameSound& owner) noexcept : m_owner(owner) {}

        // Held by the sessions until the owner takes it back from each.
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) noexcept override;
        ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 1; }
        ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }

        HRESULT STDMETHODCALLTYPE OnDisplayNameChanged(LPCWSTR, LPCGUID) noexcept override { return S_OK; }
        HRESULT STDMETHODCALLTYPE OnIconPathChanged(LPCWSTR, LPCGUID) noexcept override { return S_OK; }
        HRESULT STDMETHODCALLTYPE OnSimpleVolumeChanged(float, BOOL bNewMute, LPCGUID pContext) noexcept override;
        HRESULT STDMETHODCALLTYPE OnChannelVolumeChanged(DWORD, float[], DWORD, LPCGUID) noexcept override
        {
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE OnGroupingParamChanged(LPCGUID, LPCGUID) noexcept override { return S_OK; }
        HRESULT STDMETHODCALLTYPE OnStateChanged(AudioSessionState) noexcept override { return S_OK; }
        // The session went (its device removed, the audio service
        // restarted, its format changed): it is listened to anew.
        HRESULT STDMETHODCALLTYPE OnSessionDisconnected(AudioSessionDisconnectReason) noexcept override;

    private:
        const CGameSound& m_owner;
    };
#pragma GCC diagnostic pop

    bool Apply();
    // One of the launcher's silences comes into force, or goes.
    void Silence(bool& bSilence, bool bMute);
    // The player's choice follows what a session says, unless the boss key's
    // silence is in force there.
    void FollowMixer(ISimpleAudioVolume* pVolume);
    // The device enumerator, made and listened to on first use.
    bool Enumerator();
    // The process's session on a device.
    static bool SessionVolume(IMMDevice* pDevice, ComPtr<ISimpleAudioVolume>& pVolume);
    // The default device's session volume control, found anew when bFresh
    // or none is kept.
    ISimpleAudioVolume* Volume(bool bFresh);
    // Listens to the process's session on every device that plays, anew.
    void ListenToSessions();
    void StopListening() noexcept;
    // Has the window's thread look at the devices again, or hear what a
    // session says.
    void Notify(News news) const noexcept;
    // Whether a silence of the launcher's own is in force.
    bool IsSilenced() const noexcept
    {
        return m_bBossMute || m_bBackgroundMute;
    }

    HWND m_hWndNotify = nullptr;
    UINT m_nNotifyMessage = 0;
    bool m_bPlayerMute = false;
    bool m_bBossMute = false;
    bool m_bBackgroundMute = false;
    bool m_bUnavailable = false;
    // What the launcher set last on every device, as the sessions' threads
    // compare their news with it; no level until one is set (0 is one).
    static const int kNoLevel = -1;
    // The event context of what the launcher itself sets in a session.
    static const GUID s_ownChange;
    std::atomic<bool> m_bApplied{false};
    std::atomic<int> m_nLevel{kNoLevel};
    // The level a session was last moved to by another, and whether the
    // window has yet to hear of it.
    mutable std::atomic<int> m_nMixerLevel{kNoLevel};
    mutable std::atomic<bool> m_bLevelNewsPosted{false};
    std::function<void(bool)> m_onMixerChoice;
    ComPtr<IMMDeviceEnumerator> m_pEnumerator;
    bool m_bListening = false;
    ComPtr<ISimpleAudioVolume> m_pVolume;
    std::vector<ComPtr<IAudioSessionControl>> m_sessions; // listened to
    XNotificationClient m_xNotificationClient;
    XSessionEvents m_xSessionEvents;
};
