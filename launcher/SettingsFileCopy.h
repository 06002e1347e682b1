#pragma once

#include "SettingsTurn.h"
#include "framework/CString.h"

// A copy of the settings file that the launcher writes a save into and
// that then takes the file's place, so that a crash, a killed process or a
// power cut during a save leaves either the old file or the new one: never
// an empty, cut or mixed one. A copy that is not committed is removed.
//
// The copy is <file>.<process id>.tmp while it is written, and
// <file>.<process id>.new once it is whole and on the disk. Where replacing
// is not one step (Wine's replace takes the old file away before it moves
// the new one in), a save cut off between the two leaves no file and a
// whole .new: the next turn puts it in place.
//
// Launchers of the same file take turns from the copy to the replace, so
// that each save changes only its own keys in the file as it then is. A
// program that holds the file open for a moment (a virus scanner, a
// cloud-sync client, an editor) is waited for, about a second in all.
class CSettingsFileCopy
{
public:
    // Copies the file (none yet: the copy starts empty, as the file would).
    // lpszFile is a full path.
    explicit CSettingsFileCopy(const wchar_t* lpszFile);
    ~CSettingsFileCopy();
    CSettingsFileCopy(const CSettingsFileCopy&) = delete;
    CSettingsFileCopy& operator=(const CSettingsFileCopy&) = delete;

    // FALSE when the file could not be copied, or is read-only: the save is
    // then left undone.
    bool IsOpen() const noexcept { return m_bOpen; }
    // The copy's name, for the profile functions.
    const wchar_t* GetPath() const noexcept { return m_strCopy; }

    // Puts the copy in the file's place, keeping the file's attributes (and
    // on Windows its security and creation time); FALSE leaves the file as
    // it was.
    bool Commit();

    // Finishes what saves that were cut off left behind: a whole copy where
    // the file is missing takes its place; copies of launchers that run no
    // more go. Called in the caller's turn.
    static void FinishCutOffSaves(const wchar_t* lpszFile);

private:
    CString m_strFile;
    CString m_strCopy;
    CSettingsTurn m_turn;
    DWORD m_dwAttributes = INVALID_FILE_ATTRIBUTES; // of the file, when there is one
    ULONGLONG m_ullDeadline;
    bool m_bOpen = false;
};
