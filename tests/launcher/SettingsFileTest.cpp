// The settings file as Windows treats it: held open by other programs,
// hidden by the player, left behind half-saved by a killed launcher, its
// turn left by one, and fixed to the folder the launcher started in.

#include "harness/ChildProcess.h"
#include "harness/LauncherFixture.h"
#include "harness/LauncherProcess.h"
#include "harness/MessagePump.h"
#include "harness/ScopedEnvironment.h"
#include "harness/TempDir.h"

#include "framework/UniqueHandle.h"
#include "launcher/settings/Settings.h"
#include "launcher/settings/SettingsSaver.h"
#include "launcher/settings/SettingsLock.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cwchar>
#include <map>
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
    saver.Hold(0);
    saver.Save(L"item", row);
    EXPECT_FALSE(FileExists(file)) << "nothing before the timer comes";
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
    next.Load();
    EXPECT_EQ(std::wstring(next.Options().Text(L"Zoom")), L"125");
}

// A folder under Program Files, for a program that asks for no elevation:
// Windows refuses it every new file. A folder an installer made, holding a
// file another account made: Windows lets the player add files there, not
// take that one's name.
std::wstring g_protected;
enum class Refused
{
    NewFiles,         // under Program Files
    ReplacingTheFile, // another account made it
    DeletingByName,   // its maker may delete a file only through the handle that made it
};
Refused g_refused = Refused::NewFiles;
HANDLE WINAPI CreateAsInAProtectedFolder(LPCWSTR lpszName, DWORD dwAccess, DWORD dwShare, LPSECURITY_ATTRIBUTES psa,
                                         DWORD dwCreation, DWORD dwFlags, HANDLE hTemplate)
{
    const std::wstring name(lpszName);
    const bool bDelete = (dwAccess & DELETE) && dwCreation == OPEN_EXISTING;
    const bool bRefused = name.rfind(g_protected, 0) == 0 &&
                          (g_refused == Refused::NewFiles ? dwCreation != OPEN_EXISTING
                           : g_refused == Refused::ReplacingTheFile
                               ? bDelete && name.size() > 11 && name.substr(name.size() - 11) == L"UserVar.ini"
                               : bDelete);
    if (bRefused)
    {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(lpszName, dwAccess, dwShare, psa, dwCreation, dwFlags, hTemplate);
}

int ReadRow(CSettings& settings)
{
    settings.Load();
    return settings.RowAndUrl().Row();
}

// Windows copies a file's attributes with it, read-only among them.
BOOL WINAPI CopyFileAsWindows(LPCWSTR lpszFrom, LPCWSTR lpszTo, BOOL bFailIfExists)
{
    return ::CopyFileW(lpszFrom, lpszTo, bFailIfExists) && ::SetFileAttributesW(lpszTo, ::GetFileAttributesW(lpszFrom));
}

TEST(SettingsPlaceTest, AFolderThePlayerCannotKeepTheFileInKeepsItWhereWindowsKeptTheOriginalPrograms)
{
    struct Case
    {
        const char* what;
        const wchar_t* folder; // the launcher's, in the test's folder
        Refused refused;
        bool bShortPath;   // started from its 8.3 name
        const char* file;  // beside the program, if any
        bool bReadOnly;    // from a CD, or so marked by an installer
        bool bVirtualized; // by Windows: kept without the drive
    };
    const char kSaved[] = "[section]\r\nServersSel=3\r\nUrl=http://y.test/\r\n";
    const Case cases[] = {
        {"Program Files", L"Program Files\\Orlim Web", Refused::NewFiles, false, kSaved, false, true},
        {"its 8.3 name", L"Program Files\\Orlim Web", Refused::NewFiles, true, kSaved, false, true},
        {"a file it may not replace", L"Program Files\\Orlim Web", Refused::ReplacingTheFile, false, kSaved, false,
         true},
        {"a folder it may add to only", L"Program Files\\Orlim Web", Refused::DeletingByName, false, "", false, true},
        {"a read-only file", L"Program Files\\Orlim Web", Refused::NewFiles, false, kSaved, true, true},
        {"a folder Windows never virtualized", L"Games\\Orlim", Refused::NewFiles, false, kSaved, false, false},
    };
    for (const Case& c : cases)
    {
        TempDir dir;
        const ScopedEnvironment local(L"LOCALAPPDATA", dir.File(L"Local"));
        const ScopedEnvironment programs(L"ProgramFiles", dir.File(L"Program Files"));
        g_protected = dir.File(c.folder);
        g_refused = c.refused;
        ::SHCreateDirectoryExW(nullptr, g_protected.c_str(), nullptr);
        const std::wstring store = dir.File(L"Local\\VirtualStore") +
                                   (c.bVirtualized ? L"" : L"\\" + std::wstring(1, g_protected[0])) +
                                   g_protected.substr(2);
        if (*c.file)
            WriteFileBytes(g_protected + L"\\UserVar.ini", c.file);
        if (c.bReadOnly)
            ::SetFileAttributesW((g_protected + L"\\UserVar.ini").c_str(), FILE_ATTRIBUTE_READONLY);
        wchar_t szShort[MAX_PATH] = {};
        ::GetShortPathNameW(g_protected.c_str(), szShort, MAX_PATH);
        SettingsFileCalls calls;
        calls.pfnCreateFile = CreateAsInAProtectedFolder;
        calls.pfnCopyFile = CopyFileAsWindows;
        {
            // Read from beside the program until the first save begins the
            // file there.
            CSettings settings(c.bShortPath ? szShort : g_protected.c_str(), calls);
            EXPECT_EQ(ReadRow(settings), *c.file ? 3 : 0) << c.what;
            EXPECT_EQ(std::wstring(settings.Folder()), store) << c.what << ": the screenshots go there too";
            EXPECT_NE(std::wstring(settings.Where()).find(L"%LOCALAPPDATA%\\VirtualStore\\"), std::wstring::npos)
                << c.what;
            settings.SaveOption(L"Zoom", L"125");
            EXPECT_EQ(ReadFileBytes(store + L"\\UserVar.ini").find(c.file), 0u) << c.what;
            settings.SaveOption(L"Mute", L"1");
            EXPECT_EQ(std::wstring(settings.Problem()), L"") << c.what;
        }
        EXPECT_NE(ReadFileBytes(store + L"\\UserVar.ini").find("Zoom=125\r\nMute=1"), std::string::npos) << c.what;
        // The file kept there is the one read from now on, the original
        // program's among them.
        WriteFileBytes(store + L"\\UserVar.ini", "[section]\r\nServersSel=7\r\n");
        CSettings next(g_protected.c_str(), calls);
        EXPECT_EQ(ReadRow(next), 7) << c.what;
        if (c.bReadOnly)
            ::SetFileAttributesW((g_protected + L"\\UserVar.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    g_refused = Refused::NewFiles;
}

TEST_F(SettingsFileTest, ATurnLeftByALauncherThatEndedIsTaken)
{
    // The launcher ended (its thread, here) while it held the turn.
    std::unique_ptr<CSettingsLock> pLeft;
    std::thread([&] { pLeft = std::make_unique<CSettingsLock>(IniPath().c_str(), 0); }).join();
    ASSERT_TRUE(pLeft->IsHeld());
    Launcher().ChooseRow(5);
    EXPECT_NE(Ini().find("ServersSel=5\r\n"), std::string::npos) << "the save waited for a launcher that is gone";
}

// Windows opens a mutex that is there for the access its security grants,
// no more, and lets go of it only through a handle with the right to.
std::map<HANDLE, DWORD> g_mutexAccess;
HANDLE WINAPI CreateMutexAsWindows(LPSECURITY_ATTRIBUTES psa, LPCWSTR lpszName, DWORD dwFlags, DWORD dwAccess)
{
    const UniqueKernelHandle hThere(::OpenMutexW(SYNCHRONIZE, FALSE, lpszName));
    if (hThere && (dwAccess & ~DWORD(SYNCHRONIZE | MUTEX_MODIFY_STATE)))
    {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    const HANDLE hMutex = ::CreateMutexExW(psa, lpszName, dwFlags, dwAccess);
    g_mutexAccess[hMutex] = dwAccess;
    return hMutex;
}

BOOL WINAPI ReleaseMutexAsWindows(HANDLE hMutex)
{
    if (!(g_mutexAccess[hMutex] & MUTEX_MODIFY_STATE))
    {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return ::ReleaseMutex(hMutex);
}

TEST(SettingsLockTest, ASecondLauncherWaitsItsTurnAnsweringWhatIsSentMeanwhileAndTakesIt)
{
    TempDir dir;
    const std::wstring file = dir.File(L"UserVar.ini");
    const HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const UniqueKernelHandle hHeld(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const UniqueKernelHandle hDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    bool bAnswered = false;
    // Another launcher has the turn, and sends this one's window a message
    // before it lets go; it runs on after (a holder that ended would count
    // as gone whether it let go or not).
    std::thread other([&] {
        {
            const CSettingsLock turn(file.c_str(), 0, CreateMutexAsWindows, ReleaseMutexAsWindows);
            ::SetEvent(hHeld.Get());
            DWORD_PTR dwResult = 0;
            bAnswered = ::SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &dwResult) != 0;
        }
        ::WaitForSingleObject(hDone.Get(), 10000);
    });
    ::WaitForSingleObject(hHeld.Get(), 5000);
    {
        const CSettingsLock mine(file.c_str(), 3000, CreateMutexAsWindows, ReleaseMutexAsWindows);
        EXPECT_TRUE(mine.IsHeld());
        EXPECT_TRUE(bAnswered);
    }
    // Let go, it is the other's again.
    std::thread([&] {
        const CSettingsLock again(file.c_str(), 0, CreateMutexAsWindows, ReleaseMutexAsWindows);
        EXPECT_TRUE(again.IsHeld()) << "this launcher still holds the turn";
    }).join();
    ::SetEvent(hDone.Get());
    other.join();
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
