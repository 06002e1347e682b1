// The settings file as Windows treats it: held open by other programs,
// hidden by the player, left behind half-saved by a killed launcher, its
// turn left by one, and fixed to the folder the launcher started in.

#include "harness/ChildProcess.h"
#include "harness/LauncherFixture.h"
#include "harness/LauncherProcess.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "framework/UniqueHandle.h"
#include "launcher/settings/Settings.h"
#include "launcher/settings/SettingsSaver.h"
#include "launcher/settings/SettingsTurn.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cwchar>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{

class SettingsFileTest : public LauncherFixture
{
protected:
    std::string Ini() const { return ReadFileBytes(IniPath()); }
};

// Another program holds the file, longer than a moment: for itself alone,
// letting others read it (it cannot be replaced), or letting it be replaced
// but not read (it cannot be copied).
class HeldFileTest : public SettingsFileTest, public ::testing::WithParamInterface<DWORD>
{
};

TEST_P(HeldFileTest, TheLatestChoiceLandsWholeOnceTheProgramLetsGo)
{
    WriteIni("[other]\r\nkept=1\r\n[section]\r\nServersSel=3\r\nUrl=http://x.test/\r\n");
    UniqueFileHandle hHeld(
        ::CreateFileW(IniPath().c_str(), GENERIC_READ, GetParam(), nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(hHeld);
    Launcher().ChooseRow(5);
    Launcher().ChooseRow(6);
    PumpFor(1500);
    hHeld.Reset();
    EXPECT_TRUE(PumpUntil([&] { return Ini().find("ServersSel=6\r\n") != std::string::npos; }, 3000)) << Ini();
    EXPECT_EQ(Ini().find("[other]\r\nkept=1\r\n"), 0u) << "the copy started without the file";
}

INSTANTIATE_TEST_SUITE_P(Holders, HeldFileTest,
                         ::testing::Values(DWORD(0), DWORD(FILE_SHARE_READ), DWORD(FILE_SHARE_DELETE)));

// What the file calls answer at the worst moment, as Windows answers them.
BOOL WINAPI CopyRefusedForTheMoment(LPCWSTR, LPCWSTR, BOOL)
{
    ::SetLastError(ERROR_SHARING_VIOLATION); // a holder that lets nobody read
    return FALSE;
}

HANDLE WINAPI CreateRefusedForGood(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    ::SetLastError(ERROR_ACCESS_DENIED); // a folder under Program Files, without elevation
    return INVALID_HANDLE_VALUE;
}

TEST(SettingsSaverTest, WhatWillPassIsWaitedForAndWhatWillNotIsSaid)
{
    struct Case
    {
        const char* what;
        SettingsFileCalls calls;
        DWORD dwWriteError; // the writer fails once so, unless 0
        bool bWaiting;
        bool bSaid;
    };
    SettingsFileCalls copyRefused;
    copyRefused.pfnCopyFile = CopyRefusedForTheMoment;
    SettingsFileCalls createRefused;
    createRefused.pfnCreateFile = CreateRefusedForGood;
    const Case cases[] = {
        {"the file cannot be read for the moment", copyRefused, 0, true, false},
        {"the folder cannot be written", createRefused, 0, true, true},
        {"the copy is held for the moment", {}, ERROR_SHARING_VIOLATION, true, false},
    };
    for (const Case& c : cases)
    {
        TempDir dir;
        const std::wstring file = dir.File(L"UserVar.ini");
        WriteFileBytes(file, "[other]\r\nkept=1\r\n");
        CSettingsSaver saver(file.c_str(), c.calls);
        DWORD dwFail = c.dwWriteError;
        saver.Save(L"item", [&](const wchar_t* lpszCopy) {
            ::SetLastError(std::exchange(dwFail, 0));
            return ::GetLastError() == 0 && ::WritePrivateProfileStringW(L"section", L"Row", L"5", lpszCopy);
        });
        EXPECT_EQ(ReadFileBytes(file), "[other]\r\nkept=1\r\n") << c.what;
        EXPECT_EQ(saver.IsWaiting(), c.bWaiting) << c.what;
        EXPECT_EQ(!saver.Problem().IsEmpty(), c.bSaid) << c.what;
    }
}

TEST(SettingsSaverTest, SavesHeldWhileTheLauncherStartsLandOnceItHasShownOrItsTimerComes)
{
    TempDir dir;
    const std::wstring file = dir.File(L"UserVar.ini");
    CSettingsSaver saver(file.c_str());
    const auto row = [](const wchar_t* lpszCopy) {
        return ::WritePrivateProfileStringW(L"section", L"Row", L"5", lpszCopy) != FALSE;
    };
    saver.Hold(60000);
    saver.Save(L"item", row);
    EXPECT_FALSE(FileExists(file)) << "nothing before the window shows";
    saver.Resume();
    EXPECT_NE(ReadFileBytes(file).find("Row=5"), std::string::npos);
    ::DeleteFileW(file.c_str());
    saver.Hold(60000);
    saver.Save(L"item", row);
    saver.OnTimer(); // a window that never showed: its time is up
    EXPECT_NE(ReadFileBytes(file).find("Row=5"), std::string::npos);
}

// A virus scanner looks at the new file the moment it is made: it cannot
// take the settings file's name yet.
BOOL WINAPI MoveRefusedOntoTheFile(LPCWSTR lpszFrom, LPCWSTR lpszTo, DWORD dwFlags)
{
    if (!std::wcsstr(lpszTo, L".new"))
    {
        ::SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    return ::MoveFileExW(lpszFrom, lpszTo, dwFlags);
}

TEST(SettingsSaverTest, AFirstSaveKilledBeforeItTookTheFilesNameIsThereAtTheNextStart)
{
    TempDir dir;
    SettingsFileCalls calls;
    calls.pfnMoveFileEx = MoveRefusedOntoTheFile;
    {
        CSettings killed(dir.Path().c_str(), calls);
        killed.SaveOption(L"Zoom", L"125");
        ASSERT_TRUE(killed.IsWaiting());
    }
    CSettings next(dir.Path().c_str());
    next.Load([](const wchar_t*) {});
    EXPECT_EQ(std::wstring(next.Options().Text(L"Zoom")), L"125");
}

// A folder under Program Files, for a program that asks for no elevation:
// Windows refuses it every new file.
std::wstring g_protected;
HANDLE WINAPI CreateRefusedInProgramFiles(LPCWSTR lpszName, DWORD dwAccess, DWORD dwShare, LPSECURITY_ATTRIBUTES psa,
                                          DWORD dwCreation, DWORD dwFlags, HANDLE hTemplate)
{
    if (std::wstring(lpszName).rfind(g_protected, 0) == 0)
    {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(lpszName, dwAccess, dwShare, psa, dwCreation, dwFlags, hTemplate);
}

std::wstring ReadRow(CSettings& settings)
{
    wchar_t szRow[3] = {};
    settings.Load([&](const wchar_t* lpszFile) {
        ::GetPrivateProfileStringW(L"section", L"ServersSel", L"0", szRow, 3, lpszFile);
    });
    return szRow;
}

TEST(SettingsPlaceTest, AFolderThePlayerCannotWriteKeepsTheSettingsWhereWindowsKeptTheOriginalPrograms)
{
    TempDir dir;
    g_protected = dir.File(L"Program Files\\Orlim");
    ::SHCreateDirectoryExW(nullptr, g_protected.c_str(), nullptr);
    wchar_t szLocal[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"LOCALAPPDATA", szLocal, MAX_PATH);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", dir.File(L"Local").c_str());
    const std::wstring store = dir.File(L"Local\\VirtualStore") + g_protected.substr(2);
    ::SHCreateDirectoryExW(nullptr, store.c_str(), nullptr);
    // The original program's choices, where Windows put them; an older file
    // beside the program.
    WriteFileBytes(store + L"\\UserVar.ini", "[section]\r\nServersSel=7\r\nUrl=http://x.test/\r\n");
    WriteFileBytes(g_protected + L"\\UserVar.ini", "[section]\r\nServersSel=3\r\nUrl=http://y.test/\r\n");
    SettingsFileCalls calls;
    calls.pfnCreateFile = CreateRefusedInProgramFiles;
    {
        CSettings settings(g_protected.c_str(), calls);
        EXPECT_EQ(ReadRow(settings), L"7");
        settings.SaveOption(L"Zoom", L"125");
        EXPECT_NE(ReadFileBytes(store + L"\\UserVar.ini").find("Zoom=125"), std::string::npos);
        EXPECT_EQ(std::wstring(settings.Folder()), store) << "the screenshots go there too";
        EXPECT_NE(std::wstring(settings.Where()).find(store), std::wstring::npos);
    }
    // None kept there yet: begun with the file beside the program.
    ::DeleteFileW((store + L"\\UserVar.ini").c_str());
    CSettings settings(g_protected.c_str(), calls);
    EXPECT_EQ(ReadRow(settings), L"3");
    EXPECT_NE(ReadFileBytes(store + L"\\UserVar.ini").find("ServersSel=3"), std::string::npos);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", szLocal[0] ? szLocal : nullptr);
}

TEST_F(SettingsFileTest, ATurnLeftByALauncherThatEndedIsTaken)
{
    // The launcher ended (its thread, here) while it held the turn.
    std::unique_ptr<CSettingsTurn> pLeft;
    std::thread([&] { pLeft = std::make_unique<CSettingsTurn>(IniPath().c_str(), 0); }).join();
    ASSERT_TRUE(pLeft->IsHeld());
    Launcher().ChooseRow(5);
    EXPECT_NE(Ini().find("ServersSel=5\r\n"), std::string::npos) << "the save waited for a launcher that is gone";
}

// Windows opens a mutex that is there for the access its security grants,
// no more: the turn's lets every launcher wait for it and let it go.
HANDLE WINAPI CreateMutexAsWindows(LPSECURITY_ATTRIBUTES psa, LPCWSTR lpszName, DWORD dwFlags, DWORD dwAccess)
{
    const UniqueKernelHandle hThere(::OpenMutexW(SYNCHRONIZE, FALSE, lpszName));
    if (hThere && (dwAccess & ~DWORD(SYNCHRONIZE | MUTEX_MODIFY_STATE)))
    {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return ::CreateMutexExW(psa, lpszName, dwFlags, dwAccess);
}

TEST(SettingsTurnTest, ASecondLauncherWaitsItsTurnAnsweringWhatIsSentMeanwhile)
{
    TempDir dir;
    const std::wstring file = dir.File(L"UserVar.ini");
    const HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const UniqueKernelHandle hHeld(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    bool bAnswered = false;
    // Another launcher has the turn, and sends this one's window a message
    // before it lets go.
    std::thread other([&] {
        const CSettingsTurn turn(file.c_str(), 0, CreateMutexAsWindows);
        ::SetEvent(hHeld.Get());
        DWORD_PTR dwResult = 0;
        bAnswered = ::SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &dwResult) != 0;
    });
    ::WaitForSingleObject(hHeld.Get(), 5000);
    const CSettingsTurn mine(file.c_str(), 3000, CreateMutexAsWindows);
    other.join();
    EXPECT_TRUE(mine.IsHeld());
    EXPECT_TRUE(bAnswered);
    ::DestroyWindow(hWnd);
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
