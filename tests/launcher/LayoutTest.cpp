// The launcher window as it opens: size and place, the header strip and its
// label as they are seen, the pane below, dragging by the strip.

#include "harness/LauncherFixture.h"
#include "harness/Pixels.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

const COLORREF kStripBlue = RGB(0, 174, 255);

class LayoutTest : public LauncherFixture
{
protected:
    LayoutTest()
    {
        ::RedrawWindow(Launcher().Hwnd(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpPending();
    }
};

TEST_F(LayoutTest, OpensCentredAt1148By750)
{
    const RECT rc = WindowRect(Launcher().Hwnd());
    EXPECT_EQ(Width(rc), 1148);
    EXPECT_EQ(Height(rc), 750);

    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((rc.left + rc.right) / 2 - (work.left + work.right) / 2), 1);
    EXPECT_LE(std::abs((rc.top + rc.bottom) / 2 - (work.top + work.bottom) / 2), 1);
    EXPECT_TRUE(::IsWindowVisible(Launcher().Hwnd()));
}

TEST_F(LayoutTest, PaneFillsTheClientAreaBelowTheStrip)
{
    const RECT client = ClientRect(Launcher().Hwnd());
    const RECT pane = RectInParent(Launcher().Pane());
    EXPECT_EQ(pane.left, 0);
    EXPECT_EQ(pane.top, 25);
    EXPECT_EQ(Width(pane), Width(client));
    EXPECT_EQ(Height(pane), Height(client) - 25);
    EXPECT_TRUE(::IsWindowVisible(Launcher().Pane()));
}

TEST_F(LayoutTest, FirstNavigationStretchesTheBrowserToTheOuterSize)
{
    // The platform choice sizes the browser from the launcher's outer size;
    // the pane clips it until the next tick or base layout.
    const RECT outer = WindowRect(Launcher().Hwnd());
    const RECT explorer = RectInParent(Launcher().Explorer());
    EXPECT_EQ(explorer.left, 0);
    EXPECT_EQ(explorer.top, 0);
    EXPECT_EQ(Width(explorer), Width(outer));
    EXPECT_EQ(Height(explorer), Height(outer) - 2);
}

TEST_F(LayoutTest, StartsWithAutoFitOnAndTheFocusOnTheDropDown)
{
    EXPECT_TRUE(Launcher().AutoFitChecked());
    EXPECT_TRUE(::KillTimer(Launcher().Hwnd(), 0)) << "timer 0 is not running";
    EXPECT_EQ(::GetFocus(), Launcher().Item(IDC_PLATFORM_COMBO));
}

TEST_F(LayoutTest, UsesTheProgramIconAsBigAndSmallIcon)
{
    const HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(Launcher().Hwnd(), WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(Launcher().Hwnd(), WM_GETICON, ICON_SMALL, 0)), icon);
}

TEST_F(LayoutTest, StripIsBlueAcrossTheWholeWidth)
{
    const HWND hWnd = Launcher().Hwnd();
    const int width = Width(ClientRect(hWnd));
    for (int x : {1, width / 2 + 200, width - 2})
    {
        EXPECT_EQ(ScreenPixel(hWnd, x, 1), kStripBlue) << "x " << x;
        EXPECT_EQ(ScreenPixel(hWnd, x, 24), kStripBlue) << "x " << x;
    }
    EXPECT_NE(ScreenPixel(hWnd, width - 2, 25), kStripBlue); // the pane starts here
}

TEST_F(LayoutTest, LabelStandsOnTheStripBlue)
{
    // Behind the text the label shows the strip, as if it were transparent.
    const HWND hLabel = ::GetDlgItem(Launcher().Hwnd(), IDC_STATIC);
    ASSERT_NE(hLabel, nullptr);
    EXPECT_EQ(WindowText(hLabel), L"游戏平台");
    const RECT rc = ClientRect(hLabel);
    int blue = 0;
    int dark = 0;
    for (int y = 0; y < rc.bottom; ++y)
    {
        for (int x = 0; x < rc.right; ++x)
        {
            const COLORREF c = ScreenPixel(hLabel, x, y);
            blue += c == kStripBlue;
            dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 100;
        }
    }
    const int total = rc.right * rc.bottom;
    EXPECT_GT(blue, total / 2) << "the label's background is not the strip's blue";
    EXPECT_GT(dark, 10) << "the label's text is not drawn";
}

// Which part of the window the system finds at a point of the launcher's
// client area, as it does for the mouse: the window under the point, then
// its hit-test answer.
LRESULT HitTestAt(HWND hLauncher, int x, int y, HWND* phWnd)
{
    POINT pt = {x, y};
    ::ClientToScreen(hLauncher, &pt);
    *phWnd = ::WindowFromPoint(pt);
    return ::SendMessageW(*phWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
}

POINT CentreInLauncher(HWND hLauncher, HWND hChild)
{
    RECT rc = WindowRect(hChild);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ScreenToClient(hLauncher, &pt);
    return pt;
}

TEST_F(LayoutTest, StripAndLabelDragTheWindowButTheControlsDoNot)
{
    const HWND hLauncher = Launcher().Hwnd();
    HWND hHit = nullptr;
    EXPECT_EQ(HitTestAt(hLauncher, 5, 12, &hHit), HTCAPTION);
    EXPECT_EQ(hHit, hLauncher);
    EXPECT_EQ(HitTestAt(hLauncher, Width(ClientRect(hLauncher)) - 5, 12, &hHit), HTCAPTION);

    const POINT label = CentreInLauncher(hLauncher, ::GetDlgItem(hLauncher, IDC_STATIC));
    EXPECT_EQ(HitTestAt(hLauncher, label.x, label.y, &hHit), HTCAPTION);
    EXPECT_EQ(hHit, hLauncher) << "the label should let the mouse through";

    for (int id : {IDC_PLATFORM_COMBO, IDC_ENTER_BUTTON, IDC_URL_EDIT, IDC_AUTOFIT_CHECK})
    {
        const POINT pt = CentreInLauncher(hLauncher, Launcher().Item(id));
        EXPECT_NE(HitTestAt(hLauncher, pt.x, pt.y, &hHit), HTCAPTION) << "control " << id;
    }
    EXPECT_NE(HitTestAt(hLauncher, 300, 300, &hHit), HTCAPTION); // the browser
}

} // namespace
