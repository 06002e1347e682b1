// Two launchers started from one directory share its settings file: each
// save replaces the values, keeping the other's, and a later start comes up
// with the last one. A launcher killed in the middle of its saves leaves a
// whole file for the next start.

#include "harness/MenuItems.h"
#include "harness/LauncherFixture.h"
#include "harness/LauncherProcess.h"
#include "harness/MessagePump.h"

#include "launcher/OrlimWebDlg.h"
#include "launcher/settings/SettingsLock.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

namespace
{

// Picks a row in another process's launcher; posted, the choice waits in
// its queue behind earlier ones.
void ChooseRow(HWND hLauncher, int row, bool bPost = false)
{
    const auto send = [bPost](HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (bPost)
            ::PostMessageW(hWnd, message, wParam, lParam);
        else
            ::SendMessageW(hWnd, message, wParam, lParam);
    };
    const HWND hCombo = ::GetDlgItem(hLauncher, IDC_PLATFORM_COMBO);
    send(hCombo, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    send(hLauncher, WM_COMMAND, MAKEWPARAM(IDC_PLATFORM_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
}

class SharedSettingsTest : public LauncherFixture
{
protected:
    SharedSettingsTest() : LauncherFixture(Setup().RealBrowser().StartLater()) {}

    // Starts two launchers in the folder; whether both showed windows of
    // their own.
    bool StartTwo()
    {
        m_first = std::make_unique<LauncherProcess>(m_dir.Path());
        m_second = std::make_unique<LauncherProcess>(m_dir.Path());
        const HWND hFirst = m_first->WaitForWindow();
        const HWND hSecond = m_second->WaitForWindow();
        return hFirst && hSecond && hFirst != hSecond;
    }

    std::unique_ptr<LauncherProcess> m_first;
    std::unique_ptr<LauncherProcess> m_second;
};

int CurrentRow(HWND hLauncher)
{
    return static_cast<int>(::SendMessageW(::GetDlgItem(hLauncher, IDC_PLATFORM_COMBO), CB_GETCURSEL, 0, 0));
}

TEST_F(SharedSettingsTest, TwoLaunchersSaveInTurnAndTheLastSaveWins)
{
    ASSERT_TRUE(StartTwo());
    // A launcher saves once it has shown itself (a choice before waits).
    const auto saved = [&](const char* line) {
        return PumpUntil([&] { return Ini().find(line) != std::string::npos; }, 3000);
    };
    ChooseRow(m_first->Window(), 5);
    EXPECT_TRUE(saved("ServersSel=5\r\n"));
    ChooseRow(m_second->Window(), 9);
    EXPECT_TRUE(saved("ServersSel=9\r\n"));
    ChooseRow(m_first->Window(), 12);
    EXPECT_EQ(CurrentRow(m_second->Window()), 9); // the other one runs on with its own row
    m_first.reset();
    m_second.reset();

    LauncherProcess third(m_dir.Path());
    const HWND hThird = third.WaitForWindow();
    ASSERT_NE(hThird, nullptr);
    EXPECT_EQ(CurrentRow(hThird), 12);
}

TEST_F(SharedSettingsTest, ALauncherHangingInItsTurnHoldsUpNoOtherWindowAndTheSaveFollows)
{
    LauncherProcess launcher(m_dir.Path());
    const HWND hLauncher = launcher.WaitForWindow();
    ASSERT_NE(hLauncher, nullptr);
    {
        // Another launcher of the file (this process) hangs in its save,
        // once the launcher's own save at its start is done.
        const CSettingsLock turn(IniPath().c_str(), 5000);
        ASSERT_TRUE(turn.IsHeld());
        const std::string before = Ini();
        const HWND hCombo = ::GetDlgItem(hLauncher, IDC_PLATFORM_COMBO);
        ::SendMessageW(hCombo, CB_SETCURSEL, 5, 0);
        EXPECT_TRUE(::SendMessageTimeoutW(hLauncher, WM_COMMAND, MAKEWPARAM(IDC_PLATFORM_COMBO, CBN_SELCHANGE),
                                          reinterpret_cast<LPARAM>(hCombo), SMTO_ABORTIFHUNG, 2000, nullptr))
            << "the window waited for the turn";
        PumpFor(600);
        EXPECT_EQ(Ini(), before) << "saved out of turn";
    }
    EXPECT_TRUE(PumpUntil([&] { return Ini().find("ServersSel=5\r\n") != std::string::npos; }, 3000));
}

TEST_F(SharedSettingsTest, TwoLaunchersKeepEachOthersChanges)
{
    ASSERT_TRUE(StartTwo());
    const HWND hFirst = m_first->Window();
    const HWND hSecond = m_second->Window();

    // At once in both: one toggles always-on-top, the other picks a zoom,
    // both pick platforms. Every save must keep the other's changes.
    const struct
    {
        const wchar_t* lpszItem;
        const char* value;
    } zooms[] = {{L"80%", "80"}, {L"90%", "90"}, {L"70%", "70"}, {L"100%", "100"}};
    bool topMost = false;
    for (int round = 0; round < 12; ++round)
    {
        ::PostMessageW(hFirst, WM_SYSCOMMAND, LauncherCommand(L"窗口置顶"), 0);
        ::PostMessageW(hSecond, WM_SYSCOMMAND, LauncherCommand(zooms[round % 4].lpszItem), 0);
        ChooseRow(hFirst, 10 + round, true);
        ChooseRow(hSecond, 40 + round, true);
        topMost = !topMost;
        const std::string topMostLine = std::string("\nTopMost=") + (topMost ? "1" : "0") + "\r\n";
        const std::string zoomLine = std::string("\nZoom=") + zooms[round % 4].value + "\r\n";
        const auto settled = [&] {
            const std::string text = Ini();
            return CurrentRow(hFirst) == 10 + round && CurrentRow(hSecond) == 40 + round &&
                   ((::GetWindowLongW(hFirst, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) == topMost &&
                   text.find(topMostLine) != std::string::npos && text.find(zoomLine) != std::string::npos;
        };
        EXPECT_TRUE(PumpUntil(settled, 5000)) << round << ": " << Ini();
    }
}

TEST_F(SharedSettingsTest, KillDuringABurstOfSavesLeavesAWholeFile)
{
    COrlimWebDlg catalogue;
    catalogue.FillPlatformUrls();
    const auto saved = [&](int row) { return SavedSection(row, std::wstring(catalogue.GetPlatformUrl(row))); };
    const std::string other = OtherSection(512 * 1024);

    std::mt19937 random(20261208);
    for (int run = 0; run < 6; ++run)
    {
        WriteFileBytes(m_dir.File(L"UserVar.ini"), other + saved(3));
        {
            LauncherProcess launcher(m_dir.Path());
            const HWND hLauncher = launcher.WaitForWindow();
            ASSERT_NE(hLauncher, nullptr);
            for (int i = 0; i < 60; ++i)
                ChooseRow(hLauncher, 1 + (run * 7 + i) % 77, true);
            ::Sleep(std::uniform_int_distribution<DWORD>(20, 400)(random));
        } // killed here, most likely in the middle of a save
        EXPECT_EQ(Ini().compare(0, other.size(), other), 0) << run << ": not whole right after the kill";
        {
            // The next start finishes a save that was cut off between
            // taking the old file away and moving the new one in.
            LauncherProcess next(m_dir.Path());
            ASSERT_NE(next.WaitForWindow(), nullptr);
        }
        const std::string text = Ini();
        const size_t at = text.find("[section]");
        ASSERT_EQ(at, other.size()) << run;
        EXPECT_EQ(text.compare(0, other.size(), other), 0) << run;
        const int row = std::atoi(text.c_str() + at + 22);
        EXPECT_EQ(text.substr(at), saved(row)) << run;
    }
}

} // namespace
