// The boss key: what it holds is let go, only the player's choice of the
// icon brings the launcher back, and the launcher never hides where nothing
// could bring it back.

#include "harness/FakeAudioDevices.h"
#include "harness/LauncherFixture.h"
#include "harness/LauncherProcess.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"
#include "harness/TestHandles.h"

#include "framework/UniqueHotKey.h"
#include "launcher/services/BossMode.h"
#include "launcher/services/GameSound.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <atomic>
#include <initializer_list>
#include <thread>
#include <vector>

namespace
{

// A notification area that takes no icon, counting the tries.
int g_refusedAdds = 0;
UINT g_addFlags = 0;
BOOL WINAPI RefusingNotificationArea(DWORD dwMessage, PNOTIFYICONDATAW pnid)
{
    g_refusedAdds += dwMessage == NIM_ADD;
    g_addFlags = pnid->uFlags;
    return FALSE;
}

// A visible top-level window standing in for the launcher.
class BossModeTest : public ::testing::Test
{
protected:
    ~BossModeTest() override { ::DestroyWindow(m_hWnd); }

    FakeAudioDevices m_audio;
    CGameSound m_mute;
    HWND m_hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                                    nullptr, nullptr);
    CKey m_key = CKey::BossKey(L"Ctrl+Alt+H");
};

TEST_F(BossModeTest, KeysIconAndSilenceAreLetGoWithIt)
{
    {
        CBossMode boss(m_mute);
        boss.Attach(m_hWnd, m_key, 1);
        ASSERT_TRUE(boss.IsKeyRegistered());
        boss.HideAll();
        EXPECT_FALSE(::IsWindowVisible(m_hWnd));
        EXPECT_TRUE(IconShown(m_hWnd));
        EXPECT_TRUE(m_audio.IsMuted(FakeAudioDevices::kSpeakers));
    }
    EXPECT_FALSE(IconShown(m_hWnd));
    EXPECT_FALSE(m_audio.IsMuted(FakeAudioDevices::kSpeakers));
    UniqueHotKey again;
    EXPECT_TRUE(again.Register(nullptr, 9, MOD_CONTROL | MOD_ALT, 'H')) << "the keys are free again";
}

TEST_F(BossModeTest, OnlyChoosingTheIconBringsItBack)
{
    CBossMode boss(m_mute);
    boss.Attach(m_hWnd, m_key, 1);
    boss.HideAll();
    for (UINT nEvent : {UINT(WM_MOUSEMOVE), UINT(WM_LBUTTONDOWN), UINT(WM_LBUTTONUP), UINT(WM_RBUTTONUP),
                        UINT(WM_LBUTTONDBLCLK), UINT(WM_CONTEXTMENU), UINT(NIN_POPUPOPEN)})
        boss.OnIconNotify(MAKELPARAM(nEvent, 1));
    boss.OnIconNotify(MAKELPARAM(NIN_SELECT, 2)); // another icon's
    EXPECT_FALSE(::IsWindowVisible(m_hWnd));
    boss.OnIconNotify(MAKELPARAM(NIN_KEYSELECT, 1));
    EXPECT_TRUE(::IsWindowVisible(m_hWnd));
    boss.HideAll();
    boss.OnIconNotify(MAKELPARAM(NIN_SELECT, 1));
    EXPECT_TRUE(::IsWindowVisible(m_hWnd));
    EXPECT_FALSE(IconShown(m_hWnd));
}

// Windows brings a window to the front only when asked to: showing it is
// not enough (Wine's showing does it).
std::vector<HWND> g_broughtToFront;
BOOL WINAPI RecordingSetForeground(HWND hWnd)
{
    g_broughtToFront.push_back(hWnd);
    return ::SetForegroundWindow(hWnd);
}

TEST_F(BossModeTest, OnlyTheLauncherWhoseKeysWerePressedComesToTheFront)
{
    g_broughtToFront.clear();
    CBossMode boss(m_mute, ::Shell_NotifyIconW, RecordingSetForeground);
    boss.Attach(m_hWnd, m_key, 1);
    boss.HideAll();
    boss.OnTogether(CBossMode::Shown); // another launcher's keys
    EXPECT_TRUE(::IsWindowVisible(m_hWnd));
    EXPECT_EQ(g_broughtToFront, std::vector<HWND>{});
    boss.HideAll();
    boss.OnHotKey();
    EXPECT_EQ(g_broughtToFront, std::vector<HWND>{m_hWnd});
}

