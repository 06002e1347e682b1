// Each comfort against a host without the launcher: what it brings to the
// window, and what it asks of the host.

#include "harness/FakeAudioDevices.h"
#include "harness/FakeFeatureHost.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "launcher/features/AnotherAccountFeature.h"
#include "launcher/features/BossKeyFeature.h"
#include "launcher/features/CacheClearFeature.h"
#include "launcher/features/FlashStatusFeature.h"
#include "launcher/LauncherIds.h"
#include "launcher/features/MuteFeature.h"
#include "launcher/features/ReloadFeature.h"
#include "launcher/features/ScreenshotFeature.h"
#include "launcher/features/TopMostFeature.h"
#include "launcher/features/ZoomFeature.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

namespace
{

using Saved = std::vector<std::pair<std::wstring, std::wstring>>;

bool IsTopMost(HWND hWnd)
{
    return (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(FeaturesTest, TopMostComesBackFromItsOptionAndAChoiceIsSaved)
{
    FakeFeatureHost host;
    host.WriteOptions("TopMost=1\r\n");
    CTopMostFeature topMost(host);
    host.Start(topMost);
    EXPECT_TRUE(IsTopMost(host.Window()));
    EXPECT_TRUE(host.MenuState(IDM_TOPMOST) & MF_CHECKED);
    host.Choose(IDM_TOPMOST);
    EXPECT_FALSE(IsTopMost(host.Window()));
    EXPECT_EQ(host.saved, (Saved{{L"TopMost", L"0"}}));
}

TEST(FeaturesTest, ReloadAndTheCacheClearLoadThePageAnewEachItsWay)
{
    FakeFeatureHost host;
    CReloadFeature reload(host);
    CCacheClearFeature cache(host);
    host.Start(reload);
    host.Start(cache);
    host.Choose(IDM_RELOAD);
    EXPECT_EQ(host.reloads, 1);

    host.pageUrl = L"about:blank"; // no site
    host.OpenMenu();
    EXPECT_TRUE(host.MenuState(IDM_CLEAR_CACHE) & MF_GRAYED);
    host.pageUrl = L"http://www.velka.cn/";
    host.OpenMenu();
    host.Choose(IDM_CLEAR_CACHE);
    EXPECT_TRUE(host.MenuState(IDM_CLEAR_CACHE) & MF_GRAYED) << "while the cache is walked";
    EXPECT_TRUE(PumpUntil([&] { return host.completeReloads == 1; }));
    host.OpenMenu();
    EXPECT_FALSE(host.MenuState(IDM_CLEAR_CACHE) & MF_GRAYED);
}

TEST(FeaturesTest, FlashStatusIsTheMenusGreyedFirstLineAndTheNotice)
{
    FakeFeatureHost host;
    CFlashStatusFeature flash(host);
    host.Start(flash);
    EXPECT_EQ(host.MenuText(IDM_FLASH_STATUS), L"Flash Player：未安装");
    EXPECT_TRUE(host.MenuState(IDM_FLASH_STATUS) & MF_GRAYED);
    EXPECT_FALSE(flash.NoticeText().IsEmpty());
}

TEST(FeaturesTest, ZoomComesBackFromItsOptionAndAStepWithoutAGameGivesTheBaseSize)
{
    FakeFeatureHost host;
    host.WriteOptions("Zoom=80\r\n");
    CZoomFeature zoom(host);
    host.Start(zoom);
    EXPECT_EQ(host.zooms, std::vector<int>{80});
    EXPECT_TRUE(host.MenuState(IDM_ZOOM_80) & MF_CHECKED);
    host.Choose(IDM_ZOOM_125);
    EXPECT_EQ(host.zooms, (std::vector<int>{80, 125}));
    EXPECT_EQ(host.saved, (Saved{{L"Zoom", L"125"}}));
    EXPECT_EQ(host.baseLayouts, 1);
    EXPECT_TRUE(host.MenuState(IDM_ZOOM_125) & MF_CHECKED);
}

TEST(FeaturesTest, MuteIsTheSessionsAndFollowsTheDevicesAsTheWindowHearsOfThem)
{
    FakeAudioDevices audio;
    FakeFeatureHost host;
    CMuteFeature mute(host);
    host.Start(mute);
    EXPECT_EQ(audio.EnumeratorsMade(), 0);
    host.Choose(IDM_MUTE);
    EXPECT_TRUE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    EXPECT_EQ(host.saved, (Saved{{L"Mute", L"1"}}));
    audio.SetMuted(FakeAudioDevices::kHeadset, false);
    ::SendMessageW(host.Window(), LauncherIds::kAudioDeviceMessage, 0, 0);
    EXPECT_TRUE(audio.IsMuted(FakeAudioDevices::kHeadset));
}

TEST(FeaturesTest, AScreenshotIsTakenOnTheWindowsTimerAfterTheMenuHasGoneOrSaysWhyNot)
{
    FakeFeatureHost host;
    CScreenshotFeature screenshot(host);
    host.Start(screenshot);
    const std::wstring folder = std::wstring(static_cast<const wchar_t*>(host.SettingsFolder())) + L"\\截图";
    WriteFileBytes(folder, ""); // a file where the folder would be made
    host.Choose(IDM_SCREENSHOT);
    EXPECT_TRUE(PumpUntil([&] { return !screenshot.NoticeText().IsEmpty(); }));
    ::DeleteFileW(folder.c_str());
    host.OpenMenu();
    EXPECT_TRUE(host.MenuState(IDM_OPEN_SCREENSHOTS) & MF_GRAYED) << "no folder yet";
    host.Choose(IDM_SCREENSHOT);
    EXPECT_TRUE(PumpUntil([&] { return FileNames(folder, L"*.png").size() == 1; }));
    EXPECT_TRUE(screenshot.NoticeText().IsEmpty());
    host.OpenMenu();
    EXPECT_FALSE(host.MenuState(IDM_OPEN_SCREENSHOTS) & MF_GRAYED);
}

TEST(FeaturesTest, TheBossKeyHidesWithItsMarkAndItsIconBringsTheWindowBack)
{
    FakeAudioDevices audio;
    FakeFeatureHost host;
    CMuteFeature mute(host);
    CBossKeyFeature boss(host, mute.Mute());
    host.Start(mute);
    host.Start(boss);
    EXPECT_EQ(host.MenuText(IDM_BOSSKEY), L"老板键 (Ctrl+Alt+H)");
    host.Choose(IDM_BOSSKEY);
    EXPECT_FALSE(::IsWindowVisible(host.Window()));
    EXPECT_TRUE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    ::SendMessageW(host.Window(), LauncherIds::kNotifyIconMessage, 0, MAKELPARAM(NIN_SELECT, 1));
    EXPECT_TRUE(::IsWindowVisible(host.Window()));
    EXPECT_FALSE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    EXPECT_EQ(host.saved, (Saved{{L"BossMute", L"1"}, {L"BossMute", L"(removed)"}}));
}

TEST(FeaturesTest, ALauncherStartedForAnotherAccountStandsBesideTheOneThatStartedIt)
{
    ::SetEnvironmentVariableW(L"ORLIMWEB_ANOTHER_ACCOUNT", L"30,40");
    FakeFeatureHost host;
    CAnotherAccountFeature account(host);
    host.Start(account);
    RECT rc;
    ::GetWindowRect(host.Window(), &rc);
    EXPECT_EQ(rc.left, 30 + ::GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(rc.top, 40 + ::GetSystemMetrics(SM_CYCAPTION));
}

} // namespace
