#pragma once

#include "launcher/settings/SettingsLock.h"
#include "framework/CString.h"

// What became of a save.
enum class SettingsSave
{
    Saved,
    Later,      // the file or the launchers' turn is held for a moment
    ReadOnly,   // the player keeps the file as it is
    NotAFile,   // a folder has the file's name
    Unwritable, // the folder cannot be written
};

// The file calls a save makes: the system's own, unless a test stands in
// for what another program does to the file at the worst moment.
struct SettingsFileCalls
{
    HANDLE(WINAPI* pfnCreateFile)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) = ::CreateFileW;
    BOOL(WINAPI* pfnCopyFile)(LPCWSTR, LPCWSTR, BOOL) = ::CopyFileW;
    BOOL(WINAPI* pfnMoveFileEx)(LPCWSTR, LPCWSTR, DWORD) = ::MoveFileExW;
    BOOL(WINAPI* pfnReadFile)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) = ::ReadFile;
};

// A copy of the settings file that the launcher writes a save into and
// that then takes the file's place in one step, so that a crash, a killed
// process or a power cut during a save leaves either the old file or the
// new one: never an empty, cut or mixed one. A copy that is not committed
// is removed, unless it is the last whole one left. (The file that takes
// the name is the copy: it has the folder's security, and a link of that
// name becomes a file.)
//
// The copy is <file>.<process id>.tmp while it is written, and
// <file>.<process id>.new once it is whole and on the disk; the next turn
// removes what a killed launcher left, and moves a whole copy in where the
// file is missing.
//
// Launchers of the same file take turns from the copy to the replace, so
// that each save changes only its own keys in the file as it then is. A
// save never waits: not for the turn, nor for a program that holds the file
// open (a virus scanner, a cloud-sync client, an editor). It says so, and
// is tried again later.
class CSettingsFileCopy
{
public:
    // Copies the file; where there is none yet, lpszSeed (a file the
    // launcher's settings were kept in before), or nothing: the copy starts
    // empty, as the file would. Full paths.
    explicit CSettingsFileCopy(const wchar_t* lpszFile, const SettingsFileCalls& calls = {},
                               const wchar_t* lpszSeed = nullptr);
    ~CSettingsFileCopy();
    CSettingsFileCopy(const CSettingsFileCopy&) = delete;
    CSettingsFileCopy& operator=(const CSettingsFileCopy&) = delete;

    // Whether the copy can be written; otherwise Failure says why not.
    bool IsOpen() const noexcept { return m_failure == SettingsSave::Saved; }
    SettingsSave Failure() const noexcept { return m_failure; }
    // The copy's name, for the profile functions.
    const wchar_t* GetPath() const noexcept { return m_strCopy; }

    // Puts the copy in the file's place, keeping the file's attributes;
    // anything but Saved leaves the file as it was.
    SettingsSave Commit();

    // Finishes what saves that were cut off left behind: a whole copy where
    // the file is missing takes its place; copies of launchers that run no
    // more go. Called in the caller's turn.
    static void FinishCutOffSaves(const wchar_t* lpszFile);

    // What a failed call's error means: Later when it ends once another
    // program lets go of the file, otherwise lasting.
    static SettingsSave FailureOf(DWORD dwError, SettingsSave lasting) noexcept;

private:
    SettingsFileCalls m_calls;
    CString m_strFile;
    CString m_strCopy;
    CSettingsLock m_turn;
    DWORD m_dwAttributes = INVALID_FILE_ATTRIBUTES; // of the file, when there is one
    SettingsSave m_failure = SettingsSave::Later;
    bool m_bCopyMade = false;
    bool m_bWhole = false; // the copy is the .new
};