TEST_F(BossModeTest, TheIconIsDrawnAtTheNotificationAreasSize)
{
    const CNotifyIcon icon(m_hWnd, CBossMode::s_nIconMessage, ::Shell_NotifyIconW);
    EXPECT_TRUE(icon.IsShown());
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(icon.Icon(), &info));
    const UniqueGdiObject mask(info.hbmMask);
    const UniqueGdiObject colour(info.hbmColor);
    BITMAP bm = {};
    ::GetObjectW(info.hbmColor, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, ::GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(bm.bmHeight, ::GetSystemMetrics(SM_CYSMICON));
}

TEST_F(BossModeTest, WithoutIconOrKeysItDoesNotHide)
{
    UniqueHotKey taken;
    ASSERT_TRUE(taken.Register(nullptr, 7, MOD_CONTROL | MOD_ALT, 'H'));
    g_refusedAdds = 0;
    CBossMode boss(m_mute, RefusingNotificationArea);
    boss.Attach(m_hWnd, m_key, 1);
    EXPECT_FALSE(boss.IsKeyRegistered());
    boss.HideAll();
    EXPECT_TRUE(::IsWindowVisible(m_hWnd));
    EXPECT_EQ(g_refusedAdds, 2) << "tried once more";
    EXPECT_TRUE(g_addFlags & NIF_SHOWTIP) << "a version-4 icon's tip shows only so";
    EXPECT_FALSE(m_audio.IsMuted(FakeAudioDevices::kSpeakers));
}

// The player presses keys together (from any program), and lets them go.
void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (const bool bUp : {false, true})
        for (const WORD vk : keys)
        {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = vk;
            input.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(input);
        }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

using BossKeyLauncherTest = LauncherFixture;

TEST_F(BossKeyLauncherTest, ExplorerStartingAgainGetsTheIconBack)
{
    Command(L"老板键");
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = Hwnd();
    nid.uID = 1;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &nid)); // Explorer is gone with its icons
    ::SendMessageW(Hwnd(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IconShown(Hwnd()));
    EXPECT_FALSE(::IsWindowVisible(Hwnd()));
}

