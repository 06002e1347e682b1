// What players of game shells ask for: mute, screenshots of the game, the
// boss key, and being told when the Flash Player is missing.

#include "harness/LauncherFixture.h"
#include "harness/Pixels.h"
#include "harness/FakeWebBrowser.h"
#include "harness/FlashRegistration.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/ScopedEnvironment.h"
#include "harness/TempDir.h"
#include "harness/TestHandles.h"

#include "framework/ComPtr.h"
#include "framework/UniqueHotKey.h"
#include "launcher/services/AnotherAccount.h"
#include "launcher/services/Key.h"
#include "launcher/services/GameSound.h"
#include "launcher/services/FlashStatus.h"
#include "launcher/services/GameScreenshot.h"
#include "res/resource.h"

#include "launcher/services/BossMode.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <wincodec.h>

#include <string>
#include <utility>
#include <vector>

namespace
{

const COLORREF kScreenshotGame = RGB(10, 200, 30);

TEST(FlashStatusTest, RegistrationFileVersionAndKillBitDecide)
{
    EXPECT_EQ(CFlashStatus::Detect().state, CFlashStatus::State::NotRegistered);
    EXPECT_STREQ(CFlashStatus::Detect().MenuText(), L"Flash Player：未安装");
    EXPECT_STREQ(CFlashStatus::Detect().NoticeText(), L"未检测到可用的 Flash Player（ActiveX），游戏无法显示");
    struct Case
    {
        std::wstring path;
        bool bKillBit;
        CFlashStatus::State state;
        const wchar_t* lpszMenu;
    };
    const std::vector<Case> cases = {
        {L"C:\\windows\\system32\\Macromed\\Flash\\Flash.ocx", false, CFlashStatus::State::FileMissing,
         L"Flash Player：文件缺失"},
        {FlashRegistration::StandIn(L"32.0.0.344"), false, CFlashStatus::State::Usable, L"Flash Player 32.0.0.344"},
        {FlashRegistration::StandIn(L"32.0.0.371"), false, CFlashStatus::State::Uncertain,
         L"Flash Player 32.0.0.371（可能无法播放）"},
        {FlashRegistration::StandIn(L"32.0.0.387"), false, CFlashStatus::State::Expired,
         L"Flash Player 32.0.0.387：已停止播放"},
        {FlashRegistration::StandIn(L"32.0.0.445"), false, CFlashStatus::State::Expired,
         L"Flash Player 32.0.0.445：已停止播放"},
        {FlashRegistration::StandIn(L"34.0.0.384"), false, CFlashStatus::State::Usable, L"Flash Player 34.0.0.384"},
        {FlashRegistration::StandIn(L"34.0.0.384"), true, CFlashStatus::State::Disabled,
         L"Flash Player 34.0.0.384：已被系统禁用"},
    };
    for (const Case& c : cases)
    {
        FlashRegistration registration(c.path, c.bKillBit);
        const CFlashStatus status = CFlashStatus::Detect();
        EXPECT_EQ(status.state, c.state) << std::string(c.path.begin(), c.path.end());
        EXPECT_STREQ(status.MenuText(), c.lpszMenu);
        EXPECT_EQ(status.NoticeText().IsEmpty(),
                  c.state == CFlashStatus::State::Usable || c.state == CFlashStatus::State::Uncertain);
    }
}

TEST(BossKeyTest, ReadsModifiersAndOneKeyElseTheDefault)
{
    EXPECT_STREQ(CKey::BossKey(L"Ctrl+Shift+F5").Format(), L"Ctrl+Shift+F5");
    EXPECT_EQ(CKey::BossKey(L"Alt+q").nVirtKey, static_cast<UINT>('Q'));
    EXPECT_STREQ(CKey::BossKey(L"Alt+F11").Format(), L"Alt+F11");
    // Keys that would take typing from other programs, and keys Windows keeps.
    for (const wchar_t* bad :
         {L"", L"H", L"Ctrl+", L"Ctrl+Ctrl+H", L"Win+H", L"Ctrl+F13", L"Ctrl+F05", L"Ctrl+HH", L"Ctrl+1", L"ctrl+H",
          L"Shift+A", L"F5", L"Alt+F4", L"Shift+Alt+F4", L"F12", L"Ctrl+Alt+F12"})
        EXPECT_STREQ(CKey::BossKey(bad).Format(), L"Ctrl+Alt+H") << bad;
}

class PlayerFeaturesTest : public LauncherFixture
{
protected:
    bool IconShown() { return ::IconShown(Hwnd()); }
};

TEST_F(PlayerFeaturesTest, ScreenshotIsThePaintedGameAreaAsAPng)
{
    ::KillTimer(Launcher().Hwnd(), 0); // the game stays where the test put it
    const HWND hGame = MakeFlashWindow(Launcher().Explorer(), 12, 100, 1000, 600, kScreenshotGame);
    ::RedrawWindow(Launcher().Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Command(L"截图");

    ASSERT_TRUE(PumpUntil([&] { return FileNames(m_dir.File(L"截图")).size() == 1; }));
    const std::vector<std::wstring> files = FileNames(m_dir.File(L"截图"));
    EXPECT_EQ(files[0].substr(0, 6), L"Orlim-");
    ComPtr<IWICImagingFactory> pFactory;
    ComPtr<IWICBitmapDecoder> pDecoder;
    ComPtr<IWICBitmapFrameDecode> pFrame;
    ASSERT_EQ(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                 pFactory.PutVoid()),
              S_OK);
    ASSERT_EQ(pFactory->CreateDecoderFromFilename(m_dir.File(L"截图\\" + files[0]).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnLoad, pDecoder.Put()),
              S_OK);
    ASSERT_EQ(pDecoder->GetFrame(0, pFrame.Put()), S_OK);
    UINT cx = 0;
    UINT cy = 0;
    pFrame->GetSize(&cx, &cy);
    EXPECT_EQ(cx, 1000u);
    EXPECT_EQ(cy, 600u);
    ComPtr<IWICFormatConverter> pConverter;
    ASSERT_EQ(pFactory->CreateFormatConverter(pConverter.Put()), S_OK);
    ASSERT_EQ(pConverter->Initialize(pFrame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom),
              S_OK);
    BYTE pixel[4] = {};
    const WICRect middle = {500, 300, 1, 1};
    ASSERT_EQ(pConverter->CopyPixels(&middle, 4, 4, pixel), S_OK);
    EXPECT_EQ(RGB(pixel[2], pixel[1], pixel[0]), kScreenshotGame);
    ::DestroyWindow(hGame);
}

TEST_F(PlayerFeaturesTest, ScreenshotIntoAnUnwritableFolderLeavesNothing)
{
    WriteFileBytes(m_dir.File(L"截图"), "a file where the folder would be");
    Command(L"截图");
    for (int step = 0; step < 2; ++step) // the screenshot's timer, at once
        ::SendMessageW(Launcher().Hwnd(), WM_TIMER, 1, 0);
    EXPECT_EQ(FileNames(m_dir.Path()).size(), 2u); // the settings file and that file
    EXPECT_EQ(VisibleThreadWindows(), 1) << "a message box came up";
}

// A folder the player cannot make files in (here, a folder stands where the
// launcher tries): the screenshots go beside the settings, in the player's
// VirtualStore.
class ScreenshotPlaceTest : public LauncherFixture
{
protected:
    ScreenshotPlaceTest() : LauncherFixture(Setup().StartLater()) {}
};

TEST_F(ScreenshotPlaceTest, InAFolderThePlayerCannotWriteTheyGoBesideTheSettings)
{
    ::CreateDirectoryW(m_dir.File(L"UserVar.ini." + std::to_wstring(::GetCurrentProcessId()) + L".tmp").c_str(),
                       nullptr);
    const ScopedEnvironment local(L"LOCALAPPDATA", m_dir.File(L"Local"));
    Start();
    const std::wstring store = m_dir.File(L"Local\\VirtualStore\\") + m_dir.Path()[0] + m_dir.Path().substr(2);
    Command(L"截图");
    EXPECT_TRUE(PumpUntil([&] { return FileNames(store + L"\\截图").size() == 1; })) << "not beside the settings";
    EXPECT_TRUE(FileNames(m_dir.File(L"截图")).empty());
}

TEST_F(PlayerFeaturesTest, BossKeyHidesTheLauncherAndBringsItBackAsItWas)
{
    const RECT before = WindowRect(Launcher().Hwnd());
    const auto pressChord = [] { TypeKeys({VK_CONTROL, VK_MENU, 'H'}); };
    EXPECT_EQ(MenuText(L"老板键"), L"老板键 (Ctrl+Alt+H)");
    pressChord();
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(Launcher().Hwnd()); }, 3000));
    EXPECT_TRUE(IconShown());
    pressChord();
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(Launcher().Hwnd()) != FALSE; }, 3000));
    EXPECT_FALSE(IconShown());
    const RECT after = WindowRect(Launcher().Hwnd());
    EXPECT_TRUE(::EqualRect(&before, &after));
}

