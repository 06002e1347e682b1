// What decides the game's sound, in seeded runs: the player's mute, the boss
// key's silence, the silence in the background, the level, the volume mixer
// (a mute, an unmute, a level, on any device), and devices that come, go
// and become the default. After every step each device that plays must
// have what a model of those rules says. A run that fails prints its seed
// and its steps.

#include "harness/FakeAudioDevices.h"
#include "harness/MessagePump.h"

#include "launcher/services/GameSound.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace
{

const UINT kNewsMessage = WM_APP + 1;

// The window the sessions' news is posted to, handing it to the sound.
class NewsWindow
{
public:
    explicit NewsWindow(CGameSound& sound)
        : m_hWnd(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
    {
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&sound));
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NewsWindow::Proc));
        sound.Attach(m_hWnd, kNewsMessage);
    }
    ~NewsWindow() { ::DestroyWindow(m_hWnd); }
    NewsWindow(const NewsWindow&) = delete;
    NewsWindow& operator=(const NewsWindow&) = delete;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message != kNewsMessage)
            return ::DefWindowProcW(hWnd, message, wParam, lParam);
        reinterpret_cast<CGameSound*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA))->OnNews(wParam);
        return 0;
    }

    HWND m_hWnd;
};

class SoundRun
{
public:
    explicit SoundRun(unsigned seed) : m_random(seed), m_window(m_sound) {}

    // One step at random; false with what went wrong.
    bool Step()
    {
        const std::wstring device = Pick(2) ? FakeAudioDevices::kSpeakers : FakeAudioDevices::kHeadset;
        switch (Pick(8))
        {
        case 0:
            Say("player mute ", !m_bPlayer);
            m_bPlayer = !m_bPlayer;
            m_sound.SetPlayerMute(m_bPlayer);
            break;
        case 1:
            Say("boss key ", !m_bBoss);
            m_bBoss = !m_bBoss;
            m_sound.SetBossMute(m_bBoss);
            break;
        case 2:
            Say("background ", !m_bBackground);
            m_bBackground = !m_bBackground;
            m_sound.SetBackgroundMute(m_bBackground);
            break;
        case 3:
            m_nLevel = 25 * (1 + Pick(4));
            Say("level ", m_nLevel);
            m_sound.SetLevel(m_nLevel);
            break;
        case 4: {
            if (Gone(device))
                break;
            const bool bMute = Pick(2) != 0;
            Say("mixer mute ", bMute);
            // A change the mixer makes: a mute is the player's; an unmute is
            // refused while the launcher keeps a silence of its own.
            if (bMute != Expected() && (bMute || !(m_bBoss || m_bBackground)))
                m_bPlayer = bMute;
            m_audio.SetMuted(device, bMute);
            break;
        }
        case 5: {
            if (Gone(device))
                break;
            const int nLevel = Pick(101); // 0 too
            Say("mixer level ", nLevel);
            if (m_nLevel >= 0)
                m_nLevel = nLevel;
            m_audio.MoveLevel(device, nLevel);
            break;
        }
        case 6:
            Say("default ", device == FakeAudioDevices::kSpeakers);
            if (!Gone(device))
                m_audio.MakeDefault(device);
            break;
        default:
            // The headset comes and goes; the speakers stay.
            Say("headset plugged ", m_bHeadsetGone);
            if (m_bHeadsetGone)
                m_audio.Plug(FakeAudioDevices::kHeadset);
            else
                m_audio.Unplug(FakeAudioDevices::kHeadset);
            m_bHeadsetGone = !m_bHeadsetGone;
            break;
        }
        PumpPending(); // the news, posted by the time the call returned
        return Check();
    }

    std::string Steps() const { return m_steps.str(); }

private:
    bool Expected() const { return m_bPlayer || m_bBoss || m_bBackground; }
    bool Gone(const std::wstring& device) const { return device == FakeAudioDevices::kHeadset && m_bHeadsetGone; }
    unsigned Pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(m_random); }
    template <typename T>
    void Say(const char* what, T value)
    {
        m_steps << what << value << "; ";
    }

    bool Check()
    {
        for (const wchar_t* device : {FakeAudioDevices::kSpeakers, FakeAudioDevices::kHeadset})
        {
            if (Gone(device))
                continue;
            if (m_audio.IsMuted(device) != Expected() || (m_nLevel >= 0 && m_audio.Level(device) != m_nLevel))
                return false;
        }
        return m_sound.IsPlayerMuted() == m_bPlayer;
    }

    std::mt19937 m_random;
    FakeAudioDevices m_audio;
    CGameSound m_sound;
    NewsWindow m_window;
    std::ostringstream m_steps;
    bool m_bPlayer = false;
    bool m_bBoss = false;
    bool m_bBackground = false;
    int m_nLevel = -1; // none set yet
    bool m_bHeadsetGone = false;
};

TEST(GameSoundModelTest, EveryDeviceHasWhatTheFiveDecide)
{
    for (unsigned seed = 1; seed <= 30; ++seed)
    {
        SoundRun run(seed);
        for (int step = 0; step < 40; ++step)
            ASSERT_TRUE(run.Step()) << "seed " << seed << ": " << run.Steps();
    }
}

} // namespace
