// The options of the window's system menu: always on top, reload and page
// zoom, and their [options] section in the settings file.

#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

struct MenuItem
{
    UINT nID;
    std::wstring text;
    UINT nState;
};

// A menu's items, in order.
std::vector<MenuItem> Items(HMENU hMenu)
{
    std::vector<MenuItem> items;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i)
    {
        wchar_t text[64] = {};
        ::GetMenuStringW(hMenu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        items.push_back({::GetMenuItemID(hMenu, i), text, ::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION)});
    }
    return items;
}

std::vector<std::wstring> Texts(const std::vector<MenuItem>& items)
{
    std::vector<std::wstring> texts;
    texts.reserve(items.size());
    for (const MenuItem& item : items)
        texts.push_back(item.text);
    return texts;
}

class SystemMenuTest : public LauncherFixture
{
protected:
    SystemMenuTest() : LauncherFixture(Setup().StartLater()) {}

    bool Checked(UINT nID) const { return MenuState(nID) & MF_CHECKED; }
    bool TopMost() const { return ::GetWindowLongW(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST; }
};

TEST_F(SystemMenuTest, ItemsStandAboveCloseAfterASeparator)
{
    Start();
    const HMENU hSysMenu = ::GetSystemMenu(Launcher().Hwnd(), FALSE);
    const std::vector<MenuItem> items = Items(hSysMenu);
    size_t close = 0;
    while (close < items.size() && items[close].nID != SC_CLOSE)
        ++close;
    ASSERT_GE(close, 13u);
    const std::vector<MenuItem> ours(items.begin() + static_cast<std::ptrdiff_t>(close - 12),
                                     items.begin() + static_cast<std::ptrdiff_t>(close));
    EXPECT_EQ(Texts(ours),
              (std::vector<std::wstring>{L"", L"Flash Player：未安装", L"窗口置顶", L"刷新页面", L"清除缓存并刷新",
                                         L"页面缩放", L"静音", L"截图", L"打开截图文件夹", L"老板键 (Ctrl+Alt+H)",
                                         L"新开窗口（另一个账号）", L""}));
    EXPECT_TRUE(ours[0].nState & MF_SEPARATOR);
    EXPECT_TRUE(ours[1].nState & MF_GRAYED);
    EXPECT_TRUE(ours[8].nState & MF_GRAYED) << "no screenshots folder yet";
    EXPECT_TRUE(ours.back().nState & MF_SEPARATOR);
    EXPECT_FALSE(items[close - 13].nState & MF_SEPARATOR) << "two separators in a row";
    EXPECT_EQ(Texts(Items(::GetSubMenu(hSysMenu, static_cast<int>(close - 7)))),
              (std::vector<std::wstring>{L"150%", L"125%", L"100%", L"90%", L"80%", L"70%", L"自动适应屏幕"}));
    EXPECT_FALSE(TopMost());
    EXPECT_TRUE(Checked(IDM_ZOOM_100));
    EXPECT_TRUE(Browser().Record().zooms.empty()) << "a default start zooms nothing";
}

TEST_F(SystemMenuTest, ChoicesTakeEffectAreCheckedAndComeBackAtTheNextStart)
{
    WriteFileBytes(IniPath(), "[other]\r\nkept=1\r\n");
    Start();
    const unsigned long long fileBefore = FileIdentity(IniPath());
    Command(IDM_TOPMOST);
    EXPECT_NE(FileIdentity(IniPath()), fileBefore) << "saved into a copy that replaced the file";
    EXPECT_TRUE(TopMost());
    EXPECT_TRUE(Checked(IDM_TOPMOST));
    Command(IDM_ZOOM_80);
    EXPECT_TRUE(Checked(IDM_ZOOM_80));
    EXPECT_FALSE(Checked(IDM_ZOOM_100));
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{80});
    Browser().Last()->FireDocumentComplete(); // a new page keeps the zoom
    EXPECT_EQ(Browser().Record().zooms, (std::vector<long>{80, 80}));

    const std::string ini = ReadFileBytes(IniPath());
    EXPECT_NE(ini.find("[other]\r\nkept=1\r\n"), std::string::npos);
    EXPECT_NE(ini.find("[options]\r\nTopMost=1\r\nZoom=80\r\n"), std::string::npos) << ini;

    Browser().Record().zooms.clear();
    Start();
    EXPECT_TRUE(TopMost());
    EXPECT_TRUE(Checked(IDM_TOPMOST));
    EXPECT_TRUE(Checked(IDM_ZOOM_80));
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{80});

    Command(IDM_TOPMOST);
    EXPECT_FALSE(TopMost());
    EXPECT_NE(ReadFileBytes(IniPath()).find("TopMost=0\r\n"), std::string::npos);
}

TEST_F(SystemMenuTest, BadOptionsMeanTheDefaults)
{
    WriteFileBytes(IniPath(), "[options]\r\nTopMost=2\r\nZoom=85\r\n");
    Start();
    EXPECT_FALSE(TopMost());
    EXPECT_TRUE(Checked(IDM_ZOOM_100));
    WriteFileBytes(IniPath(), "[options]\r\nTopMost=1x\r\nZoom=\r\n");
    Start();
    EXPECT_FALSE(TopMost());
    EXPECT_TRUE(Checked(IDM_ZOOM_100));
    EXPECT_TRUE(Browser().Record().zooms.empty());
    WriteFileBytes(IniPath(), "[options]\r\nZoom=125\r\n"); // a large screen's zoom
    Start();
    EXPECT_TRUE(Checked(IDM_ZOOM_125));
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{125});
}

// Reads an item's state once the system menu shows, then closes the menu.
struct MenuLook
{
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR idEvent, DWORD)
    {
        if (!::FindWindowW(L"#32768", nullptr))
            return;
        ::KillTimer(nullptr, idEvent);
        s_nState = ::GetMenuState(::GetSystemMenu(s_hWnd, FALSE), s_nID, MF_BYCOMMAND);
        ::EndMenu();
    }
    static HWND s_hWnd;
    static UINT s_nID;
    static UINT s_nState;
};
HWND MenuLook::s_hWnd = nullptr;
UINT MenuLook::s_nID = 0;
UINT MenuLook::s_nState = UINT(-1);

TEST_F(SystemMenuTest, ARightClickOnTheCaptionShowsTheItemsAsTheyAreNow)
{
    Start();
    const std::wstring folder = m_dir.File(L"截图");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    OpenMenu();
    ASSERT_FALSE(MenuState(IDM_OPEN_SCREENSHOTS) & MF_GRAYED);
    ::RemoveDirectoryW(folder.c_str());

    MenuLook::s_hWnd = Hwnd();
    MenuLook::s_nID = IDM_OPEN_SCREENSHOTS;
    ::SetTimer(nullptr, 0, 50, MenuLook::OnTimer);
    ::SetForegroundWindow(Hwnd());
    const RECT rc = WindowRect(Hwnd());
    ::SetCursorPos(rc.left + 300, rc.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ::SendInput(2, clicks, sizeof(INPUT));
    ASSERT_TRUE(PumpUntil([] { return MenuLook::s_nState != UINT(-1); }, 5000)) << "the menu did not open";
    EXPECT_TRUE(MenuLook::s_nState & MF_GRAYED) << "the folder is gone";
}

TEST_F(SystemMenuTest, ReloadRefreshesThePage)
{
    Start();
    Command(IDM_RELOAD);
    EXPECT_EQ(Browser().Record().refreshes, 1);
    EXPECT_TRUE(::IsWindowVisible(Launcher().Hwnd()));
}

} // namespace