// Run twice: with the test run's null playback device, and (a test of its
// own, see tests/CMakeLists.txt) with none.
TEST_F(PlayerFeaturesTest, MuteFollowsThePlaybackDevice)
{
    const HMENU hSysMenu = ::GetSystemMenu(Launcher().Hwnd(), FALSE);
    ::SendMessageW(Launcher().Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hSysMenu), MAKELPARAM(0, TRUE));
    CGameSound mute;
    mute.Refresh();
    const bool bDevice = !mute.IsKnownUnavailable();
    EXPECT_EQ((MenuState(L"静音") & MF_GRAYED) != 0, !bDevice);
    Command(L"静音");
    EXPECT_EQ((MenuState(L"静音") & MF_CHECKED) != 0, bDevice);
    const std::string ini = ReadFileBytes(m_dir.File(L"UserVar.ini"));
    if (bDevice)
        EXPECT_NE(ini.find("[options]\r\nMute=1\r\n"), std::string::npos);
    else
        EXPECT_EQ(ini.find("[options]"), std::string::npos) << "nothing to remember without a device";
}

TEST(AudioMuteTest, SessionMuteReadsBackWhatWasSet)
{
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CGameSound mute;
    mute.Refresh();
    if (mute.IsKnownUnavailable())
        GTEST_SKIP() << "no playback device in this run";
    EXPECT_TRUE(mute.SetPlayerMute(true));
    mute.Refresh();
    EXPECT_TRUE(mute.IsPlayerMuted());
    EXPECT_TRUE(mute.SetPlayerMute(false));
    mute.Refresh();
    EXPECT_FALSE(mute.IsPlayerMuted());
    if (SUCCEEDED(hr))
        ::CoUninitialize();
}

