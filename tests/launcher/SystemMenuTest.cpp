// The options of the window's system menu: always on top, reload and page
// zoom, and their [options] section in the settings file.

#include "harness/MenuClicker.h"
#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/MenuItems.h"
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

    bool Checked(const std::wstring& text) const { return MenuState(text) & MF_CHECKED; }
    bool TopMost() const { return ::GetWindowLongW(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST; }
};

// What the rows say, as the features bring them.
std::vector<std::wstring> Texts(const std::vector<CSystemMenu::Row>& rows)
{
    std::vector<std::wstring> texts;
    texts.reserve(rows.size());
    for (const CSystemMenu::Row& row : rows)
        texts.emplace_back(static_cast<const wchar_t*>(CSystemMenu::Text(row)));
    return texts;
}

TEST_F(SystemMenuTest, TheFeaturesRowsStandAboveCloseBetweenSeparators)
{
    Start();
    const std::vector<CSystemMenu::Row>& rows = Launcher().Dialog().Features().MenuRows();
    ASSERT_FALSE(rows.empty());
    const HMENU hSysMenu = ::GetSystemMenu(Launcher().Hwnd(), FALSE);
    const std::vector<MenuItem> items = Items(hSysMenu);
    size_t close = 0;
    while (close < items.size() && items[close].nID != SC_CLOSE)
        ++close;
    ASSERT_GE(close, rows.size() + 3);
    const size_t first = close - rows.size() - 1;
    const std::vector<MenuItem> ours(items.begin() + static_cast<std::ptrdiff_t>(first),
                                     items.begin() + static_cast<std::ptrdiff_t>(close - 1));
    EXPECT_EQ(Texts(ours), Texts(rows));
    EXPECT_TRUE(items[first - 1].nState & MF_SEPARATOR);
    EXPECT_TRUE(items[close - 1].nState & MF_SEPARATOR);
    EXPECT_FALSE(items[first - 2].nState & MF_SEPARATOR) << "two separators in a row";
    for (size_t i = 0; i < rows.size(); ++i)
    {
        if (!rows[i].subRows.empty())
        {
            EXPECT_EQ(Texts(Items(::GetSubMenu(hSysMenu, static_cast<int>(first + i)))), Texts(rows[i].subRows));
        }
    }
    EXPECT_TRUE(MenuState(L"Flash Player") & MF_GRAYED);
    EXPECT_TRUE(MenuState(L"打开截图文件夹") & MF_GRAYED) << "no screenshots folder yet";
    EXPECT_FALSE(TopMost());
    EXPECT_TRUE(Checked(L"100%"));
    EXPECT_TRUE(Browser().Record().zooms.empty()) << "a default start zooms nothing";
}

TEST_F(SystemMenuTest, ChoicesTakeEffectAreCheckedAndComeBackAtTheNextStart)
{
    WriteFileBytes(IniPath(), "[other]\r\nkept=1\r\n");
    Start();
    const unsigned long long fileBefore = FileIdentity(IniPath());
    Command(L"窗口置顶");
    EXPECT_NE(FileIdentity(IniPath()), fileBefore) << "saved into a copy that replaced the file";
    EXPECT_TRUE(TopMost());
    EXPECT_TRUE(Checked(L"窗口置顶"));
    Command(L"80%");
    EXPECT_TRUE(Checked(L"80%"));
    EXPECT_FALSE(Checked(L"100%"));
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{80});
    Browser().Last()->FireDocumentComplete(); // a new page keeps the zoom
    EXPECT_EQ(Browser().Record().zooms, (std::vector<long>{80, 80}));

    const std::string ini = ReadFileBytes(IniPath());
    EXPECT_NE(ini.find("[other]\r\nkept=1\r\n"), std::string::npos);
    EXPECT_NE(ini.find("[options]\r\nTopMost=1\r\nZoom=80\r\n"), std::string::npos) << ini;

    Browser().Record().zooms.clear();
    Start();
    EXPECT_TRUE(TopMost());
    EXPECT_TRUE(Checked(L"窗口置顶"));
    EXPECT_TRUE(Checked(L"80%"));
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{80});

    Command(L"窗口置顶");
    EXPECT_FALSE(TopMost());
    EXPECT_NE(ReadFileBytes(IniPath()).find("TopMost=0\r\n"), std::string::npos);
}

TEST_F(SystemMenuTest, BadOptionsMeanTheDefaults)
{
    WriteFileBytes(IniPath(), "[options]\r\nTopMost=2\r\nZoom=85\r\n");
    Start();
    EXPECT_FALSE(TopMost());
    EXPECT_TRUE(Checked(L"100%"));
    WriteFileBytes(IniPath(), "[options]\r\nTopMost=1x\r\nZoom=\r\n");
    Start();
    EXPECT_FALSE(TopMost());
    EXPECT_TRUE(Checked(L"100%"));
    EXPECT_TRUE(Browser().Record().zooms.empty());
    WriteFileBytes(IniPath(), "[options]\r\nZoom=90\r\n");
    Start();
    EXPECT_TRUE(Checked(L"90%"));
    EXPECT_EQ(Browser().Record().zooms, std::vector<long>{90});
}

TEST_F(SystemMenuTest, ARightClickOnTheCaptionShowsTheItemsAsTheyAreNow)
{
    Start();
    const std::wstring folder = m_dir.File(L"截图");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    OpenMenu();
    ASSERT_FALSE(MenuState(L"打开截图文件夹") & MF_GRAYED);
    ::RemoveDirectoryW(folder.c_str());

    // Its state as the menu shows it, then the menu is closed.
    UINT nState = UINT(-1);
    MenuClicker::WhenOpen([&](HWND) {
        nState = MenuItemState(Hwnd(), L"打开截图文件夹");
        ::EndMenu();
    });
    // A right click on the caption, as the system tells the window of it.
    const RECT rc = WindowRect(Hwnd());
    const int y = rc.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2;
    ::PostMessageW(Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Hwnd()), MAKELPARAM(rc.left + 300, y));
    ASSERT_TRUE(PumpUntil([&] { return nState != UINT(-1); }, 5000)) << "the menu did not open";
    EXPECT_TRUE(nState & MF_GRAYED) << "the folder is gone";
}

TEST_F(SystemMenuTest, ReloadRefreshesThePage)
{
    Start();
    Command(L"刷新页面");
    EXPECT_EQ(Browser().Record().refreshes, 1);
    EXPECT_TRUE(::IsWindowVisible(Launcher().Hwnd()));
}

} // namespace