TEST_F(BossKeyLauncherTest, ItsOtherWindowsGoAndComeBackWithIt)
{
    // A page's alert, owned by the launcher; and another thread's window,
    // as another program's would be.
    const HWND hAlert = ::CreateWindowExW(0, L"STATIC", L"alert", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 300,
                                          150, Hwnd(), nullptr, nullptr, nullptr);
    const UniqueKernelHandle hDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<HWND> hOthers{nullptr};
    std::thread other([&] {
        hOthers = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                    nullptr, nullptr);
        const HANDLE hWait = hDone.Get();
        while (::MsgWaitForMultipleObjects(1, &hWait, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            PumpPending();
    });
    ASSERT_TRUE(PumpUntil([&] { return hOthers.load() != nullptr; }));
    Command(L"老板键");
    EXPECT_FALSE(::IsWindowVisible(hAlert));
    EXPECT_TRUE(::IsWindowVisible(hOthers)) << "not the launcher's";
    ::SetEvent(hDone.Get());
    other.join();
    ::SendMessageW(Hwnd(), CBossMode::s_nIconMessage, 0, MAKELPARAM(NIN_SELECT, 1));
    EXPECT_TRUE(::IsWindowVisible(hAlert));
    EXPECT_TRUE(::IsWindowVisible(Hwnd()));
    ::DestroyWindow(hAlert);
}

TEST_F(BossKeyLauncherTest, TheKeysBringItToTheFrontWithTheKeyboardOnTheGame)
{
    const HWND hGame = MakeFlashWindow(Launcher().Explorer(), 0, 0, 1100, 700);
    ::SetFocus(Launcher().Item(IDC_PLATFORM_COMBO));
    ::SendMessageW(Hwnd(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'H'));
    ASSERT_FALSE(::IsWindowVisible(Hwnd()));
    // The player works in another program meanwhile.
    const UniqueKernelHandle hDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<HWND> hOther{nullptr};
    std::thread other([&] {
        const HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                            nullptr, nullptr, nullptr);
        ::SetForegroundWindow(hWnd);
        hOther = hWnd;
        const HANDLE hWait = hDone.Get();
        while (::MsgWaitForMultipleObjects(1, &hWait, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            PumpPending();
        ::DestroyWindow(hWnd);
    });
    ASSERT_TRUE(PumpUntil([&] { return hOther.load() && ::GetForegroundWindow() == hOther.load(); }));
    ::SendMessageW(Hwnd(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'H'));
    EXPECT_EQ(::GetForegroundWindow(), Hwnd());
    EXPECT_EQ(::GetFocus(), hGame) << "what the player types goes to the game";
    ::SetEvent(hDone.Get());
    other.join();
}

TEST(BossKeyMinimisedTest, ALauncherStartedMinimisedTakesItsKeysAndSavesAllTheSame)
{
    const TempDir dir;
    FakeWebBrowserClass browser;
    const LauncherWindow launcher(true);
    PumpFor(300);
    UniqueHotKey same;
    EXPECT_FALSE(same.Register(nullptr, 9, MOD_CONTROL | MOD_ALT, 'H')) << "the launcher holds its keys";
    EXPECT_TRUE(FileExists(dir.File(L"UserVar.ini")));
}

TEST_F(BossKeyLauncherTest, WindowsEndingLeavesNoIconAndNoSilence)
{
    FakeAudioDevices audio;
    Command(L"老板键");
    ASSERT_TRUE(audio.IsMuted(FakeAudioDevices::kSpeakers));
    ::SendMessageW(Hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IconShown(Hwnd()));
    EXPECT_FALSE(audio.IsMuted(FakeAudioDevices::kSpeakers));
}

// What the launchers tell each other, as a window of another program hears it.
WPARAM g_news = ~WPARAM(0);
LRESULT CALLBACK HearNews(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CBossMode::s_nTogetherMessage)
        g_news = wParam;
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST_F(BossKeyLauncherTest, LaunchersOfSeveralAccountsHideAndShowTogether)
{
    ::CreateDirectoryW(m_dir.File(L"second").c_str(), nullptr);
    LauncherProcess second(m_dir.File(L"second"));
    const HWND hSecond = second.WaitForWindow();
    ASSERT_NE(hSecond, nullptr);
    // This launcher holds the keys; the second one only hears of them.
    ::SendMessageW(Hwnd(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'H'));
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(hSecond); }, 5000));
    EXPECT_FALSE(::IsWindowVisible(Hwnd()));
    ::SendMessageW(Hwnd(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'H'));
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(hSecond) != FALSE; }, 5000));
    DWORD_PTR dwResult = 0;
    ::SendMessageTimeoutW(hSecond, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &dwResult); // it has done all it does
    EXPECT_TRUE(::IsWindowVisible(Hwnd()));
    EXPECT_EQ(::GetForegroundWindow(), Hwnd()) << "only the launcher whose keys were pressed comes to the front";

    // This launcher ends, telling the others: the second one takes the
    // keys, and the player's press of them hides it.
    const HWND hHearing =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrW(hHearing, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HearNews));
    m_launcher.reset();
    EXPECT_TRUE(PumpUntil([] { return g_news == CBossMode::KeysFree; }, 3000));
    ::DestroyWindow(hHearing);
    EXPECT_TRUE(PumpUntil(
        [&] {
            PressKeys({VK_CONTROL, VK_MENU, 'H'});
            return PumpUntil([&] { return !::IsWindowVisible(hSecond); }, 300);
        },
        5000));
}

TEST(BossKeyHolderKilledTest, AnotherLauncherTakesTheKeysUnasked)
{
    const TempDir dir;
    for (const wchar_t* lpszName : {L"first", L"second"})
        ::CreateDirectoryW(dir.File(lpszName).c_str(), nullptr);
    LauncherProcess holder(dir.File(L"first"));
    ASSERT_NE(holder.WaitForWindow(), nullptr);
    LauncherProcess second(dir.File(L"second"));
    const HWND hSecond = second.WaitForWindow();
    ASSERT_NE(hSecond, nullptr);
    // The holder crashes: it tells no one, and no menu is opened.
    ::TerminateProcess(holder.Handle(), 1);
    ASSERT_NE(holder.WaitForExit(5000), DWORD(STILL_ACTIVE));
    EXPECT_TRUE(PumpUntil(
        [&] {
            PressKeys({VK_CONTROL, VK_MENU, 'H'});
            return PumpUntil([&] { return !::IsWindowVisible(hSecond); }, 300);
        },
        5000));
}

} // namespace
