// How the features' list runs them: the order in which they hear the
// window's messages, which message stops at the feature that takes it and
// which reaches them all, what the list keeps for itself, and an end that
// comes once.

#include "harness/FakeFeatureHost.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace
{

const UINT kOwnMessage = WM_APP + 100;

// A feature that says what it is offered, and takes every message.
class RecordingFeature final : public CFeature
{
public:
    RecordingFeature(CFeatureHost& host, const char* lpszName, std::vector<std::string>& log)
        : CFeature(host), m_name(lpszName), m_log(log), m_nCommand(host.NewCommand()), m_nSubCommand(host.NewCommand())
    {
    }

    std::vector<CSystemMenu::Row> MenuRows() override
    {
        CSystemMenu::Row row;
        row.nID = m_nCommand;
        row.lpszText = m_name.c_str() == std::string("first") ? L"first" : L"second";
        row.action = [this](UINT) { Say("chosen"); };
        CSystemMenu::Row sub;
        sub.nID = m_nSubCommand;
        sub.lpszText = L"sub";
        sub.state = [this] {
            Say("asked");
            return 0U;
        };
        CSystemMenu::Row menu;
        menu.lpszText = row.lpszText == std::wstring(L"first") ? L"first's" : L"second's";
        menu.subRows.push_back(std::move(sub));
        return {row, menu};
    }
    void OnMenuOpening() override { Say("opening"); }
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT*) override
    {
        Say(message == kOwnMessage ? "own" : message == WM_ENDSESSION ? "ending" : "other");
        return true;
    }
    void OnEnd() override { Say("end"); }

    UINT SubCommand() const { return m_nSubCommand; }

private:
    void Say(const std::string& what) { m_log.push_back(m_name + " " + what); }

    std::string m_name;
    std::vector<std::string>& m_log;
    UINT m_nCommand;
    UINT m_nSubCommand;
};

using Log = std::vector<std::string>;

TEST(FeatureListTest, MessagesGoInTheListsOrderAndWhatTheListKeepsGoesToNoFeature)
{
    Log log;
    FakeFeatureHost host;
    RecordingFeature first(host, "first", log);
    RecordingFeature second(host, "second", log);
    host.Start({&first, &second});
    const HWND hWnd = host.Window();
    const auto heard = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        log.clear();
        ::SendMessageW(hWnd, message, wParam, lParam);
        return log;
    };

    EXPECT_EQ(heard(kOwnMessage, 0, 0), Log{"first own"}) << "taken by the first";
    EXPECT_EQ(heard(::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0), (Log{"first other", "second other"}));
    EXPECT_EQ(heard(WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024)), (Log{"first other", "second other"}));

    const HMENU hSysMenu = ::GetSystemMenu(hWnd, FALSE);
    EXPECT_EQ(heard(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hSysMenu), MAKELPARAM(0, TRUE)),
              (Log{"first opening", "second opening", "first asked", "second asked"}));
    HMENU hSubMenu = nullptr;
    for (int nPos = 0; nPos < ::GetMenuItemCount(hSysMenu); ++nPos)
        if (::GetSubMenu(hSysMenu, nPos))
            hSubMenu = ::GetSubMenu(hSysMenu, nPos);
    EXPECT_EQ(heard(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hSubMenu), MAKELPARAM(0, FALSE)),
              (Log{"first asked", "second asked"}))
        << "a sub-menu's opening brings the rows up to date";
    log.clear();
    host.Choose(L"second");
    EXPECT_EQ(log, (Log{"second chosen", "first asked", "second asked"}));
    EXPECT_EQ(heard(WM_COMMAND, first.SubCommand(), 0), (Log{"first asked", "second asked"}))
        << "a sub-menu's item, as Wine sends it";

    EXPECT_EQ(heard(WM_ENDSESSION, FALSE, 0), (Log{"first ending", "second ending"}))
        << "another program kept Windows from ending";
    EXPECT_EQ(heard(WM_ENDSESSION, TRUE, 0), (Log{"first ending", "second ending", "first end", "second end"}));
    log.clear();
    ::SendMessageW(hWnd, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(log, (Log{"first ending", "second ending"})) << "the end comes once";
}

TEST(FeatureListTest, IdsAreHandedOutOnceAndNeverTheSystemsOwn)
{
    CFeatureList list(16);
    std::set<UINT> commands;
    std::set<UINT> messages;
    std::set<UINT_PTR> timers;
    std::set<int> hotKeys;
    for (int i = 0; i < 60000; ++i)
    {
        commands.insert(list.NewCommand());
        messages.insert(list.NewMessage());
        timers.insert(list.NewTimer());
        hotKeys.insert(list.NewHotKey());
    }
    EXPECT_EQ(timers.size(), 60000u) << "a timer handed out twice";
    EXPECT_EQ(commands.size(), 0xF00u) << "every multiple of 16 below 0xF000 once, then none (0)";
    EXPECT_EQ(*commands.begin(), 0u);
    EXPECT_EQ(*commands.rbegin(), 0xEFF0u);
    EXPECT_EQ(messages.size(), 0xC000u - (WM_APP + 1) + 1);
    EXPECT_EQ(*std::next(messages.begin()), WM_APP + 1u);
    EXPECT_EQ(*messages.rbegin(), 0xBFFFu);
    EXPECT_EQ(hotKeys.size(), 0xC000u) << "1 to 0xBFFF once, then none (0)";
    EXPECT_EQ(*hotKeys.rbegin(), 0xBFFF);
}

} // namespace
