// The Core Audio identifiers are in no import library: defined here too,
// before any header declares them.
#include <initguid.h>

#include "FakeAudioDevices.h"

#include "framework/ComObject.h"
#include "framework/ComPtr.h"

#include <audioclient.h>
#include <audiopolicy.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>

// Runs each piece of news handed to it on a thread of its own, and returns
// once it was told. One thread for all of it: a thread started for each
// piece costs some virtual machines' kernels milliseconds, and the sound's
// model test tells thousands. News told while news is told (a listener
// that changes the mute) is told at once, on the same thread.
class FakeAudioDevices::NewsThread
{
public:
    NewsThread() : m_thread([this] { Serve(); }) {}
    ~NewsThread()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_bStop = true;
        }
        m_changed.notify_all();
        // Never on this thread: whoever tells holds the devices' state.
        m_thread.join();
    }
    NewsThread(const NewsThread&) = delete;
    NewsThread& operator=(const NewsThread&) = delete;

    void Tell(const std::function<void()>& news)
    {
        if (std::this_thread::get_id() == m_thread.get_id())
        {
            news();
            return;
        }
        const std::lock_guard<std::mutex> teller(m_teller);
        std::unique_lock<std::mutex> lock(m_mutex);
        m_pNews = &news;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_pNews == nullptr; });
    }

private:
    void Serve()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;)
        {
            m_changed.wait(lock, [this] { return m_pNews || m_bStop; });
            if (!m_pNews)
                return;
            lock.unlock();
            (*m_pNews)();
            lock.lock();
            m_pNews = nullptr;
            m_changed.notify_all();
        }
    }

    std::mutex m_teller; // one piece of news at a time
    std::mutex m_mutex;
    std::condition_variable m_changed;
    const std::function<void()>* m_pNews = nullptr;
    bool m_bStop = false;
    std::thread m_thread;
};

