#pragma once

#include "launcher/settings/Options.h"
#include "launcher/settings/SettingsSaver.h"
#include "framework/CString.h"

#include <windows.h>

#include <functional>

// The launcher's settings file, UserVar.ini, for the whole run: where it is
// kept, what is read from it at start, and every save into it, each of only
// its own keys, through a copy that replaces the file (CSettingsSaver).
//
// It is kept in the folder the launcher was started from. Where that folder
// cannot be written (one under Program Files, for a player who is no
// administrator), it is kept where Windows kept it for programs that say
// nothing of elevation: the player's VirtualStore, the folder's path without
// its drive under %LOCALAPPDATA%\VirtualStore, begun as a copy of the start
// folder's file. Launchers of both kinds then read and write the same file.
// (Windows did so for Program Files and the Windows folder; any other folder
// that cannot be written is kept so too. A launcher run as administrator
// writes the start folder's own file, as the original program did then.)
class CSettings
{
public:
    // lpszStartFolder is a full path.
    explicit CSettings(const wchar_t* lpszStartFolder, const SettingsFileCalls& calls = {});

    // The file's full path, and the folder it is in (the screenshots are
    // kept beside it).
    const CString& File() const noexcept { return m_strFile; }
    const CString& Folder() const noexcept { return m_strFolder; }

    // A save held up is tried again on hWnd's timer nTimerId, whose WM_TIMER
    // the window hands to OnTimer; onNoticeChanged is called when Notice
    // changes.
    void Attach(HWND hWnd, UINT_PTR nTimerId, std::function<void()> onNoticeChanged);

    // Reads the file at start, in the launchers' turn with it, once what a
    // save that was cut off left is put right: readSection reads the row and
    // the address from the file it is given, and the options are read.
    void Load(const std::function<void(const wchar_t* lpszFile)>& readSection);
    // "[options]" as Load found it.
    const COptions& Options() const noexcept { return m_options; }

    // Saves an item (CSettingsSaver::Save), or one key of "[options]" (a
    // null value removes it).
    void Save(const wchar_t* lpszItem, CSettingsSaver::Writer writer);
    void SaveOption(const wchar_t* lpszKey, const wchar_t* lpszValue);
    // Saves wait while the launcher starts (see CSettingsSaver::Hold).
    void HoldSaves(DWORD dwMostMs) { m_saver.Hold(dwMostMs); }
    void ResumeSaves() { m_saver.Resume(); }
    void OnTimer() { m_saver.OnTimer(); }
    // The launcher ends (see CSettingsSaver::Flush).
    void Flush(DWORD dwPatienceMs) { m_saver.Flush(dwPatienceMs); }
    bool IsWaiting() const noexcept { return m_saver.IsWaiting(); }

    // For the strip's notice line: why the settings cannot be saved, and
    // where they are kept when not beside the program; empty when nothing
    // is wrong.
    CString Problem() const { return m_saver.Problem(); }
    CString Where() const;

private:
    SettingsFileCalls m_calls;
    CString m_strStartFile; // UserVar.ini in the start folder
    CString m_strFolder;
    CString m_strFile;
    bool m_bElsewhere; // not in the start folder
    CSettingsSaver m_saver;
    COptions m_options;
};
