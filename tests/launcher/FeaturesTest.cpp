// Each comfort against a host without the launcher: what it brings to the
// window, and what it asks of the host.

#include "harness/FakeAudioDevices.h"
#include "harness/FakeFeatureHost.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "launcher/features/AnotherAccountFeature.h"
#include "launcher/features/BossKeyFeature.h"
#include "launcher/features/CacheClearFeature.h"
#include "launcher/features/FlashStatusFeature.h"
#include "launcher/features/MuteFeature.h"
#include "launcher/features/ReloadFeature.h"
#include "launcher/features/ScreenshotFeature.h"
#include "launcher/features/TopMostFeature.h"
#include "launcher/features/VolumeFeature.h"
#include "launcher/features/WindowPlaceFeature.h"
#include "launcher/features/ZoomFeature.h"
#include "framework/CWnd.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace
{

bool IsTopMost(HWND hWnd)
{
    return (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(FeaturesTest, TopMostComesBackFromItsOptionAndAChoiceIsSaved)
{
    FakeFeatureHost host;
    host.WriteOptions("TopMost=1\r\n");
    CTopMostFeature topMost(host, host.Settings());
    host.Start({&topMost});
    EXPECT_TRUE(IsTopMost(host.Window()));
    EXPECT_TRUE(host.MenuState(L"窗口置顶") & MF_CHECKED);
    host.Choose(L"窗口置顶");
    EXPECT_FALSE(IsTopMost(host.Window()));
    EXPECT_EQ(host.SavedOptions(), "TopMost=0\r\n");
}

TEST(FeaturesTest, TheWindowsPlaceIsKeptWhenAskedAndComesBackWholeOnTheScreen)
{
    const auto placedAt = [](const std::string& options) {
        FakeFeatureHost host;
        CWindowPlaceFeature place(host, host.Settings());
        if (!options.empty())
            host.WriteOptions(options);
        host.Start({&place});
        const POINT pt = {WindowRect(host.Window()).left, WindowRect(host.Window()).top};
        // Moved by the player, then Windows ends.
        ::SetWindowPos(host.Window(), nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::SendMessageW(host.Window(), WM_ENDSESSION, TRUE, 0);
        return std::make_pair(pt, host.SavedOptions());
    };
    const RECT rcWork = CWnd::WorkAreaOf(::GetDesktopWindow());
    auto [pt, saved] = placedAt("");
    EXPECT_EQ(pt.x, 100) << "off by default: placed as the window was";
    EXPECT_EQ(saved, "");
    std::tie(pt, saved) = placedAt("RememberPlace=1\r\nPlace=200,150\r\n");
    EXPECT_EQ(pt.x, 200);
    EXPECT_EQ(pt.y, 150);
    EXPECT_EQ(saved, "RememberPlace=1\r\nPlace=300,250\r\n");
    // On a monitor unplugged since: whole on the nearest work area.
    std::tie(pt, saved) = placedAt("RememberPlace=1\r\nPlace=5000,-900\r\n");
    EXPECT_EQ(pt.x, rcWork.right - 400);
    EXPECT_EQ(pt.y, rcWork.top);
}

TEST(FeaturesTest, ReloadAndTheCacheClearLoadThePageAnewEachItsWay)
{
    FakeFeatureHost host;
    CReloadFeature reload(host, host);
    CCacheClearFeature cache(host, host);
    host.Start({&reload, &cache});
    host.Choose(L"刷新页面");
    EXPECT_EQ(host.reloads, 1);

    host.pageUrl = L"about:blank"; // no site
    host.OpenMenu();
    EXPECT_TRUE(host.MenuState(L"清除缓存并刷新") & MF_GRAYED);
    host.pageUrl = L"http://www.velka.cn/";
    host.OpenMenu();
    host.Choose(L"清除缓存并刷新");
    EXPECT_TRUE(host.MenuState(L"清除缓存并刷新") & MF_GRAYED) << "while the cache is walked";
    EXPECT_TRUE(PumpUntil([&] { return host.completeReloads == 1; }));
    host.OpenMenu();
    EXPECT_FALSE(host.MenuState(L"清除缓存并刷新") & MF_GRAYED);
}

TEST(FeaturesTest, FlashStatusIsTheMenusGreyedFirstLineAndTheNotice)
{
    FakeFeatureHost host;
    CFlashStatusFeature flash(host);
    host.Start({&flash});
    EXPECT_EQ(host.MenuText(L"Flash Player"), L"Flash Player：未安装");
    EXPECT_TRUE(host.MenuState(L"Flash Player") & MF_GRAYED);
    EXPECT_FALSE(flash.NoticeText().IsEmpty());
}

TEST(FeaturesTest, ZoomComesBackFromItsOptionAndAStepWithoutAGameGivesTheBaseSize)
{
    FakeFeatureHost host;
    host.WriteOptions("Zoom=80\r\n");
    CZoomFeature zoom(host, host.Settings(), host.Zoom(), host);
    host.Start({&zoom});
    EXPECT_EQ(host.zooms, std::vector<int>{80});
    EXPECT_TRUE(host.MenuState(L"80%") & MF_CHECKED);
    host.Choose(L"125%");
    EXPECT_EQ(host.zooms, (std::vector<int>{80, 125}));
    EXPECT_EQ(host.SavedOptions(), "Zoom=125\r\n");
    EXPECT_EQ(host.baseLayouts, 1);
    EXPECT_TRUE(host.MenuState(L"125%") & MF_CHECKED);
}

TEST(FeaturesTest, MuteIsTheSessionsAndFollowsTheDevicesAsTheWindowHearsOfThem)
{
    FakeAudioDevices audio;
    FakeFeatureHost host;
    CMuteFeature mute(host, host.Settings(), host.Mute());
    host.Start({&mute});
    EXPECT_EQ(audio.EnumeratorsMade(), 0);
    host.Choose(L"静音");
    EXPECT_TRUE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    EXPECT_EQ(host.SavedOptions(), "Mute=1\r\n");
    // The device changes, as Core Audio's thread tells it.
    audio.MakeDefault(FakeAudioDevices::kHeadset);
    audio.SetMuted(FakeAudioDevices::kHeadset, false, false); // a device new to the session
    EXPECT_TRUE(PumpUntil([&] { return audio.IsMuted(FakeAudioDevices::kHeadset); }, 3000));
}

TEST(FeaturesTest, TheSoundChosenBeforeTheWindowShowsStandsOverTheStoredMute)
{
    FakeAudioDevices audio;
    FakeFeatureHost host;
    host.WriteOptions("Mute=1\r\n");
    CMuteFeature mute(host, host.Settings(), host.Mute());
    host.Start({&mute}, false); // started minimised: not painted yet
    host.Choose(L"静音");
    host.Choose(L"静音"); // and the sound back, from the taskbar's menu
    host.Show();
    EXPECT_FALSE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    EXPECT_EQ(host.SavedOptions(), "Mute=0\r\n");
}

TEST(FeaturesTest, TheLevelChosenIsEveryDevicesAndTheBackgroundIsSilentWhileItLasts)
{
    FakeAudioDevices audio;
    FakeFeatureHost host;
    CVolumeFeature volume(host, host.Settings(), host.Mute());
    host.Start({&volume});
    host.Choose(L"50%");
    EXPECT_EQ(audio.Level(FakeAudioDevices::kHeadset), 50);
    host.Choose(L"后台静音");
    EXPECT_EQ(host.SavedOptions(), "Volume=50\r\nBackgroundMute=1\r\n");
    ::SendMessageW(host.Window(), WM_ACTIVATEAPP, FALSE, 0); // another program in front
    EXPECT_TRUE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    ::SendMessageW(host.Window(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    ::ShowWindow(host.Window(), SW_MINIMIZE);
    EXPECT_TRUE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    ::ShowWindow(host.Window(), SW_RESTORE);
    EXPECT_FALSE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    // A window of another of the launcher's own threads is not another
    // program.
    ::SendMessageW(host.Window(), WM_ACTIVATEAPP, FALSE, static_cast<LPARAM>(::GetCurrentThreadId()));
    EXPECT_FALSE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    // Ended, the window going: no silence left behind for the next start.
    volume.OnEnd();
    ::SendMessageW(host.Window(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(audio.IsMuted(FakeAudioDevices::kSpeakers));
}

TEST(FeaturesTest, AScreenshotIsTakenOnTheWindowsTimerAfterTheMenuHasGoneOrSaysWhyNot)
{
    FakeFeatureHost host;
    CScreenshotFeature screenshot(host, host.Settings(), host);
    host.Start({&screenshot});
    const std::wstring folder = std::wstring(static_cast<const wchar_t*>(host.Folder())) + L"\\截图";
    WriteFileBytes(folder, ""); // a file where the folder would be made
    host.Choose(L"截图");
    EXPECT_TRUE(PumpUntil([&] { return !screenshot.NoticeText().IsEmpty(); }));
    EXPECT_EQ(host.noticeChanges, 1);
    ::DeleteFileW(folder.c_str());
    host.OpenMenu();
    EXPECT_TRUE(host.MenuState(L"打开截图文件夹") & MF_GRAYED) << "no folder yet";
    host.Choose(L"截图");
    EXPECT_TRUE(PumpUntil([&] { return FileNames(folder, L"*.png").size() == 1; }));
    EXPECT_TRUE(screenshot.NoticeText().IsEmpty());
    EXPECT_EQ(host.noticeChanges, 2);
    host.OpenMenu();
    EXPECT_FALSE(host.MenuState(L"打开截图文件夹") & MF_GRAYED);
}

TEST(FeaturesTest, TheBossKeyHidesWithItsMarkAndItsKeysBringTheWindowBackToTheGame)
{
    FakeAudioDevices audio;
    FakeFeatureHost host;
    CBossKeyFeature boss(host, host.Settings(), host.Mute(), host);
    host.Start({&boss});
    EXPECT_EQ(host.MenuText(L"老板键"), L"老板键 (Ctrl+Alt+H)");
    host.Choose(L"老板键");
    EXPECT_FALSE(::IsWindowVisible(host.Window()));
    EXPECT_TRUE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    EXPECT_EQ(host.SavedOptions(), "BossMute=1\r\n");
    ::SendMessageW(host.Window(), WM_HOTKEY, 2, MAKELPARAM(MOD_SHIFT, VK_F2)); // not its own
    EXPECT_FALSE(::IsWindowVisible(host.Window()));
    ::SendMessageW(host.Window(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'H')); // the keys again
    EXPECT_TRUE(::IsWindowVisible(host.Window()));
    EXPECT_FALSE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    EXPECT_EQ(host.gameFocused, 1) << "the keyboard goes back to the game";
    EXPECT_EQ(host.SavedOptions(), "") << "the mark is gone";
}

TEST(FeaturesTest, ALauncherStartedForAnotherAccountStandsBesideTheOneThatStartedIt)
{
    ::SetEnvironmentVariableW(L"ORLIMWEB_ANOTHER_ACCOUNT", L"30,40");
    FakeFeatureHost host;
    CAnotherAccountFeature account(host, host.Folder());
    host.Start({&account});
    RECT rc;
    ::GetWindowRect(host.Window(), &rc);
    EXPECT_EQ(rc.left, 30 + ::GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(rc.top, 40 + ::GetSystemMetrics(SM_CYCAPTION));
}

} // namespace