TEST_F(PlayerFeaturesTest, MissingFlashIsToldOnTheStripAndTheStripStillDrags)
{
    const auto [white, bEndsBlue] = StripNoticeOf(Launcher().Hwnd());
    EXPECT_GT(white, 50);
    EXPECT_TRUE(bEndsBlue);
    RECT rcCheck = WindowRect(::GetDlgItem(Launcher().Hwnd(), IDC_AUTOFIT_CHECK));
    const LPARAM pt = MAKELPARAM(rcCheck.right + 40, (rcCheck.top + rcCheck.bottom) / 2);
    EXPECT_EQ(::SendMessageW(Launcher().Hwnd(), WM_NCHITTEST, 0, pt), HTCAPTION);
}

TEST_F(PlayerFeaturesTest, TheNoticeIsPaintedAnewAtEveryWidth)
{
    // Narrowed as a fit at 70 % narrows it; nothing else repaints the strip.
    ::SetWindowPos(Launcher().Hwnd(), nullptr, 0, 0, 770, 552, SWP_NOMOVE | SWP_NOZORDER);
    PumpPending();
    const auto strip = [&] { return ClientPixels(Hwnd(), RECT{0, 0, Width(ClientRect(Hwnd())), 25}).All(); };
    const std::vector<COLORREF> shown = strip();
    ::RedrawWindow(Launcher().Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(shown == strip()) << "the strip showed the notice cut where the wider strip had cut it";
}

class FlashNoticeTest : public LauncherFixture
{
protected:
    FlashNoticeTest() : LauncherFixture(Setup().StartLater()) {}
};

TEST_F(FlashNoticeTest, UsableFlashLeavesTheStripAsItWas)
{
    FlashRegistration registration(FlashRegistration::StandIn(L"34.0.0.384"), false);
    const auto [white, bEndsBlue] = StripNoticeOf(Start().Hwnd());
    EXPECT_EQ(white, 0);
    EXPECT_TRUE(bEndsBlue);
}

// The browser's process-wide option as Windows takes it (Wine's takes the
// cookie option and does nothing).
std::vector<std::pair<DWORD, DWORD>> g_options;
BOOL WINAPI RecordOption(HINTERNET, DWORD dwOption, LPVOID pBuffer, DWORD cb)
{
    g_options.emplace_back(dwOption, cb == sizeof(DWORD) ? *static_cast<DWORD*>(pBuffer) : 0);
    return TRUE;
}

class AnotherAccountTest : public LauncherFixture
{
protected:
    AnotherAccountTest() : LauncherFixture(Setup().StartLater()) { CAnotherAccount::s_pfnSetOption = RecordOption; }
    ~AnotherAccountTest() override { CAnotherAccount::s_pfnSetOption = ::InternetSetOptionW; }
};

TEST_F(AnotherAccountTest, OneStartedAsAnotherAccountKeepsItsCookiesAndPassesItsMarkToNothing)
{
    g_options.clear();
    Start();
    EXPECT_TRUE(g_options.empty()) << "a launcher of its own asks nothing new";
    ::SetEnvironmentVariableW(L"ORLIMWEB_ANOTHER_ACCOUNT", L"40,50");
    Start();
    EXPECT_EQ(g_options, (std::vector<std::pair<DWORD, DWORD>>{{INTERNET_OPTION_SUPPRESS_BEHAVIOR, 3}}));
    EXPECT_EQ(::GetEnvironmentVariableW(L"ORLIMWEB_ANOTHER_ACCOUNT", nullptr, 0), 0u)
        << "what it starts would take it for another account too";
    EXPECT_EQ(WindowRect(Hwnd()).left, 40 + ::GetSystemMetrics(SM_CYCAPTION));
}

class BossKeyTakenTest : public LauncherFixture
{
protected:
    BossKeyTakenTest() : LauncherFixture(Setup().StartLater()) {}
};

TEST_F(BossKeyTakenTest, TheMenuSaysSoAndStillHides)
{
    UniqueHotKey taken;
    ASSERT_TRUE(taken.Register(nullptr, 7, MOD_CONTROL | MOD_ALT, 'H'));
    LauncherWindow& launcher = Start();
    EXPECT_EQ(MenuText(L"老板键"), L"老板键 (Ctrl+Alt+H)（已被占用）");
    Command(L"老板键");
    EXPECT_FALSE(::IsWindowVisible(launcher.Hwnd()));
    // A click on the notification-area icon brings it back.
    ::SendMessageW(launcher.Hwnd(), CBossMode::s_nIconMessage, 0, MAKELPARAM(NIN_SELECT, 1));
    EXPECT_TRUE(::IsWindowVisible(launcher.Hwnd()));
    // The other program ends (killed: it tells no one): the menu takes the
    // keys when it opens.
    taken.Reset();
    OpenMenu();
    EXPECT_EQ(MenuText(L"老板键"), L"老板键 (Ctrl+Alt+H)");
}

} // namespace
