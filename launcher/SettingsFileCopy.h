#pragma once

#include "framework/CString.h"

// A copy of the settings file that the launcher writes a save into and
// that then takes the file's place in one step, so that a crash, a killed
// process or a power cut during a save leaves either the old file or the
// new one: never an empty, cut or mixed one. A copy that is not committed
// is removed.
class CSettingsFileCopy
{
public:
    // Copies the file (none yet: the copy starts empty, as the file would).
    explicit CSettingsFileCopy(const wchar_t* lpszFile);
    ~CSettingsFileCopy();
    CSettingsFileCopy(const CSettingsFileCopy&) = delete;
    CSettingsFileCopy& operator=(const CSettingsFileCopy&) = delete;

    // FALSE when the file could not be copied: the save is then left undone.
    BOOL IsOpen() const noexcept { return m_bOpen; }
    // The copy's name, for the profile functions.
    const wchar_t* GetPath() const noexcept { return m_strCopy; }

    // Puts the copy in the file's place; FALSE leaves the file as it was.
    BOOL Commit();

private:
    CString m_strFile;
    CString m_strCopy;
    BOOL m_bOpen = FALSE;
};
