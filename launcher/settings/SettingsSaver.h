#pragma once

#include "launcher/settings/SettingsFileCopy.h"
#include "framework/CString.h"

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

// What the launcher has yet to put into its settings file. A save is tried
// at once; while the file cannot be replaced for the moment (another program
// holds it, another launcher is saving) it is tried again on a timer of the
// window's, the latest values winning, and the window never waits. Where a
// save can never land (a read-only file, a folder of that name, a folder
// that cannot be written), or is held up longer than programs hold a file
// for a moment, the values stay for the run and the problem is there for
// the window to show; a later save that lands clears it.
class CSettingsSaver
{
public:
    // Writes an item's values into the copy being saved; false when it
    // could not.
    using Writer = std::function<bool(const wchar_t* lpszCopy)>;

    // lpszFile is the settings file's full path; where it is missing, the
    // first save begins it from lpszSeed's (CSettingsFileCopy).
    explicit CSettingsSaver(const wchar_t* lpszFile, const SettingsFileCalls& calls = {},
                            const wchar_t* lpszSeed = nullptr);

    // Tries again on hWnd's timer nTimerId, whose WM_TIMER the window hands
    // to OnTimer; onProblemChanged is called when Problem changes.
    void Attach(HWND hWnd, UINT_PTR nTimerId, std::function<void()> onProblemChanged);

    // Saves an item: its writer replaces one of the same name still waiting.
    void Save(const wchar_t* lpszItem, Writer writer);
    // Saves wait (while the launcher starts: the player sees nothing of a
    // save before the window shows) until Resume, or at most dwMostMs, on
    // the timer whenever it comes after that.
    void Hold(DWORD dwMostMs);
    void Resume();
    void OnTimer();
    // The launcher ends: what waits is tried for at most dwPatienceMs more,
    // while another program holds the file for the moment.
    void Flush(DWORD dwPatienceMs);

    bool IsWaiting() const noexcept { return !m_waiting.empty(); }
    // Why the settings cannot be saved, for the notice line; empty when
    // nothing is wrong.
    CString Problem() const;

private:
    SettingsSave TryNow();

    SettingsFileCalls m_calls;
    CString m_strFile;
    CString m_strSeed;
    HWND m_hWnd = nullptr;
    UINT_PTR m_nTimerId = 0;
    std::function<void()> m_onProblemChanged;
    std::vector<std::pair<CString, Writer>> m_waiting;
    SettingsSave m_last = SettingsSave::Saved; // the last answer but Later
    int m_nTries = 0;                          // held for the moment, since the last answer but Later
    bool m_bHeld = false;                      // saves wait for Resume
    ULONGLONG m_ullHeldUntil = 0;              // or for this tick
};
