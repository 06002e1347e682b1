#pragma once

#include "harness/RegisteredClass.h"

#include <windows.h>
#include <audiopolicy.h>
#include <mmdeviceapi.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Playback devices as Windows has them, for the game's mute. The process has
// one session on each device, which every volume control got for it shares
// (Windows' do; Wine makes a new session for each control); the default
// device can change, and the clients registered for it are told, as Windows
// tells them, from another thread (one thread of the devices' own); the session of a device unplugged
// answers AUDCLNT_E_DEVICE_INVALIDATED. A session tells those listening to
// it of every change of its mute, from another thread, with the context the
// change was made with (Wine tells nothing). While the object lives, it is
// the device enumerator of the process (OLE is initialised for it).
class FakeAudioDevices final : public RegisteredClass
{
public:
    FakeAudioDevices();

    static constexpr const wchar_t* kSpeakers = L"speakers";
    static constexpr const wchar_t* kHeadset = L"headset";

    // The session's mute on a device, as the volume mixer shows it and sets
    // it (telling those listening, unless bTell is false: a mute the system
    // kept from an earlier run).
    bool IsMuted(const std::wstring& device) const;
    void SetMuted(const std::wstring& device, bool bMuted, bool bTell = true);
    // The session's level in percent, and the level moved in the mixer (to
    // nPercent, or where it is): told with the mute as it is.
    int Level(const std::wstring& device) const;
    void MoveLevel(const std::wstring& device, int nPercent = -1);
    // The player plugs in a headset: it becomes the default device, and the
    // clients are told (unless the news is still on its way).
    void MakeDefault(const std::wstring& device, bool bTell = true);
    void Unplug(const std::wstring& device);
    // Plugged in again: the clients are told it plays (from another thread).
    void Plug(const std::wstring& device);
    // How many times the process asked for the device enumerator.
    int EnumeratorsMade() const { return m_nEnumerators; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;

    // What the fake enumerators and devices share; they keep it as long as
    // they live. The news is told from the thread of NewsThread.
    class NewsThread;
    struct Device
    {
        bool bMuted = false;
        float fLevel = 1.0f;
        bool bUnplugged = false;
        std::vector<IAudioSessionEvents*> listeners; // held while registered, as Windows holds them
    };
    struct State
    {
        std::map<std::wstring, Device> devices;
        std::wstring defaultDevice;
        std::vector<IMMNotificationClient*> clients; // not held: Windows holds none
        std::shared_ptr<NewsThread> news;
    };

private:
    std::shared_ptr<State> m_state = std::make_shared<State>();
    int m_nEnumerators = 0;
};
