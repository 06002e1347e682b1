#pragma once

#include "launcher/settings/Options.h"
#include "launcher/settings/RowAndUrl.h"
#include "launcher/settings/SettingsPlace.h"
#include "launcher/settings/SettingsSaver.h"
#include "framework/CString.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The launcher's settings file, UserVar.ini, for the whole run: where it is
// kept, what is read from it, and every save into it. A save is a change:
// only the keys this launcher's player changed, written into the file as it
// is at that moment, through a copy that replaces it (CSettingsSaver).
//
// Where it is kept: CSettingsPlace.
class CSettings
{
public:
    // lpszStartFolder is a full path (its 8.3 form too).
    explicit CSettings(const wchar_t* lpszStartFolder, const SettingsFileCalls& calls = {});

    // The file's full path, and the folder it is in (the screenshots are
    // kept beside it).
    const CString& File() const noexcept { return m_place.File(); }
    const CString& Folder() const noexcept { return m_place.Folder(); }

    // A save held up, and a file that could not be read, are tried again on
    // hWnd's timer nTimerId, whose WM_TIMER the window hands to OnTimer;
    // onNoticeChanged is called when Problem changes, and onReadLate when
    // the file, which could not be read at start, has been read.
    void Attach(HWND hWnd, UINT_PTR nTimerId, std::function<void()> onNoticeChanged,
                std::function<void()> onReadLate = {});

    // Reads the file at start, in the launchers' turn with it, once what a
    // save that was cut off left is put right. False while another program
    // holds it so that it cannot be read (a backup, a sync client): nothing
    // of it is known, it is read again once that program lets go, and
    // nothing is saved for the launcher meanwhile, only the player's
    // choices.
    bool Load();
    bool IsRead() const noexcept { return m_bRead; }
    // What was read; empty until then. The options are the player's: what
    // was read, with what the player changed since.
    const CRowAndUrl& RowAndUrl() const noexcept { return m_rowAndUrl; }
    const COptions& Options() const noexcept { return m_options; }
    // Whether the player chose a row in this run.
    bool IsRowChosen() const noexcept { return m_bRowChosen; }

    // Saves the row and the address the launcher shows: the player's choice
    // (bChosen) whatever the file holds; otherwise what the launcher chose
    // itself, at start, only where it differs from what was read and the
    // file still holds that.
    void SaveRowAndUrl(int nRow, const CString& strUrl, bool bChosen);
    // Saves one key of "[options]" (a null value removes it), or an on/off
    // key as COptions::Switch reads it.
    void SaveOption(const wchar_t* lpszKey, const wchar_t* lpszValue);
    void SaveSwitch(const wchar_t* lpszKey, bool bOn) { SaveOption(lpszKey, bOn ? L"1" : L"0"); }
    // Saves wait while the launcher starts (see CSettingsSaver::Hold).
    void HoldSaves(DWORD dwMostMs) { m_saver.Hold(dwMostMs); }
    void ResumeSaves();
    void OnTimer();
    // The launcher ends (see CSettingsSaver::Flush).
    void Flush(DWORD dwPatienceMs) { m_saver.Flush(dwPatienceMs); }
    bool IsWaiting() const noexcept { return m_saver.IsWaiting(); }

    // For the strip's notice line: why the settings could not be read or
    // cannot be saved, and where they are kept when not beside the program;
    // empty when nothing is wrong.
    CString Problem() const;
    CString Where() const { return m_place.Where(); }

private:
    // Reads the file if it can be read whole now, waiting at most so long
    // for the launchers' turn.
    void Read(DWORD dwTurnWaitMs);
    // A file not read yet is tried again on the timer.
    void KeepReading();

    SettingsFileCalls m_calls;
    CSettingsPlace m_place;
    CSettingsSaver m_saver;
    HWND m_hWnd = nullptr;
    UINT_PTR m_nTimerId = 0;
    std::function<void()> m_onNoticeChanged;
    std::function<void()> m_onReadLate;
    bool m_bRead = false;
    bool m_bRowChosen = false; // by the player, this run
    CRowAndUrl m_rowAndUrl;
    COptions m_options;
    std::vector<std::pair<CString, std::optional<CString>>> m_changedOptions; // by the player, a key once
};
