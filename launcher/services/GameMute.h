#pragma once

#include "framework/ComPtr.h"

#include <windows.h>
#include <mmdeviceapi.h>

#include <audiopolicy.h>

#include <atomic>
#include <functional>
#include <vector>

// The game's silence: the mute of this process's audio session on every
// playback device (Core Audio). The Flash Player plays inside the
// launcher's own process, so nothing else falls silent. There are two
// reasons to be silent: the player's choice, and the boss key on top of it.
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
// start has it too. The launcher's own changes carry an event context of
// its own, by which they are known.
class CGameMute
{
public:
    CGameMute() noexcept;
    ~CGameMute();
    CGameMute(const CGameMute&) = delete;
    CGameMute& operator=(const CGameMute&) = delete;

    // Where the news of the devices and the sessions goes: nMessage is
    // posted to hWnd, whose handler hands its wParam to OnNews.
    void Attach(HWND hWnd, UINT nMessage) noexcept;
    void OnNews(WPARAM news);

    // The player's choice; false, the choice unchanged, when there is no
    // device whose session could be muted.
    bool SetPlayerMute(bool bMute);
    bool IsPlayerMuted() const noexcept { return m_bPlayerMute; }
    // The boss key's silence, on top of the player's choice.
    void SetBossMute(bool bMute);

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

private:
    enum News : WPARAM
    {
        DevicesChanged = 0,
        MixerUnmuted = 1,
        MixerMuted = 2,
    };

    // A COM object goes by Release, never by delete through an interface, whose
    // destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
    class XNotificationClient final : public IMMNotificationClient
    {
    public:
        explicit XNotificationClient(const CGameMute& owner) noexcept : m_owner(owner) {}

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
        const CGameMute& m_owner;
    };

    // A session's news, on a thread of the system's.
    class XSessionEvents final : public IAudioSessionEvents
    {
    public:
        explicit XSessionEvents(const CGameMute& owner) noexcept : m_owner(owner) {}

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
        const CGameMute& m_owner;
    };
#pragma GCC diagnostic pop

    bool Apply();
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

    HWND m_hWndNotify = nullptr;
    UINT m_nNotifyMessage = 0;
    bool m_bPlayerMute = false;
    bool m_bBossMute = false;
    bool m_bUnavailable = false;
    // What the launcher set last on every device, as the sessions' threads
    // compare their news with it.
    std::atomic<bool> m_bApplied{false};
    std::function<void(bool)> m_onMixerChoice;
    ComPtr<IMMDeviceEnumerator> m_pEnumerator;
    bool m_bListening = false;
    ComPtr<ISimpleAudioVolume> m_pVolume;
    std::vector<ComPtr<IAudioSessionControl>> m_sessions; // listened to
    XNotificationClient m_xNotificationClient;
    XSessionEvents m_xSessionEvents;
};
