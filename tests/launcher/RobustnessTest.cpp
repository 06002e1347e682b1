// Hours of play compressed: hundreds of auto-fit ticks with a game window
// that comes and goes, odd addresses typed into the box, and storms of keys
// and close requests. Nothing may leak, be lost or crash.

#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/GuiCounts.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace
{

const wchar_t kGameClass[] = L"MacromediaFlashPlayerActiveX";
const size_t kWorkingSetSlack = 1024 * 1024;

void ExpectNoGrowth(const GuiCounts& before, const GuiCounts& after)
{
    EXPECT_GT(before.gdiObjects, 0) << "GDI objects not counted";
    EXPECT_EQ(after.gdiObjects, before.gdiObjects) << "GDI objects";
    EXPECT_EQ(after.windows, before.windows) << "windows";
    EXPECT_LT(after.workingSet, before.workingSet + kWorkingSetSlack)
        << "working set grew from " << before.workingSet << " to " << after.workingSet;
}

using RobustnessTest = LauncherFixture;

HWND CreateFlash(HWND hParent, int x, int y, int cx, int cy)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kGameClass;
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, kGameClass, L"", WS_CHILD | WS_VISIBLE, x, y, cx, cy, hParent, nullptr, wc.hInstance,
                             nullptr);
}

TEST_F(RobustnessTest, SixHundredTicksWithAGameWindowThatComesAndGoes)
{
    LauncherWindow& launcher = *m_launcher;
    ::KillTimer(launcher.Hwnd(), 0); // the test gives the ticks itself
    const HWND hBrowser = launcher.Explorer();
    HWND hFlash = nullptr;
    GuiCounts baseline = {};
    const int kWarmUp = 60;
    const int kTicks = 600;

    for (int tick = 0; tick < kWarmUp + kTicks; ++tick)
    {
        if (tick == kWarmUp)
            baseline = GuiCounts::Now();
        // Between ticks the page changes its game area.
        const int offset = (tick * 37) % 200;
        switch (tick % 6)
        {
        case 0:
            hFlash = CreateFlash(hBrowser, offset, offset / 2, 1000 + offset, 600);
            break;
        case 1:
            ::SetWindowPos(hFlash, nullptr, offset / 3, offset, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            break;
        case 2:
            ::SetWindowPos(hFlash, nullptr, 0, 0, 1100, 750, SWP_NOMOVE | SWP_NOZORDER);
            break;
        case 3:
            ::SetWindowPos(hFlash, nullptr, 0, 0, 2500, 749, SWP_NOMOVE | SWP_NOZORDER);
            break;
        case 4:
            ::DestroyWindow(hFlash);
            hFlash = nullptr;
            break;
        default:
            break;
        }

        const RECT browser = WindowRect(hBrowser);
        const RECT pane = WindowRect(launcher.Pane());
        const RECT flash = hFlash ? WindowRect(hFlash) : RECT{};
        launcher.Tick();
        PumpPending();

        const RECT placed = RectInParent(hBrowser);
        if (hFlash)
        {
            const int dx = flash.left - browser.left;
            const int dy = flash.top - browser.top;
            const int width = std::clamp(Width(browser) - Width(flash) + 1100, 1100, 4400);
            const int height = dy + (Height(flash) == 750 ? 750 : 700);
            ASSERT_EQ(placed.left, -dx) << "tick " << tick;
            ASSERT_EQ(placed.top, -dy) << "tick " << tick;
            ASSERT_EQ(Width(placed), width) << "tick " << tick;
            ASSERT_EQ(Height(placed), height) << "tick " << tick;
            ASSERT_EQ(Width(WindowRect(launcher.Pane())), width) << "tick " << tick;
            const RECT client = ClientRect(launcher.Hwnd());
            ASSERT_EQ(Width(client), 1100) << "tick " << tick;
            ASSERT_EQ(Height(client), height + 27) << "tick " << tick;
        }
        else
        {
            ASSERT_EQ(placed.left, 0) << "tick " << tick;
            ASSERT_EQ(placed.top, 0) << "tick " << tick;
            ASSERT_EQ(Width(placed), Width(pane)) << "tick " << tick;
            ASSERT_EQ(Height(placed), Height(pane)) << "tick " << tick;
        }
    }
    ExpectNoGrowth(baseline, GuiCounts::Now());
}

// Types an address, presses the button, and starts the launcher again on
// the manual row: what comes back.
class TypedAddressTest : public RobustnessTest
{
protected:
    std::wstring EnterAndReadBack(const std::wstring& typed)
    {
        LauncherWindow& launcher = *m_launcher;
        launcher.ChooseRow(78);
        launcher.TypeUrl(typed);
        launcher.ClickEnter();
        EXPECT_EQ(Browser().Record().navigations.back(), launcher.UrlText()) << "not navigated as typed";
        m_launcher = std::make_unique<LauncherWindow>();
        EXPECT_EQ(Launcher().CurrentRow(), 78);
        return Launcher().UrlText();
    }
};

TEST_F(TypedAddressTest, OddButAnsiAddressesComeBackExactly)
{
    const std::wstring addresses[] = {
        L"javascript:alert(document.cookie)",
        L"file:///C:/windows/win.ini",
        L"file:C:\\Program Files\\game.html",
        L"   ",
        L" http://spaced.game.test/ ",
        L"\"quoted\"",
        L"'single'",
        L"http://a.test/?q=x;y=z#frag",
        L"[section]",
        L"Url=http://nested.test/",
    };
    for (const std::wstring& typed : addresses)
        EXPECT_EQ(EnterAndReadBack(typed), typed) << typed.size();
}

TEST_F(TypedAddressTest, HundredThousandCharactersAreNavigatedAndKeptWhole)
{
    // Pasted rather than typed: the box's limit on typing does not apply.
    const std::wstring typed = L"http://long.game.test/?" + std::wstring(100000 - 23, L'x');
    EXPECT_EQ(EnterAndReadBack(typed), typed);
}

TEST_F(TypedAddressTest, CharactersOutsideTheAnsiCodePageAreTheFilesLimit)
{
    // The address is opened exactly as typed; the settings file is ANSI
    // text, so characters its code page cannot hold come back as that code
    // page's replacement. The rest of the file is not touched.
    WriteFileBytes(IniPath(), "[other]\r\nkeep=1\r\n");
    const std::wstring typed = L"http://例子.test/路径?q=é&r=😀";
    char narrow[256] = {};
    ::WideCharToMultiByte(CP_ACP, 0, typed.c_str(), -1, narrow, sizeof(narrow), nullptr, nullptr);
    wchar_t expected[256] = {};
    ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, expected, 256);

    EXPECT_EQ(EnterAndReadBack(typed), expected);
    EXPECT_EQ(ReadFileBytes(IniPath()).rfind("[other]\r\nkeep=1\r\n", 0), 0u);
}

