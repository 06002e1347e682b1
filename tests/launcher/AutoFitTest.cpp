// The auto-fit: once a second the launcher looks for the game's Flash window
// inside the browser and fits itself to it. The tests build real window
// trees under the browser control's window and read the real geometry back.

#include "harness/MenuItems.h"
#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/ProxySetting.h"
#include "harness/RecordingProxy.h"
#include "harness/TempDir.h"

#include "harness/TestHandles.h"
#include "launcher/services/OnScreen.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <ostream>
#include <string>
#include <vector>

// RECT lives in the global namespace: so must what compares and prints it.
static void PrintTo(const RECT& rc, std::ostream* os)
{
    *os << "(" << rc.left << "," << rc.top << ")-(" << rc.right << "," << rc.bottom << ")";
}

static bool operator==(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

namespace
{

const wchar_t kFlashClass[] = L"MacromediaFlashPlayerActiveX";

RECT Rect(int x, int y, int cx, int cy)
{
    return RECT{x, y, x + cx, y + cy};
}

// Windows of chosen classes, placed under a parent in creation order (the
// order in which the launcher walks them).
class WindowTree
{
public:
    ~WindowTree()
    {
        for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it)
            ::DestroyWindow(*it);
        for (const std::wstring& cls : m_classes)
            ::UnregisterClassW(cls.c_str(), ::GetModuleHandleW(nullptr));
    }

    HWND Add(HWND hParent, const std::wstring& cls, int x, int y, int cx, int cy)
    {
        WNDCLASSW wc = {};
        if (!::GetClassInfoW(::GetModuleHandleW(nullptr), cls.c_str(), &wc))
        {
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = cls.c_str();
            if (::RegisterClassW(&wc))
                m_classes.push_back(cls);
        }
        const DWORD style = (hParent ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
        const HWND hWnd = ::CreateWindowExW(0, cls.c_str(), L"", style, x, y, cx, cy, hParent, nullptr,
                                            ::GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(hWnd, nullptr);
        ::SetWindowPos(hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_windows.push_back(hWnd);
        return hWnd;
    }

    void Remove(HWND hWnd)
    {
        ::DestroyWindow(hWnd);
        m_windows.erase(std::find(m_windows.begin(), m_windows.end(), hWnd));
    }

private:
    std::vector<HWND> m_windows;
    std::vector<std::wstring> m_classes;
};

// Counts the placement requests that reach one window.
class PlacementCounter
{
public:
    explicit PlacementCounter(HWND hWnd)
        : m_hook(::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId()))
    {
        s_hWnd = hWnd;
        s_count = 0;
    }
    int Count() const { return s_count; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && msg->hwnd == s_hWnd && msg->message == WM_WINDOWPOSCHANGING)
        {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(msg->lParam);
            if ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
                ++s_count;
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    UniqueHook m_hook;
    static HWND s_hWnd;
    static int s_count;
};

HWND PlacementCounter::s_hWnd = nullptr;
int PlacementCounter::s_count = 0;

class AutoFitTest : public LauncherFixture
{
protected:
    HWND Pane() const { return m_launcher->Pane(); }
    HWND Explorer() const { return m_launcher->Explorer(); }

    // The browser's place in the pane, the pane's size and the launcher's
    // client size after a tick.
    void ExpectFitted(int dx, int dy, int width, int gameHeight)
    {
        EXPECT_EQ(RectInParent(Explorer()), Rect(-dx, -dy, width, dy + gameHeight));
        EXPECT_EQ(RectInParent(Pane()), Rect(0, 25, width, dy + gameHeight));
        EXPECT_EQ(ClientRect(Hwnd()), Rect(0, 0, 1100, dy + gameHeight + 27));
    }

    WindowTree m_tree;
};

TEST_F(AutoFitTest, FitsTheLauncherToTheGameArea)
{
    // The control at the pane's origin, 1124 x 697; the game 1000 x 600,
    // 12 right of and 100 below the control's corner.
    ::SetWindowPos(Explorer(), nullptr, 0, 0, 1124, 697, SWP_NOZORDER);
    m_tree.Add(Explorer(), kFlashClass, 12, 100, 1000, 600);
    const RECT before = WindowRect(Hwnd());
    Launcher().Tick();
    EXPECT_EQ(RectInParent(Explorer()), Rect(-12, -100, 1224, 800));
    EXPECT_EQ(RectInParent(Pane()), Rect(0, 25, 1224, 800));
    EXPECT_EQ(ClientRect(Hwnd()), Rect(0, 0, 1100, 827));
    const RECT after = WindowRect(Hwnd());
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
}

TEST_F(AutoFitTest, NarrowFlashWindowIsPassedOverButItsChildrenAreSearched)
{
    const HWND hNarrow = m_tree.Add(Explorer(), kFlashClass, 0, 0, 994, 700);
    m_tree.Add(hNarrow, kFlashClass, 20, 40, 995, 500); // browser offset (20, 40)
    const int width = Width(WindowRect(Explorer()));
    Launcher().Tick();
    ExpectFitted(20, 40, width - 995 + 1100, 700);
}

TEST_F(AutoFitTest, OnlyTheExactClassNameCounts)
{
    m_tree.Add(Explorer(), L"MacromediaFlashPlayerActiveX2", 0, 0, 1000, 600);
    m_tree.Add(Explorer(), L"XMacromediaFlashPlayerActiveX", 0, 0, 1000, 600);
    m_tree.Add(Explorer(), L"MacromediaFlashPlayerActive", 0, 0, 1000, 600);
    const RECT launcher = WindowRect(Hwnd());
    Launcher().Tick();
    EXPECT_EQ(RectInParent(Explorer()), ClientRect(Pane())); // nothing found: the browser fills the pane
    EXPECT_EQ(WindowRect(Hwnd()), launcher);
}

TEST_F(AutoFitTest, ClassInOtherLettersIsNotTheFlashWindow)
{
    // Only this spelling is registered in this process: class names are
    // compared without regard to case when they are registered.
    m_tree.Add(Explorer(), L"macromediaflashplayeractivex", 0, 0, 1000, 600);
    const RECT launcher = WindowRect(Hwnd());
    Launcher().Tick();
    EXPECT_EQ(WindowRect(Hwnd()), launcher);
}

TEST_F(AutoFitTest, FirstWindowInTheWalkWins)
{
    // Each window is tested before its children, siblings in order: a
    // qualifying descendant of an earlier sibling beats a later sibling.
    const HWND hFirst = m_tree.Add(Explorer(), L"PageFrame", 0, 0, 1100, 700);
    m_tree.Add(hFirst, kFlashClass, 10, 20, 1000, 600);
    m_tree.Add(Explorer(), kFlashClass, 30, 40, 1000, 750);
    const int width = Width(WindowRect(Explorer()));
    Launcher().Tick();
    ExpectFitted(10, 20, width + 100, 700);
}

// Whether hAbove comes before hBelow among the top-level windows.
bool IsAbove(HWND hAbove, HWND hBelow)
{
    for (HWND h = ::GetWindow(hAbove, GW_HWNDNEXT); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (h == hBelow)
            return true;
    return false;
}

TEST_F(AutoFitTest, FitLeavesTheWindowThePlayerUsesActiveAndInFront)
{
    const HWND hChat = m_tree.Add(nullptr, L"ChatWindow", 0, 0, 300, 200);
    ::SetWindowPos(hChat, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_EQ(::GetActiveWindow(), hChat);
    ASSERT_TRUE(IsAbove(hChat, Hwnd()));
    m_tree.Add(Explorer(), kFlashClass, 12, 100, 1000, 600);
    Launcher().Tick();
    Launcher().Tick();
    EXPECT_EQ(ClientRect(Hwnd()), Rect(0, 0, 1100, 827)); // fitted all the same
    EXPECT_EQ(::GetActiveWindow(), hChat);
    EXPECT_TRUE(IsAbove(hChat, Hwnd()));
}

TEST_F(AutoFitTest, MinimisedLauncherIsLeftAloneUntilRestored)
{
    ::ShowWindow(Hwnd(), SW_MINIMIZE);
    const HWND hChat = m_tree.Add(nullptr, L"ChatWindow", 0, 0, 300, 200);
    ::SetActiveWindow(hChat);
    m_tree.Add(Explorer(), kFlashClass, 12, 100, 1000, 600);
    {
        PlacementCounter placements(Hwnd());
        for (int i = 0; i < 3; ++i)
            Launcher().Tick();
        EXPECT_EQ(placements.Count(), 0);
    }
    EXPECT_TRUE(::IsIconic(Hwnd()));
    EXPECT_EQ(::GetActiveWindow(), hChat);

    ::ShowWindow(Hwnd(), SW_RESTORE);
    Launcher().Tick();
    EXPECT_EQ(ClientRect(Hwnd()), Rect(0, 0, 1100, 827));
}

TEST_F(AutoFitTest, ZoomedGameGetsAZoomedFit)
{
    ::SendMessageW(Hwnd(), WM_SYSCOMMAND, MenuCommand(Hwnd(), L"80%"), 0);
    // At 80 % a 750-high game is 600 high, give or take a pixel; 796 wide
    // (995 at 80 %) is wide enough to be the game.
    m_tree.Add(Explorer(), kFlashClass, 12, 100, 796, 601);
    const int width = Width(WindowRect(Explorer()));
    Launcher().Tick();
    EXPECT_EQ(RectInParent(Explorer()), Rect(-12, -100, std::max(880, width - 796 + 880), 700));
    EXPECT_EQ(ClientRect(Hwnd()), Rect(0, 0, 880, 727));
}

TEST_F(AutoFitTest, AutomaticZoomIsTheLargestThatFitsTheScreenChosenOncePerGame)
{
    // A game 300 below the page's top: fitted, the launcher is about 1,100
    // high, but what must be seen of it (the strip, the game, the margin)
    // fits this 1024-high screen at 100 %; the band below hangs past it.
    ::SendMessageW(Hwnd(), WM_SYSCOMMAND, MenuCommand(Hwnd(), L"自动适应屏幕"), 0);
    const HWND hFlash = m_tree.Add(Explorer(), kFlashClass, 0, 300, 1000, 750);
    Launcher().Tick();
    Launcher().Tick();
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{});
    EXPECT_EQ(ClientRect(Hwnd()), Rect(0, 0, 1100, 300 + 750 + 27));
    EXPECT_EQ(WindowRect(Hwnd()).top, 0);
    EXPECT_LE(WindowRect(hFlash).bottom, 1024);
}

TEST_F(AutoFitTest, LauncherReachingPastTheScreenIsMovedBackOntoIt)
{
    // 1280 x 1024 here: moved left and up just enough.
    ::SetWindowPos(Hwnd(), nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Launcher().ClickAutoFit(); // off: the base layout
    EXPECT_EQ(WindowRect(Hwnd()), Rect(1280 - 1148, 1024 - 750, 1148, 750));

    ::SetWindowPos(Hwnd(), nullptr, 20, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Launcher().ClickAutoFit(); // on again; this one fits where it stands
    Launcher().ClickAutoFit();
    EXPECT_EQ(WindowRect(Hwnd()), Rect(20, 40, 1148, 750));
}

TEST(OnScreenPositionTest, MovesLeftAndUpJustEnoughButNeverPastTheTopLeft)
{
    const RECT laptop = {0, 0, 1366, 728};
    const RECT scaled = {0, 0, 1280, 680};
    const RECT large = {0, 0, 2560, 1400};
    const auto at = [](const RECT& window, const RECT& work) {
        const POINT pt = OnScreenPosition(window, window, work);
        return std::make_pair(pt.x, pt.y);
    };
    // Windows 10's invisible sizing border, 7 px left, right and below the
    // visible edges: those go to the work area's edges.
    const auto atVisible = [](const RECT& window, const RECT& work) {
        const RECT visible = {window.left + 7, window.top, window.right - 7, window.bottom - 7};
        const POINT pt = OnScreenPosition(window, visible, work);
        return std::make_pair(pt.x, pt.y);
    };
    EXPECT_EQ(atVisible(Rect(300, 10, 1148, 700), laptop), std::make_pair(225L, 10L));
    EXPECT_EQ(atVisible(Rect(-7, 0, 1148, 750), laptop), std::make_pair(-7L, 0L));
    EXPECT_EQ(atVisible(Rect(200, 100, 1116, 600), scaled), std::make_pair(171L, 87L));
    EXPECT_EQ(at(Rect(109, 0, 1148, 750), laptop), std::make_pair(109L, 0L)); // too tall: the caption stays
    EXPECT_EQ(at(Rect(300, 10, 1148, 700), laptop), std::make_pair(218L, 10L));
    EXPECT_EQ(at(Rect(200, 100, 1116, 600), scaled), std::make_pair(164L, 80L));
    EXPECT_EQ(at(Rect(66, 0, 1148, 750), scaled), std::make_pair(66L, 0L));
    EXPECT_EQ(at(Rect(-50, -20, 1148, 750), laptop), std::make_pair(-50L, -20L)); // past the top left already
    EXPECT_EQ(at(Rect(706, 325, 1148, 750), large), std::make_pair(706L, 325L));
    EXPECT_EQ(at(Rect(1500, 700, 1116, 904), large), std::make_pair(1444L, 496L));
}

struct GameHeight
{
    int flashHeight;
    int gameHeight;
};

class GameHeightTest : public AutoFitTest, public ::testing::WithParamInterface<GameHeight>
{
};

TEST_P(GameHeightTest, OnlyAFlashWindowOfExactly750GetsTheTallGameArea)
{
    // At the very top of the browser: dy = 0.
    m_tree.Add(Explorer(), kFlashClass, 0, 0, 1000, GetParam().flashHeight);
    Launcher().Tick();
    EXPECT_EQ(ClientRect(Hwnd()), Rect(0, 0, 1100, GetParam().gameHeight + 27));
}

INSTANTIATE_TEST_SUITE_P(Heights, GameHeightTest,
                         ::testing::Values(GameHeight{750, 750}, GameHeight{749, 700}, GameHeight{751, 700},
                                           GameHeight{700, 700}),
                         [](const auto& testParam) { return "Flash" + std::to_string(testParam.param.flashHeight); });

TEST_F(AutoFitTest, FittedWindowStaysPutOnLaterTicks)
{
    const HWND hFlash = m_tree.Add(Explorer(), kFlashClass, 12, 100, 1000, 600);
    Launcher().Tick();
    // The page sizes its game area with the browser: 1100 wide now.
    ::SetWindowPos(hFlash, nullptr, 0, 0, 1100, 600, SWP_NOMOVE | SWP_NOZORDER);
    Launcher().Tick();
    const RECT browser = RectInParent(Explorer());
    const RECT pane = RectInParent(Pane());
    const RECT launcher = WindowRect(Hwnd());

    PlacementCounter launcherPlacements(Hwnd());
    for (int i = 0; i < 5; ++i)
        Launcher().Tick();
    EXPECT_EQ(RectInParent(Explorer()), browser);
    EXPECT_EQ(RectInParent(Pane()), pane);
    EXPECT_EQ(WindowRect(Hwnd()), launcher);
    EXPECT_EQ(launcherPlacements.Count(), 0) << "the launcher was resized to the size it had";
    ExpectFitted(12, 100, Width(browser), 700);
}

TEST_F(AutoFitTest, WithoutFlashTheBrowserGoesBackToThePaneOnly)
{
    const HWND hFlash = m_tree.Add(Explorer(), kFlashClass, 12, 100, 1000, 600);
    Launcher().Tick();
    const RECT pane = RectInParent(Pane());
    const RECT launcher = WindowRect(Hwnd());
    m_tree.Remove(hFlash);
    Launcher().Tick();
    EXPECT_EQ(RectInParent(Explorer()), Rect(0, 0, Width(pane), Height(pane)));
    EXPECT_EQ(RectInParent(Pane()), pane);
    EXPECT_EQ(WindowRect(Hwnd()), launcher);
}

TEST_F(AutoFitTest, UntickingRestoresTheBaseLayoutAtOnceAndTickingWaits)
{
    m_tree.Add(Explorer(), kFlashClass, 12, 100, 1000, 600);
    Launcher().Tick();
    ASSERT_EQ(ClientRect(Hwnd()), Rect(0, 0, 1100, 827));

    Launcher().ClickAutoFit();
    EXPECT_FALSE(Launcher().AutoFitChecked());
    EXPECT_EQ(Width(WindowRect(Hwnd())), 1148);
    EXPECT_EQ(Height(WindowRect(Hwnd())), 750);
    const RECT client = ClientRect(Hwnd());
    EXPECT_EQ(RectInParent(Pane()), Rect(0, 25, Width(client), Height(client) - 25));
    EXPECT_EQ(RectInParent(Explorer()), Rect(0, 0, Width(client), Height(client) - 25));
    EXPECT_TRUE(::IsWindowVisible(Pane()));
    EXPECT_FALSE(::KillTimer(Hwnd(), 0)) << "the timer still runs";

    Launcher().ClickAutoFit();
    EXPECT_TRUE(Launcher().AutoFitChecked());
    EXPECT_EQ(Width(WindowRect(Hwnd())), 1148) << "ticking the box fitted at once";
    EXPECT_EQ(RectInParent(Explorer()), Rect(0, 0, Width(client), Height(client) - 25));
    EXPECT_TRUE(::KillTimer(Hwnd(), 0)) << "the timer was not started";
}

TEST_F(AutoFitTest, TheTimerFitsTheLauncherBySelf)
{
    m_tree.Add(Explorer(), kFlashClass, 0, 50, 1000, 600);
    EXPECT_TRUE(PumpUntil([&] { return ClientRect(Hwnd()) == Rect(0, 0, 1100, 777); }, 5000));
}

TEST_F(AutoFitTest, FixedWidthFlashWindowStopsAtTheWidthLimits)
{
    // A Flash window whose width never follows the browser's.
    const HWND hFlash = m_tree.Add(Explorer(), kFlashClass, 0, 0, 1000, 600);
    for (int i = 0; i < 50; ++i)
        Launcher().Tick();
    EXPECT_EQ(Width(WindowRect(Explorer())), 4400);

    ::SetWindowPos(hFlash, nullptr, 0, 0, 2000, 600, SWP_NOMOVE | SWP_NOZORDER);
    for (int i = 0; i < 10; ++i)
        Launcher().Tick();
    EXPECT_EQ(Width(WindowRect(Explorer())), 1100);
    EXPECT_EQ(ClientRect(Hwnd()), Rect(0, 0, 1100, 727));
}

// With Wine's own control, whose page lives in a window of its own.
class AutoFitRealBrowserTest : public LauncherFixture
{
protected:
    AutoFitRealBrowserTest() : LauncherFixture(Setup().RealBrowser()) {}

    WindowTree m_tree;
};

TEST_F(AutoFitRealBrowserTest, FitsAGameInsideTheBrowsersPageWindow)
{
    const HWND hBrowser = Launcher().Explorer();
    HWND hView = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (hView = ::GetWindow(hBrowser, GW_CHILD)) != nullptr; }));
    m_tree.Add(hView, kFlashClass, 12, 100, 1000, 600);
    const RECT view = WindowRect(hView);
    const RECT browser = WindowRect(hBrowser);
    const int dx = view.left - browser.left + 12;
    const int dy = view.top - browser.top + 100;
    Launcher().Tick();
    EXPECT_EQ(RectInParent(hBrowser), Rect(-dx, -dy, Width(browser) + 100, dy + 700));
    EXPECT_EQ(ClientRect(Launcher().Hwnd()), Rect(0, 0, 1100, dy + 727));
}

// Without a browser control a tick changes nothing, and never looks at
// windows outside the launcher.
class AutoFitWithoutBrowserTest : public LauncherFixture
{
protected:
    AutoFitWithoutBrowserTest() : LauncherFixture(Setup().Failing(FakeBrowserFailure::Create)) {}

    WindowTree m_tree;
};

TEST_F(AutoFitWithoutBrowserTest, TickLeavesTheLayoutAlone)
{
    ASSERT_EQ(Launcher().Explorer(), nullptr);
    // A Flash window elsewhere on the desktop is none of the launcher's.
    m_tree.Add(nullptr, kFlashClass, 0, 0, 1000, 600);
    const RECT launcher = WindowRect(Launcher().Hwnd());
    const RECT pane = RectInParent(Launcher().Pane());
    for (int i = 0; i < 3; ++i)
        Launcher().Tick();
    EXPECT_EQ(WindowRect(Launcher().Hwnd()), launcher);
    EXPECT_EQ(RectInParent(Launcher().Pane()), pane);
}

} // namespace
