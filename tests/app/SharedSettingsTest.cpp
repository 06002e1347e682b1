// Two launchers started from one directory share its settings file: each
// save replaces the values, and a later start comes up with the last one.

#include "support/LauncherProcess.h"
#include "support/MessagePump.h"
#include "support/ProxySetting.h"
#include "support/RecordingProxy.h"
#include "support/TempDir.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

void ChooseRow(HWND hLauncher, int row)
{
    const HWND hCombo = ::GetDlgItem(hLauncher, IDC_PLATFORM_COMBO);
    ::SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ::SendMessageW(hLauncher, WM_COMMAND, MAKEWPARAM(IDC_PLATFORM_COMBO, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(hCombo));
}

int CurrentRow(HWND hLauncher)
{
    return static_cast<int>(::SendMessageW(::GetDlgItem(hLauncher, IDC_PLATFORM_COMBO), CB_GETCURSEL, 0, 0));
}

TEST(SharedSettingsTest, TwoLaunchersSaveInTurnAndTheLastSaveWins)
{
    TempDir dir;
    RecordingProxy proxy;
    ProxySetting setting(proxy.Port());
    {
        LauncherProcess first(dir.Path());
        LauncherProcess second(dir.Path());
        const HWND hFirst = first.WaitForWindow();
        const HWND hSecond = second.WaitForWindow();
        ASSERT_NE(hFirst, nullptr);
        ASSERT_NE(hSecond, nullptr);
        ASSERT_NE(hFirst, hSecond);

        ChooseRow(hFirst, 5);
        EXPECT_NE(ReadFileBytes(dir.File(L"UserVar.ini")).find("ServersSel=5\r\n"), std::string::npos);
        ChooseRow(hSecond, 9);
        EXPECT_NE(ReadFileBytes(dir.File(L"UserVar.ini")).find("ServersSel=9\r\n"), std::string::npos);
        ChooseRow(hFirst, 12);
        EXPECT_EQ(CurrentRow(hSecond), 9); // the other one runs on with its own row
    }
    LauncherProcess third(dir.Path());
    const HWND hThird = third.WaitForWindow();
    ASSERT_NE(hThird, nullptr);
    EXPECT_EQ(CurrentRow(hThird), 12);
}

} // namespace
