#pragma once

#include "launcher/settings/SettingsFileCopy.h"
#include "framework/CString.h"

// Where a launcher started in a folder keeps its settings file, UserVar.ini:
// in that folder; or, where that folder cannot be written or its file
// replaced (a folder an installer made, a file another account made),
// elsewhere, begun as a copy of the start folder's file at the first save:
// in a folder Windows virtualized for programs that say nothing of
// elevation (Program Files, the Windows folder, ProgramData), where Windows
// kept it, the player's VirtualStore, the folder's path without its drive
// under %LOCALAPPDATA%\VirtualStore; for any other folder, there too under
// its drive's letter. Launchers of both kinds then read and write the same
// file. (A launcher run as administrator writes the start folder's own
// file, as the original program did then.)
class CSettingsPlace
{
public:
    // lpszStartFolder is a full path (its 8.3 form too).
    CSettingsPlace(const wchar_t* lpszStartFolder, const SettingsFileCalls& calls);

    // The file's full path, and the folder it is in.
    const CString& File() const noexcept { return m_strFile; }
    const CString& Folder() const noexcept { return m_strFolder; }
    // The start folder's file, where the file is kept elsewhere; null where
    // it is that file.
    const wchar_t* Seed() const noexcept
    {
        return m_bElsewhere ? static_cast<const wchar_t*>(m_strStartFile) : nullptr;
    }
    // Makes the folder kept elsewhere, as far as it is missing.
    void MakeFolder() const;
    // For the notice line: where the settings are kept when not beside the
    // program, in a form Explorer's address bar takes; empty otherwise.
    CString Where() const;

private:
    CString m_strStartFolder; // its long path
    CString m_strStartFile;
    CString m_strFolder;
    CString m_strFile;
    bool m_bElsewhere;
};