TEST_F(RobustnessTest, ThousandsOfEnterAndEscapeKeysChangeNothing)
{
    LauncherWindow& launcher = *m_launcher;
    launcher.ChooseRow(78);
    const size_t navigations = Browser().Record().navigations.size();
    const std::string settings = ReadFileBytes(IniPath());
    const HWND targets[] = {launcher.Hwnd(),
                            launcher.Item(IDC_PLATFORM_COMBO),
                            launcher.Item(IDC_URL_EDIT),
                            launcher.Item(IDC_ENTER_BUTTON),
                            launcher.Pane(),
                            launcher.Explorer()};
    GuiCounts before = {};
    for (int i = 0; i < 1060; ++i)
    {
        if (i == 60) // each control has had the focus and drawn itself by now
            before = GuiCounts::Now();
        const HWND hTarget = targets[i % 6];
        ::SetFocus(hTarget);
        PressKey(hTarget, VK_RETURN);
        PressKey(hTarget, VK_ESCAPE);
    }
    EXPECT_TRUE(::IsWindowVisible(launcher.Hwnd()));
    EXPECT_TRUE(::IsWindowVisible(launcher.Pane()));
    EXPECT_EQ(Browser().Record().navigations.size(), navigations);
    EXPECT_EQ(ReadFileBytes(IniPath()), settings);
    EXPECT_TRUE(Browser().Record().windowKeys.empty());
    ExpectNoGrowth(before, GuiCounts::Now());
}

// Answers every close question No, from inside the message box's loop.
struct NoToEverything
{
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        const HWND hBox = ::FindWindowW(L"#32770", L"退出提示");
        if (hBox && ::GetWindowThreadProcessId(hBox, nullptr) == ::GetCurrentThreadId())
        {
            ++s_answered;
            ::SendMessageW(::GetDlgItem(hBox, IDNO), BM_CLICK, 0, 0);
        }
    }
    static int s_answered;
};

int NoToEverything::s_answered = 0;

TEST_F(RobustnessTest, HundredCloseRequestsAnsweredNoKeepTheLauncher)
{
    const HWND hLauncher = Launcher().Hwnd();
    const HWND hPane = Launcher().Pane();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 1, &NoToEverything::OnTimer);
    ::SendMessageW(hLauncher, WM_CLOSE, 0, 0); // the first message box sets up what it caches
    const GuiCounts before = GuiCounts::Now();
    for (int i = 0; i < 100; ++i)
    {
        ::SendMessageW(hLauncher, WM_CLOSE, 0, 0);
        ::SendMessageW(hPane, WM_CLOSE, 0, 0);
    }
    ::KillTimer(nullptr, timer);
    PumpPending();
    EXPECT_EQ(NoToEverything::s_answered, 101);
    EXPECT_TRUE(::IsWindowVisible(hLauncher));
    EXPECT_TRUE(::IsWindowVisible(hPane));
    ExpectNoGrowth(before, GuiCounts::Now());
}

} // namespace
