// The settings file as Windows treats it: held open by other programs for a
// moment, hidden by the player, left behind half-saved by a killed
// launcher, and fixed to the folder the launcher started in.

#include "harness/LauncherFixture.h"
#include "harness/LauncherProcess.h"
#include "harness/TempDir.h"

#include "framework/UniqueHandle.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

// Starts hold_file on a file for ms milliseconds; returns once it holds the
// file.
std::unique_ptr<ChildProcess> HoldFile(const std::wstring& path, DWORD ms)
{
    const std::wstring event = L"OrlimTestHolding" + std::to_wstring(::GetCurrentProcessId());
    const UniqueKernelHandle hEvent(::CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    auto holder = std::make_unique<ChildProcess>(BuildDirectory() + L"\\harness\\hold_file.exe",
                                                 L"\"" + path + L"\" " + std::to_wstring(ms) + L" " + event, L"");
    const HANDLE handles[] = {hEvent.Get(), holder->Handle()};
    ::WaitForMultipleObjects(2, handles, FALSE, 10000);
    return holder;
}

class SettingsFileTest : public LauncherFixture
{
protected:
    std::string Ini() const { return ReadFileBytes(IniPath()); }
};

TEST_F(SettingsFileTest, AProgramHoldingTheFileForAMomentIsWaitedFor)
{
    const auto holder = HoldFile(IniPath(), 500);
    Launcher().ChooseRow(5);
    EXPECT_NE(Ini().find("ServersSel=5\r\n"), std::string::npos);
    EXPECT_EQ(::WaitForSingleObject(holder->Handle(), 5000), WAIT_OBJECT_0);
}

TEST_F(SettingsFileTest, AHiddenFileStaysHiddenAndWhatAKilledSaveLeftIsPutRight)
{
    // A launcher that was killed during a save left its copy.
    const auto holder = HoldFile(m_dir.File(L"none"), 0);
    holder->WaitForExit(5000);
    const std::wstring leftover = IniPath() + L"." + std::to_wstring(holder->ProcessId()) + L".tmp";
    WriteFileBytes(leftover, "[section]\r\nServersSel=3\r\n");
    ::SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_HIDDEN);

    Launcher().ChooseRow(6);
    EXPECT_NE(Ini().find("ServersSel=6\r\n"), std::string::npos);
    EXPECT_TRUE(::GetFileAttributesW(IniPath().c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(FileExists(leftover));

    // Killed after its old file was taken away, before the new one moved in.
    m_launcher.reset();
    ::SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(IniPath().c_str());
    const std::wstring whole = IniPath() + L"." + std::to_wstring(holder->ProcessId()) + L".new";
    WriteFileBytes(whole, "[section]\r\nServersSel=4\r\nUrl=http://x.test/\r\n");
    EXPECT_EQ(Start().CurrentRow(), 4);
    EXPECT_FALSE(FileExists(whole));
}

TEST_F(SettingsFileTest, TheFolderStartedInKeepsTheFileWhereverTheCurrentDirectoryGoes)
{
    const std::wstring elsewhere = m_dir.File(L"elsewhere");
    ::CreateDirectoryW(elsewhere.c_str(), nullptr);
    ::SetCurrentDirectoryW(elsewhere.c_str()); // a page's file dialog went there
    Launcher().ChooseRow(7);
    EXPECT_NE(Ini().find("ServersSel=7\r\n"), std::string::npos);
    EXPECT_EQ(FileNames(elsewhere), std::vector<std::wstring>{});
    ::SetCurrentDirectoryW(m_dir.Path().c_str());
}

} // namespace
