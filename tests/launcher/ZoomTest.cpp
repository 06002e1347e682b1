// The zoom and the fit as Windows' browser behaves: frames completing, a
// zoom the page has that is not the one asked for, refreshes, and screens
// too small for the game at 100 %.

#include "harness/MenuItems.h"
#include "harness/FakeFeatureHost.h"
#include "harness/LauncherFixture.h"
#include "harness/MenuClicker.h"
#include "harness/MessagePump.h"
#include "harness/ScreenOfSize.h"

#include "browser/DlgWeb.h"
#include "launcher/services/PageZoom.h"
#include "res/resource.h"

#include <docobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

// Another object than the browser: one of its page's frames.
// A COM object goes by Release, never by delete through an interface, whose
// destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class FakeFrame final : public IDispatch
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override
    {
        *ppv = (iid == IID_IUnknown || iid == IID_IDispatch) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override
    {
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
};
#pragma GCC diagnostic pop

using ZoomTest = LauncherFixture;

TEST(PageZoomTest, AChoiceForgetsTheGameTheAutomaticZoomWasChosenFor)
{
    FakeFeatureHost host;
    CPageZoom& zoom = host.Zoom();
    zoom.Choose(CPageZoom::kAuto);
    const HWND hGame = reinterpret_cast<HWND>(0x1234);
    zoom.ChosenFor(hGame);
    EXPECT_FALSE(zoom.IsToChooseFor(hGame));
    zoom.Choose(100);
    zoom.Choose(CPageZoom::kAuto);
    EXPECT_TRUE(zoom.IsToChooseFor(hGame)) << "the player chose the automatic zoom again: chosen anew";
}

TEST_F(ZoomTest, OnlyThePageCompletingIsZoomedNotItsFrames)
{
    Command(L"80%");
    FakeFrame frame;
    Browser().Last()->FireDocumentComplete(&frame);
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{80});
    Browser().Last()->FireDocumentComplete();
    EXPECT_EQ(Browser().Record().zooms, (std::vector<long>{80, 80}));
}

TEST_F(ZoomTest, ABrowserThatRefusesTheZoomsFlagIsAskedWithoutIt)
{
    Browser().Record().refusesZoomFlags = true;
    Command(L"80%");
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{80});
    EXPECT_EQ(Browser().Record().zoomFlags, std::vector<long>{0});
}

TEST_F(ZoomTest, TheFitFollowsThePagesZoomAndARefreshGetsTheChoiceBack)
{
    ::KillTimer(Hwnd(), 0); // the test gives the ticks itself
    Command(L"80%");
    // The player zooms the page back to 100 % with Ctrl+wheel: the game is
    // drawn at 100 %, and the launcher lets the player have it.
    Browser().Record().pageZoom = 100;
    MakeFlashWindow(Launcher().Explorer(), 0, 0, 1000, 700);
    Launcher().Tick();
    EXPECT_EQ(Width(ClientRect(Hwnd())), 1100);
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{80});

    // A refresh (which completes no page) undoes the zoom: asked again,
    // whether the menu or F5 in the page asked for it.
    Command(L"刷新页面");
    Launcher().Tick();
    EXPECT_EQ(Browser().Record().zooms, (std::vector<long>{80, 80}));
    PressKey(Launcher().Explorer(), VK_F5);
    Browser().Record().pageZoom = 100; // the browser's own refresh
    Launcher().Tick();
    EXPECT_EQ(Browser().Record().zooms, (std::vector<long>{80, 80, 80}));
}

TEST_F(ZoomTest, AStepClickedInItsSubMenuIsChosenAndStaysTheLaunchersOwn)
{
    // Opened as Alt+Space opens it; "页面缩放", then "90%", clicked.
    MenuClicker::ChooseWhenOpen(Hwnd(), MenuCommand(Hwnd(), L"90%"));
    ::SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
    PumpPending();
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{90});
    EXPECT_EQ(Browser().Record().zoomFlags, std::vector<long>{OLECMDIDF_OPTICAL_ZOOM_NOPERSIST});
    EXPECT_TRUE(MenuState(L"90%") & MF_CHECKED);
    EXPECT_NE(Ini().find("[options]\r\nZoom=90\r\n"), std::string::npos);
}

