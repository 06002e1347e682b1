#include "SettingsFileCopy.h"

#include "framework/UniqueHandle.h"

#include <cwchar>

namespace
{

const DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Whether a process of that id runs now.
bool IsRunning(DWORD dwProcessId)
{
    const UniqueKernelHandle hProcess(::OpenProcess(SYNCHRONIZE, FALSE, dwProcessId));
    if (!hProcess)
        return ::GetLastError() != ERROR_INVALID_PARAMETER; // no such process; otherwise not ours to see
    return ::WaitForSingleObject(hProcess.Get(), 0) == WAIT_TIMEOUT;
}

bool Exists(const wchar_t* lpszPath)
{
    return ::GetFileAttributesW(lpszPath) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

SettingsSave CSettingsFileCopy::FailureOf(DWORD dwError, SettingsSave lasting) noexcept
{
    // Refusals that end when the other program lets go of the file.
    const bool bMomentary = dwError == ERROR_ACCESS_DENIED || dwError == ERROR_SHARING_VIOLATION ||
                            dwError == ERROR_LOCK_VIOLATION || dwError == ERROR_USER_MAPPED_FILE;
    return bMomentary ? SettingsSave::Later : lasting;
}

CSettingsFileCopy::CSettingsFileCopy(const wchar_t* lpszFile, const SettingsFileCalls& calls, const wchar_t* lpszSeed)
    : m_calls(calls), m_strFile(lpszFile), m_turn(lpszFile, 0)
{
    // One name per process: two launchers may share the directory.
    m_strCopy.Format(L"%ls.%lu.tmp", lpszFile, ::GetCurrentProcessId());
    if (!m_turn.IsHeld())
        return;
    FinishCutOffSaves(lpszFile);
    m_dwAttributes = ::GetFileAttributesW(lpszFile);
    // Only a file that is not there counts as none: one that cannot be asked
    // about for the moment (being deleted, say) is waited for.
    if (m_dwAttributes == INVALID_FILE_ATTRIBUTES && ::GetLastError() != ERROR_FILE_NOT_FOUND)
    {
        m_failure = FailureOf(::GetLastError(), SettingsSave::Unwritable);
        return;
    }
    if (m_dwAttributes != INVALID_FILE_ATTRIBUTES && (m_dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        m_failure = SettingsSave::NotAFile;
        return;
    }
    // A read-only file is the player's way of keeping it as it is.
    if (m_dwAttributes != INVALID_FILE_ATTRIBUTES && (m_dwAttributes & FILE_ATTRIBUTE_READONLY))
    {
        m_failure = SettingsSave::ReadOnly;
        return;
    }
    // The copy is made first: where a new one cannot be, the folder cannot
    // be written (a folder under Program Files, for a program that asks for
    // no elevation). One left over may be held for a moment.
    {
        const bool bLeftOver = Exists(m_strCopy);
        const UniqueFileHandle hCopy(
            m_calls.pfnCreateFile(m_strCopy, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!hCopy)
        {
            const DWORD dwError = ::GetLastError();
            m_failure = bLeftOver ? FailureOf(dwError, SettingsSave::Unwritable) : SettingsSave::Unwritable;
            return;
        }
    }
    m_bCopyMade = true;
    // Without the file the copy starts as the seed, or empty, as the file
    // would. A file that cannot be read for the moment (another program
    // keeps it locked) is waited for: a copy without its other lines must
    // not replace it.
    const wchar_t* lpszFrom = m_dwAttributes != INVALID_FILE_ATTRIBUTES ? lpszFile : lpszSeed;
    if (lpszFrom && !m_calls.pfnCopyFile(lpszFrom, m_strCopy, FALSE))
    {
        const DWORD dwError = ::GetLastError();
        if (dwError != ERROR_FILE_NOT_FOUND)
        {
            m_failure = FailureOf(dwError, SettingsSave::Unwritable);
            return;
        }
    }
    // The copy is writable, and removable if the replace is refused; one of
    // a read-only seed (from a CD, or marked so by an installer) is not kept
    // so.
    ::SetFileAttributesW(m_strCopy, FILE_ATTRIBUTE_NORMAL);
    m_failure = SettingsSave::Saved;
}

CSettingsFileCopy::~CSettingsFileCopy()
{
    // The last whole copy stays while the file is missing: the next turn
    // moves it in.
    if (m_bCopyMade && !(m_bWhole && !Exists(m_strFile)))
        ::DeleteFileW(m_strCopy);
}

void CSettingsFileCopy::FinishCutOffSaves(const wchar_t* lpszFile)
{
    CString strPattern;
    strPattern.Format(L"%ls.*", lpszFile);
    const wchar_t* pszName = std::wcsrchr(lpszFile, L'\\');
    const size_t cchFolder = pszName ? static_cast<size_t>(pszName - lpszFile + 1) : 0;
    const size_t cchName = std::wcslen(lpszFile) - cchFolder;
    WIN32_FIND_DATAW fd;
    const UniqueHandle<HANDLE, InvalidHandleTraits<::FindClose>> hFind(::FindFirstFileW(strPattern, &fd));
    if (!hFind)
        return;
    do
    {
        // <file>.<process id>.tmp or .new
        if (std::wcslen(fd.cFileName) <= cchName + 1 || fd.cFileName[cchName] != L'.')
            continue;
        wchar_t* pEnd = nullptr;
        const unsigned long ulProcessId = std::wcstoul(fd.cFileName + cchName + 1, &pEnd, 10);
        const bool bWhole = std::wcscmp(pEnd, L".new") == 0;
        if (pEnd == fd.cFileName + cchName + 1 || (!bWhole && std::wcscmp(pEnd, L".tmp") != 0))
            continue;
        CString strCopy(lpszFile, static_cast<int>(cchFolder));
        strCopy += fd.cFileName;
        // Saves are made in turn: one that left the file missing was cut
        // off, whoever made it. (Anything that fails here is tried again by
        // the next turn.)
        if (bWhole && !Exists(lpszFile))
            ::MoveFileExW(strCopy, lpszFile, MOVEFILE_WRITE_THROUGH);
        else if (ulProcessId == ::GetCurrentProcessId() || !IsRunning(ulProcessId))
            ::DeleteFileW(strCopy);
    } while (::FindNextFileW(hFind.Get(), &fd));
}

SettingsSave CSettingsFileCopy::Commit()
{
    if (!IsOpen())
        return m_failure;
    {
        // The copy's bytes reach the disk before it takes the file's name.
        const UniqueFileHandle hCopy(::CreateFileW(m_strCopy, GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!hCopy || !::FlushFileBuffers(hCopy.Get()))
            return FailureOf(::GetLastError(), SettingsSave::Unwritable);
    }
    // The file stays hidden or whatever else it was: the copy carries that.
    if (m_dwAttributes != INVALID_FILE_ATTRIBUTES && (m_dwAttributes & kKeptAttributes))
        ::SetFileAttributesW(m_strCopy, m_dwAttributes & kKeptAttributes);
    // Whole from here on.
    CString strWhole;
    strWhole.Format(L"%ls.%lu.new", static_cast<const wchar_t*>(m_strFile), ::GetCurrentProcessId());
    if (!m_calls.pfnMoveFileEx(m_strCopy, strWhole, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FailureOf(::GetLastError(), SettingsSave::Unwritable);
    m_strCopy = strWhole;
    m_bWhole = true;
    // One step, on Windows as under Wine: the old file stays until the new
    // one has its name. (ReplaceFileW takes the old file away first, and on
    // some of its failures leaves neither in place.)
    if (!m_calls.pfnMoveFileEx(m_strCopy, m_strFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FailureOf(::GetLastError(), SettingsSave::Unwritable);
    m_bCopyMade = false;
    return SettingsSave::Saved;
}