namespace
{

// The volume mixer's own context, as it passes one with its changes.
const GUID kMixer = {0x2d7b3a10, 0x61c4, 0x4f0e, {0x9a, 0x55, 0x13, 0x8e, 0x47, 0xb2, 0x0c, 0xd1}};

// Tells a session's listeners of its mute, from another thread.
void Tell(FakeAudioDevices::State& state, const FakeAudioDevices::Device& device, LPCGUID pContext)
{
    const std::vector<IAudioSessionEvents*> listeners = device.listeners;
    const BOOL bMuted = device.bMuted;
    const float fLevel = device.fLevel;
    state.news->Tell([&listeners, bMuted, fLevel, pContext] {
        for (IAudioSessionEvents* pListener : listeners)
            pListener->OnSimpleVolumeChanged(fLevel, bMuted, pContext);
    });
}

// One device, with the process's session on it and that session's volume.
class FakeDevice final : public ComObject<IMMDevice, IAudioSessionManager, ISimpleAudioVolume, IAudioSessionControl>
{
public:
    FakeDevice(std::shared_ptr<FakeAudioDevices::State> state, std::wstring id)
        : m_state(std::move(state)), m_id(std::move(id))
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override
    {
        if (iid == IID_IUnknown || iid == IID_IMMDevice)
            *ppv = static_cast<IMMDevice*>(this);
        else if (iid == IID_IAudioSessionManager)
            *ppv = static_cast<IAudioSessionManager*>(this);
        else if (iid == IID_ISimpleAudioVolume)
            *ppv = static_cast<ISimpleAudioVolume*>(this);
        else if (iid == IID_IAudioSessionControl)
            *ppv = static_cast<IAudioSessionControl*>(this);
        else
        {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    // IMMDevice
    HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT*, void** ppv) override
    {
        if (iid != IID_IAudioSessionManager)
            return E_NOINTERFACE;
        return Gone() ? AUDCLNT_E_DEVICE_INVALIDATED : QueryInterface(iid, ppv);
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD* pdwState) override
    {
        *pdwState = Gone() ? DEVICE_STATE_UNPLUGGED : DEVICE_STATE_ACTIVE;
        return S_OK;
    }

    // IAudioSessionManager
    HRESULT STDMETHODCALLTYPE GetAudioSessionControl(LPCGUID, DWORD, IAudioSessionControl** ppSession) override
    {
        return QueryInterface(IID_IAudioSessionControl, reinterpret_cast<void**>(ppSession));
    }
    HRESULT STDMETHODCALLTYPE GetSimpleAudioVolume(LPCGUID, DWORD, ISimpleAudioVolume** ppVolume) override
    {
        return QueryInterface(IID_ISimpleAudioVolume, reinterpret_cast<void**>(ppVolume));
    }

    // ISimpleAudioVolume
    HRESULT STDMETHODCALLTYPE SetMasterVolume(float fLevel, LPCGUID pContext) override
    {
        if (Gone())
            return AUDCLNT_E_DEVICE_INVALIDATED;
        if (fLevel < 0 || fLevel > 1)
            return E_INVALIDARG;
        m_state->devices[m_id].fLevel = fLevel;
        Tell(*m_state, m_state->devices[m_id], pContext);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMasterVolume(float* pfLevel) override
    {
        if (Gone())
            return AUDCLNT_E_DEVICE_INVALIDATED;
        *pfLevel = m_state->devices[m_id].fLevel;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMute(BOOL bMute, LPCGUID pContext) override
    {
        if (Gone())
            return AUDCLNT_E_DEVICE_INVALIDATED;
        m_state->devices[m_id].bMuted = bMute != FALSE;
        Tell(*m_state, m_state->devices[m_id], pContext);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMute(BOOL* pbMute) override
    {
        if (Gone())
            return AUDCLNT_E_DEVICE_INVALIDATED;
        *pbMute = m_state->devices[m_id].bMuted;
        return S_OK;
    }

    // IAudioSessionControl
    HRESULT STDMETHODCALLTYPE GetState(AudioSessionState*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDisplayName(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDisplayName(LPCWSTR, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIconPath(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetIconPath(LPCWSTR, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupingParam(GUID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetGroupingParam(LPCGUID, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterAudioSessionNotification(IAudioSessionEvents* pListener) override
    {
        pListener->AddRef();
        m_state->devices[m_id].listeners.push_back(pListener);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UnregisterAudioSessionNotification(IAudioSessionEvents* pListener) override
    {
        auto& listeners = m_state->devices[m_id].listeners;
        const auto it = std::find(listeners.begin(), listeners.end(), pListener);
        if (it == listeners.end())
            return E_INVALIDARG;
        listeners.erase(it);
        pListener->Release();
        return S_OK;
    }

private:
    bool Gone() const { return m_state->devices[m_id].bUnplugged; }

    std::shared_ptr<FakeAudioDevices::State> m_state;
    std::wstring m_id;
};

// The devices that play, as the enumerator lists them.
class FakeCollection final : public ComObject<IMMDeviceCollection>
{
public:
    explicit FakeCollection(std::shared_ptr<FakeAudioDevices::State> state) : m_state(std::move(state))
    {
        for (const auto& device : m_state->devices)
            if (!device.second.bUnplugged)
                m_ids.push_back(device.first);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override
    {
        if (iid != IID_IUnknown && iid != IID_IMMDeviceCollection)
        {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IMMDeviceCollection*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCount(UINT* pcDevices) override
    {
        *pcDevices = static_cast<UINT>(m_ids.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(UINT nDevice, IMMDevice** ppDevice) override
    {
        *ppDevice = nullptr;
        if (nDevice >= m_ids.size())
            return E_INVALIDARG;
        *ppDevice = new FakeDevice(m_state, m_ids[nDevice]);
        (*ppDevice)->AddRef();
        return S_OK;
    }

private:
    std::shared_ptr<FakeAudioDevices::State> m_state;
    std::vector<std::wstring> m_ids;
};

class FakeEnumerator final : public ComObject<IMMDeviceEnumerator>
{
public:
    explicit FakeEnumerator(std::shared_ptr<FakeAudioDevices::State> state) : m_state(std::move(state)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override
    {
        if (iid != IID_IUnknown && iid != IID_IMMDeviceEnumerator)
        {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IMMDeviceEnumerator*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow flow, DWORD dwStateMask,
                                                 IMMDeviceCollection** ppDevices) override
    {
        *ppDevices = nullptr;
        if (flow != eRender || dwStateMask != DEVICE_STATE_ACTIVE)
            return E_NOTIMPL;
        *ppDevices = new FakeCollection(m_state);
        (*ppDevices)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow flow, ERole, IMMDevice** ppDevice) override
    {
        *ppDevice = nullptr;
        if (flow != eRender || m_state->defaultDevice.empty())
            return E_NOTFOUND;
        ComPtr<IMMDevice> pDevice(new FakeDevice(m_state, m_state->defaultDevice));
        *ppDevice = pDevice.Get();
        pDevice->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* pClient) override
    {
        if (!pClient)
            return E_POINTER;
        m_state->clients.push_back(pClient);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient* pClient) override
    {
        auto& clients = m_state->clients;
        const auto it = std::find(clients.begin(), clients.end(), pClient);
        if (it == clients.end())
            return E_NOTFOUND;
        clients.erase(it);
        return S_OK;
    }

private:
    std::shared_ptr<FakeAudioDevices::State> m_state;
};

} // namespace

FakeAudioDevices::FakeAudioDevices() : RegisteredClass(CLSID_MMDeviceEnumerator)
{
    m_state->news = std::make_shared<NewsThread>();
    m_state->devices[kSpeakers] = Device();
    m_state->devices[kHeadset] = Device();
    m_state->defaultDevice = kSpeakers;
}

bool FakeAudioDevices::IsMuted(const std::wstring& device) const
{
    return m_state->devices.at(device).bMuted;
}

void FakeAudioDevices::SetMuted(const std::wstring& device, bool bMuted, bool bTell)
{
    m_state->devices.at(device).bMuted = bMuted;
    if (bTell)
        Tell(*m_state, m_state->devices.at(device), &kMixer);
}

int FakeAudioDevices::Level(const std::wstring& device) const
{
    return static_cast<int>(std::lround(m_state->devices.at(device).fLevel * 100));
}

void FakeAudioDevices::MoveLevel(const std::wstring& device, int nPercent)
{
    if (nPercent >= 0)
        m_state->devices.at(device).fLevel = static_cast<float>(nPercent) / 100;
    Tell(*m_state, m_state->devices.at(device), &kMixer);
}

void FakeAudioDevices::MakeDefault(const std::wstring& device, bool bTell)
{
    m_state->defaultDevice = device;
    if (!bTell)
        return;
    // Windows tells the clients on a thread of its own.
    const std::vector<IMMNotificationClient*> clients = m_state->clients;
    m_state->news->Tell([&clients, &device] {
        for (IMMNotificationClient* pClient : clients)
        {
            pClient->OnDefaultDeviceChanged(eRender, eMultimedia, device.c_str());
            pClient->OnDefaultDeviceChanged(eRender, eConsole, device.c_str());
            pClient->OnDefaultDeviceChanged(eRender, eCommunications, device.c_str());
        }
    });
}

void FakeAudioDevices::Unplug(const std::wstring& device)
{
    m_state->devices.at(device).bUnplugged = true;
}

void FakeAudioDevices::Plug(const std::wstring& device)
{
    m_state->devices.at(device).bUnplugged = false;
    const std::vector<IMMNotificationClient*> clients = m_state->clients;
    m_state->news->Tell([&clients, &device] {
        for (IMMNotificationClient* pClient : clients)
            pClient->OnDeviceStateChanged(device.c_str(), DEVICE_STATE_ACTIVE);
    });
}

HRESULT STDMETHODCALLTYPE FakeAudioDevices::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    ++m_nEnumerators;
    ComPtr<IMMDeviceEnumerator> pEnumerator(new FakeEnumerator(m_state));
    return pEnumerator->QueryInterface(riid, ppv);
}