TEST_F(ZoomTest, AtTheSystemsHigherDpiTheBrowserIsAskedForItsScaleAndTheFitIsWhatTheScreenShows)
{
    // Windows 7 at 125 %: the browser's zoom includes the system's 120 DPI,
    // and draws a page pixel as 1.25 screen pixels.
    ::KillTimer(Hwnd(), 0);
    static_cast<CDlgWeb*>(CWnd::FromHandlePermanent(Launcher().Pane()))->SetSystemDpi(120);
    Command(L"80%");
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{100});
    // The page at 80 %: the game is 1100 x 700 on the screen.
    const HWND hGame = MakeFlashWindow(Launcher().Explorer(), 0, 0, 1100, 700);
    Launcher().Tick();
    EXPECT_EQ(Width(ClientRect(Hwnd())), 1100);
    EXPECT_EQ(Height(ClientRect(Hwnd())), 700 + 27);
    OpenMenu();
    EXPECT_TRUE(MenuState(L"80%") & MF_CHECKED);
    // At the page's own size the tall game is 1375 x 938.
    Command(L"100%");
    ::SetWindowPos(hGame, nullptr, 0, 0, 1375, 938, SWP_NOZORDER);
    Launcher().Tick();
    EXPECT_EQ(Width(ClientRect(Hwnd())), 1375);
    EXPECT_EQ(Height(ClientRect(Hwnd())), 938 + 27);
}

TEST_F(ZoomTest, AFixedZoomChosenWithoutAGameBringsBackTheBaseSize)
{
    ::KillTimer(Hwnd(), 0);
    Command(L"70%");
    const HWND hGame = MakeFlashWindow(Launcher().Explorer(), 0, 0, 700, 490);
    Launcher().Tick();
    ASSERT_EQ(Width(ClientRect(Hwnd())), 770);
    ::DestroyWindow(hGame);
    Command(L"100%");
    EXPECT_EQ(Width(WindowRect(Hwnd())), 1148);
    EXPECT_EQ(Height(WindowRect(Hwnd())), 750);
}

TEST_F(ZoomTest, ALauncherThePlayerMovedIsLeftWhereItIsWhileItsSizeStays)
{
    ::KillTimer(Hwnd(), 0);
    MakeFlashWindow(Launcher().Explorer(), 0, 0, 1100, 700);
    Launcher().Tick();
    // Dragged half past the screen's right edge, or onto a second monitor.
    ::SetWindowPos(Hwnd(), nullptr, 900, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Launcher().Tick();
    EXPECT_EQ(WindowRect(Hwnd()).left, 900);
}

// A screen with a taskbar: its work area is smaller than the screen.
using WorkAreaTest = LauncherFixture;

TEST_F(WorkAreaTest, TheLauncherIsKeptWithinTheWorkAreaNotTheScreen)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST), &mi);
    if (::EqualRect(&mi.rcWork, &mi.rcMonitor))
        GTEST_SKIP() << "the work area is the whole screen here";
    // Inside the work area, but reaching past its bottom edge (not the
    // screen's) once 750 high: moved up, at most to the work area's top.
    ::SetWindowPos(Hwnd(), nullptr, 100, mi.rcWork.top + 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Launcher().ClickAutoFit(); // off: the base layout, 750 high
    ASSERT_GT(mi.rcWork.top + 60 + 750, mi.rcWork.bottom);
    ASSERT_LE(mi.rcWork.top + 60 + 750, mi.rcMonitor.bottom);
    EXPECT_EQ(WindowRect(Hwnd()).bottom, std::max(mi.rcWork.bottom, mi.rcWork.top + 750));
    EXPECT_GE(WindowRect(Hwnd()).top, mi.rcWork.top);
}

// The launcher alone on a screen of a size, with the automatic zoom chosen;
// the test runs the fit's ticks.
template <int cx, int cy>
class ScreenTest : public LauncherFixture
{
protected:
    ScreenTest() : LauncherFixture(Setup().OnScreen(cx, cy)) {}

