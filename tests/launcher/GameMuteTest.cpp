// The game's silence as Windows keeps sessions: one per device, the sound
// following the default device, unplugged devices failing their calls.

#include "harness/FakeAudioDevices.h"
#include "harness/LauncherFixture.h"
#include "harness/MessagePump.h"

#include "launcher/services/GameSound.h"
#include "res/resource.h"

#include "launcher/services/BossMode.h"

#include <gtest/gtest.h>

namespace
{

const wchar_t* const kSpeakers = FakeAudioDevices::kSpeakers;
const wchar_t* const kHeadset = FakeAudioDevices::kHeadset;

class GameMuteTest : public LauncherFixture
{
protected:
    GameMuteTest() : LauncherFixture(Setup().StartLater()) {}

    FakeAudioDevices m_audio;
};

TEST_F(GameMuteTest, SilenceFollowsTheDefaultDevice)
{
    Start();
    EXPECT_EQ(m_audio.EnumeratorsMade(), 0) << "a default start asks nothing of Core Audio";
    Command(L"静音");
    EXPECT_TRUE(m_audio.IsMuted(kSpeakers));
    EXPECT_TRUE(m_audio.IsMuted(kHeadset)) << "where the player may send the launcher's sound";
    EXPECT_TRUE(MenuState(L"静音") & MF_CHECKED);

    // A headset plugged in becomes the default: the game plays there now.
    m_audio.MakeDefault(kHeadset);
    EXPECT_TRUE(PumpUntil([&] { return m_audio.IsMuted(kHeadset); }, 3000));

    // Started muted, the launcher finds the device of now.
    m_audio.SetMuted(kHeadset, false, false);
    Start();
    EXPECT_TRUE(m_audio.IsMuted(kHeadset));
}

TEST_F(GameMuteTest, BossKeySilencesTheGameAndGivesItsSoundBack)
{
    Start();
    Command(L"老板键");
    ASSERT_FALSE(::IsWindowVisible(Hwnd()));
    EXPECT_TRUE(m_audio.IsMuted(kSpeakers));
    ::SendMessageW(Hwnd(), CBossMode::s_nIconMessage, 0, MAKELPARAM(NIN_SELECT, 1)); // the icon, chosen
    ASSERT_TRUE(::IsWindowVisible(Hwnd()));
    EXPECT_FALSE(m_audio.IsMuted(kSpeakers));

    // The player's own silence stays when the boss key goes, chosen in the
    // menu or in the volume mixer.
    Command(L"静音");
    Command(L"老板键");
    ::SendMessageW(Hwnd(), CBossMode::s_nIconMessage, 0, MAKELPARAM(NIN_SELECT, 1));
    EXPECT_TRUE(m_audio.IsMuted(kSpeakers));
    Command(L"静音");
    m_audio.SetMuted(kSpeakers, true);
    EXPECT_TRUE(PumpUntil([&] { return Ini().find("Mute=1\r\n") != std::string::npos; }, 3000));
    Command(L"老板键");
    ::SendMessageW(Hwnd(), CBossMode::s_nIconMessage, 0, MAKELPARAM(NIN_SELECT, 1));
    EXPECT_TRUE(m_audio.IsMuted(kSpeakers));

    // A headset becomes the default while hidden: silent too, and the boss
    // key's silence is not taken for the player's.
    Command(L"静音");
    Command(L"老板键");
    m_audio.MakeDefault(kHeadset);
    EXPECT_TRUE(PumpUntil([&] { return m_audio.IsMuted(kHeadset); }, 3000));
    m_audio.MoveLevel(kHeadset); // the silenced session's level, moved in the mixer
    PumpFor(200);
    ::SendMessageW(Hwnd(), CBossMode::s_nIconMessage, 0, MAKELPARAM(NIN_SELECT, 1));
    EXPECT_FALSE(m_audio.IsMuted(kSpeakers) || m_audio.IsMuted(kHeadset));
    EXPECT_NE(Ini().find("Mute=0\r\n"), std::string::npos);
}

TEST_F(GameMuteTest, ALauncherEndedWhileHiddenLeavesNoSilenceBehind)
{
    Start();
    Command(L"老板键");
    const std::string hidden = Ini();
    EXPECT_NE(hidden.find("\r\nBossMute=1\r\n"), std::string::npos);
    ::SendMessageW(Hwnd(), CBossMode::s_nIconMessage, 0, MAKELPARAM(NIN_SELECT, 1));
    EXPECT_EQ(Ini().find("[options]"), std::string::npos);

    // Killed while hidden: the system kept the session's mute for the
    // program, and the mark stayed.
    m_launcher.reset();
    WriteIni(hidden);
    m_audio.SetMuted(kSpeakers, true);
    Start();
    EXPECT_FALSE(m_audio.IsMuted(kSpeakers));
    EXPECT_EQ(Ini().find("BossMute"), std::string::npos);

    // The player's own silence, stored beside the mark, stays.
    m_launcher.reset();
    std::string withMute = hidden;
    withMute.insert(withMute.find("[options]\r\n") + 11, "Mute=1\r\n");
    WriteIni(withMute);
    Start();
    EXPECT_TRUE(PumpUntil([&] { return m_audio.IsMuted(kSpeakers); }));
    EXPECT_EQ(Ini().find("BossMute"), std::string::npos);
    EXPECT_NE(Ini().find("Mute=1\r\n"), std::string::npos);
}

TEST_F(GameMuteTest, ADevicePluggedInAgainGetsTheSoundBackToo)
{
    Start();
    Command(L"静音");
    m_audio.Unplug(kHeadset);
    Command(L"静音");
    ASSERT_FALSE(m_audio.IsMuted(kSpeakers));
    m_audio.Plug(kHeadset);
    EXPECT_TRUE(PumpUntil([&] { return !m_audio.IsMuted(kHeadset); }, 3000));
}

TEST_F(GameMuteTest, ASilenceSetInTheVolumeMixerStaysWhenADeviceComesIn)
{
    Start();
    Command(L"静音");
    Command(L"静音");
    m_audio.Unplug(kHeadset);
    m_audio.SetMuted(kSpeakers, true);
    m_audio.Plug(kHeadset);
    EXPECT_TRUE(PumpUntil([&] { return m_audio.IsMuted(kHeadset); }, 3000));
    EXPECT_TRUE(m_audio.IsMuted(kSpeakers));
    EXPECT_NE(Ini().find("Mute=1\r\n"), std::string::npos) << "kept across starts, as if chosen in the menu";
}

TEST_F(GameMuteTest, WhatThePlayerSetsInTheVolumeMixerHoldsOnEveryDeviceAndAtTheNextStart)
{
    Start();
    Command(L"静音");
    // Unmuted in the mixer, on the default device.
    m_audio.SetMuted(kSpeakers, false);
    EXPECT_TRUE(PumpUntil([&] { return Ini().find("Mute=0\r\n") != std::string::npos; }, 3000));
    EXPECT_FALSE(m_audio.IsMuted(kHeadset)) << "on every device";
    // Muted on the device the player sent the game to (not the default).
    m_audio.SetMuted(kHeadset, true);
    EXPECT_TRUE(PumpUntil([&] { return Ini().find("Mute=1\r\n") != std::string::npos; }, 3000));
    EXPECT_TRUE(m_audio.IsMuted(kSpeakers));
    m_audio.SetMuted(kHeadset, false);
    EXPECT_TRUE(PumpUntil([&] { return Ini().find("Mute=0\r\n") != std::string::npos; }, 3000));
    Start();
    PumpFor(300);
    EXPECT_FALSE(m_audio.IsMuted(kSpeakers) || m_audio.IsMuted(kHeadset)) << "silent again at the next start";
}

TEST_F(GameMuteTest, MenuShowsTheSessionAsTheVolumeMixerLeftIt)
{
    Start();
    Command(L"静音");
    m_audio.SetMuted(kSpeakers, false);
    OpenMenu();
    EXPECT_FALSE(MenuState(L"静音") & MF_CHECKED);
    Command(L"静音");
    EXPECT_TRUE(m_audio.IsMuted(kSpeakers));
}

TEST(GameMuteClassTest, AFailedCallIsMadeAgainOnTheDeviceOfNow)
{
    FakeAudioDevices audio;
    CGameSound mute;
    ASSERT_TRUE(mute.SetPlayerMute(true));
    // The speakers are unplugged; the news of the new default is late.
    audio.Unplug(kSpeakers);
    audio.MakeDefault(kHeadset, false);
    EXPECT_TRUE(mute.SetPlayerMute(false));
    EXPECT_TRUE(mute.SetPlayerMute(true));
    EXPECT_TRUE(audio.IsMuted(kHeadset));
}

} // namespace
