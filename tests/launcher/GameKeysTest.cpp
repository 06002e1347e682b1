// The keys for what is done mid-game, pressed on the keyboard while the
// game's window has it, and the game alone on the screen.

#include "harness/FakeWebBrowser.h"
#include "harness/LauncherFixture.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/FakeTaskbar.h"
#include "harness/Pixels.h"
#include "harness/TempDir.h"

#include "launcher/services/Key.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace
{

const COLORREF kPaintedGame = RGB(10, 200, 30);

// The game's window, in front, with the keyboard.
HWND GameWithTheKeyboard(LauncherWindow& launcher)
{
    const HWND hGame = MakeFlashWindow(launcher.Explorer(), 12, 100, 1100, 700, kPaintedGame);
    ::SetForegroundWindow(launcher.Hwnd());
    ::SetFocus(hGame);
    PumpPending();
    return hGame;
}

TEST(KeyTest, AMidGameKeyLeavesTheMenuThePageAndTypingTheirKeys)
{
    const CKey keyDefault{0, VK_F9};
    for (const wchar_t* good : {L"F8", L"Ctrl+F1", L"Shift+F5", L"Ctrl+Shift+F12", L"Ctrl+Shift+M", L"Ctrl+Shift+3"})
        EXPECT_STREQ(CKey::GameKey(good, keyDefault).Format(), good);
    for (const wchar_t* bad : {L"", L"M", L"3", L"Shift+M", L"Ctrl+M", L"Alt+F8", L"F10", L"Shift+F10", L"F5",
                               L"Ctrl+F5", L"F11", L"Ctrl+F11", L"Win+F8"})
        EXPECT_STREQ(CKey::GameKey(bad, keyDefault).Format(), L"F9") << bad;
}

class GameKeysTest : public LauncherFixture
{
protected:
    GameKeysTest() : LauncherFixture(Setup().StartLater()) {}
};

TEST_F(GameKeysTest, KeysWorkWhileTheGameHasTheKeyboardOnceEachAndStandBesideTheirRows)
{
    WriteIni("[options]\r\nMuteKey=F8\r\n");
    Start();
    // The player's key for the mute was the screenshot's: the screenshot
    // goes without one.
    EXPECT_EQ(MenuText(L"静音"), L"静音\tF8");
    EXPECT_EQ(MenuText(L"截图"), L"截图");
    EXPECT_EQ(MenuText(L"全屏"), L"全屏\tF11");
    EXPECT_EQ(MenuText(L"清除缓存并刷新"), L"清除缓存并刷新\tCtrl+F5");

    GameWithTheKeyboard(Launcher());
    TypeKeys({VK_F8}, 1); // held: muted once, not twice
    EXPECT_TRUE(PumpUntil([&] { return Ini().find("Mute=1") != std::string::npos; }));
    PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(MenuState(L"静音") & MF_CHECKED);
    EXPECT_NE(Ini().find("Mute=1"), std::string::npos);
}

// A menu of the game's own is open: a timer presses the key, then closes it.
void CALLBACK PressThenCloseMenu(HWND, UINT, UINT_PTR nTimer, DWORD)
{
    static int s_nTick = 0;
    if (s_nTick++ == 0)
        TypeKeys({VK_F8});
    else
    {
        ::KillTimer(nullptr, nTimer);
        ::EndMenu();
    }
}

TEST_F(GameKeysTest, AKeyPressedWhileTheGamesOwnMenuIsOpenIsTheMenus)
{
    Start();
    const HWND hGame = GameWithTheKeyboard(Launcher());
    const HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenuW(hMenu, MF_STRING, 1, L"关于 Flash Player");
    ::SetTimer(nullptr, 0, 200, PressThenCloseMenu);
    ::TrackPopupMenu(hMenu, TPM_RETURNCMD, 100, 100, 0, hGame, nullptr);
    ::DestroyMenu(hMenu);
    PumpFor(300);
    EXPECT_TRUE(FileNames(m_dir.File(L"截图")).empty());
}

TEST_F(GameKeysTest, TheScreenshotsKeyTakesOneAndItsRowSaysWhich)
{
    // The boss key's, registered with the system, the mute's key would
    // never hear.
    WriteIni("[options]\r\nScreenshotKey=Ctrl+Shift+S\r\nBossKey=Ctrl+Shift+M\r\nMuteKey=Ctrl+Shift+M\r\n");
    Start();
    EXPECT_EQ(MenuText(L"截图"), L"截图\tCtrl+Shift+S");
    EXPECT_EQ(MenuText(L"静音"), L"静音");
    GameWithTheKeyboard(Launcher());
    TypeKeys({VK_CONTROL, VK_SHIFT, 'S'});
    EXPECT_TRUE(PumpUntil([&] { return FileNames(m_dir.File(L"截图")).size() == 1; }));
}

class FullScreenTest : public LauncherFixture
{
protected:
    FullScreenTest() : LauncherFixture(Setup().OnScreen(1600, 1200)) {}

    bool IsFullScreen() const
    {
        const RECT rc = WindowRect(Hwnd());
        return rc.left == 0 && rc.top == 0 && rc.right == 1600 && rc.bottom == 1200 &&
               !(::GetWindowLongW(Hwnd(), GWL_STYLE) & WS_CAPTION);
    }
};

TEST_F(FullScreenTest, F11ShowsTheGameAloneOnBlackUntilF11PutsTheWindowBackAsItWas)
{
    FakeTaskbar taskbar;
    const HWND hGame = GameWithTheKeyboard(Launcher());
    Launcher().Tick();
    const RECT before = WindowRect(Hwnd());

    TypeKeys({VK_F11});
    ASSERT_TRUE(PumpUntil([&] { return IsFullScreen(); }));
    EXPECT_EQ(taskbar.marks, (std::vector<std::pair<HWND, bool>>{{Hwnd(), true}})) << "the taskbar keeps away";
    // The largest step at which the game fits the screen: 1375 x 875.
    EXPECT_EQ(Browser().Record().zooms.back(), 125);
    EXPECT_FALSE(::IsWindowVisible(Launcher().Item(IDC_PLATFORM_COMBO)));
    ::SetWindowPos(hGame, nullptr, 0, 0, 1375, 875, SWP_NOMOVE | SWP_NOZORDER); // the page zoomed
    Launcher().Tick();                                                          // the fit stands aside
    EXPECT_TRUE(IsFullScreen());
    const RECT rcPane = RectInParent(Launcher().Pane());
    EXPECT_EQ(rcPane.left, (1600 - 1375) / 2);
    EXPECT_EQ(rcPane.top, (1200 - 875) / 2);
    const RECT rcGame = WindowRect(hGame);
    EXPECT_EQ(rcGame.left, rcPane.left);
    EXPECT_EQ(rcGame.top, rcPane.top);
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(ClientPixels(Hwnd(), {0, 0, 20, 20}).At(10, 10), RGB(0, 0, 0));
    EXPECT_EQ(::SendMessageW(Hwnd(), WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTCLIENT) << "the black drags nothing";

    // Moved by a screen that changed, it covers its monitor again.
    ::SetWindowPos(Hwnd(), nullptr, 100, 100, 800, 600, SWP_NOZORDER);
    ::SendMessageW(Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1600, 1200));
    EXPECT_TRUE(IsFullScreen());

    TypeKeys({VK_F11});
    ASSERT_TRUE(PumpUntil([&] { return !IsFullScreen(); }));
    const RECT after = WindowRect(Hwnd());
    EXPECT_TRUE(::EqualRect(&before, &after));
    EXPECT_TRUE(::IsWindowVisible(Launcher().Item(IDC_PLATFORM_COMBO)));
    EXPECT_EQ(Browser().Record().zooms.back(), 100);
    EXPECT_EQ(taskbar.marks.back(), std::make_pair(Hwnd(), false));

    // The boss key's round trip keeps it.
    Command(L"全屏");
    Command(L"老板键");
    ::SendMessageW(Hwnd(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'H'));
    EXPECT_TRUE(::IsWindowVisible(Hwnd()));
    EXPECT_TRUE(IsFullScreen());
}

TEST_F(FullScreenTest, ALauncherClosedFullScreenRemembersThePlaceItHadBefore)
{
    Command(L"记住窗口位置");
    ::SetWindowPos(Hwnd(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Command(L"全屏");
    ASSERT_TRUE(IsFullScreen());
    Launcher().Destroy();
    EXPECT_NE(Ini().find("Place=30,40"), std::string::npos) << Ini();
}

} // namespace