    void SetUp() override
    {
        if (!m_screen->IsInPlace())
            GTEST_SKIP() << "needs a process of its own";
        ::KillTimer(Hwnd(), 0);
        Command(L"自动适应屏幕");
    }
};

// A laptop's screen, 1280 x 700 with no taskbar: the game fits at 90 %, not
// at 100 %.
using SmallScreenTest = ScreenTest<1280, 700>;

TEST_F(SmallScreenTest, TheAutomaticZoomIsChosenByWhatMustBeSeenAndChosenAgainWhenTheGameGrows)
{
    // The game 100 px below the page's top: the band the fit leaves below
    // it need not be on the screen.
    const HWND hGame = MakeFlashWindow(Launcher().Explorer(), 0, 100, 1000, 700);
    Launcher().Tick();
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{90});

    // The page at 90 %; then a banner above makes the game the tall one.
    ::SetWindowPos(hGame, nullptr, 0, 90, 900, 630, SWP_NOZORDER);
    Launcher().Tick();
    ::SetWindowPos(hGame, nullptr, 0, 140, 900, 675, SWP_NOZORDER);
    Launcher().Tick();
    EXPECT_EQ(Browser().Record().zooms, (std::vector<long>{90, 80}));

    // Chosen again after a fixed zoom, it is chosen again for the same game.
    Command(L"100%");
    ::SetWindowPos(hGame, nullptr, 0, 155, 1000, 750, SWP_NOZORDER);
    Command(L"自动适应屏幕");
    Launcher().Tick();
    EXPECT_EQ(Browser().Record().zooms, (std::vector<long>{90, 80, 100, 80}));
}

TEST_F(SmallScreenTest, AStepTheScreenCannotHoldIsNotOfferedAndAStoredOneGivesTheLargestThatFits)
{
    OpenMenu();
    for (const wchar_t* lpszStep : {L"150%", L"125%", L"100%"})
        EXPECT_TRUE(MenuState(lpszStep) & MF_GRAYED) << lpszStep;
    EXPECT_FALSE(MenuState(L"90%") & MF_GRAYED);
    EXPECT_FALSE(MenuState(L"自动适应屏幕") & MF_GRAYED);
    // Chosen on a larger screen: this run only.
    WriteIni("[options]\r\nZoom=125\r\n");
    Start();
    EXPECT_TRUE(MenuState(L"90%") & MF_CHECKED);
    EXPECT_NE(Ini().find("Zoom=125\r\n"), std::string::npos);
    // Without a stored step the page keeps its own size, as ever.
    WriteIni("");
    Start();
    EXPECT_TRUE(MenuState(L"100%") & MF_CHECKED);
}

// A full-HD screen at 125 % on Windows 7: the page at its own size shows the
// game at 1375 x 875, the largest that fits.
using FullHdScreenTest = ScreenTest<1920, 1080>;

TEST_F(FullHdScreenTest, TheAutomaticZoomCountsTheSystemsScale)
{
    static_cast<CDlgWeb*>(CWnd::FromHandlePermanent(Launcher().Pane()))->SetSystemDpi(120);
    Command(L"150%");
    Command(L"自动适应屏幕");
    MakeFlashWindow(Launcher().Explorer(), 0, 0, 2063, 1313); // the page at 150 %
    Launcher().Tick();
    EXPECT_EQ(Browser().Record().zooms, (std::vector<long>{188, 125}));
}

// A large screen: the game fills it at 150 %.
using LargeScreenTest = ScreenTest<2560, 1440>;

TEST_F(LargeScreenTest, TheAutomaticZoomFillsItAt150)
{
    const HWND hLauncher = Launcher().Hwnd();
    const HWND hGame = MakeFlashWindow(Launcher().Explorer(), 0, 0, 1000, 700);
    Launcher().Tick();
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{150});
    ::SetWindowPos(hGame, nullptr, 0, 0, 1500, 1050, SWP_NOZORDER); // the page at 150 %
    Launcher().Tick();
    EXPECT_EQ(ClientRect(hLauncher).right, 1650);
    EXPECT_EQ(ClientRect(hLauncher).bottom, 1050 + 27);
    EXPECT_LE(WindowRect(hLauncher).bottom, 1440);
}

} // namespace
