#include "SettingsFileCopy.h"

#include "framework/UniqueHandle.h"

#include <cwchar>

namespace
{

// Another program may hold the file for a moment; a save waits that long
// in all, no longer.
const ULONGLONG kPatienceMs = 1000;
const DWORD kRetryMs = 50;
const DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Refusals that end when the other program lets go of the file.
bool IsMomentary(DWORD dwError)
{
    return dwError == ERROR_ACCESS_DENIED || dwError == ERROR_SHARING_VIOLATION ||
           dwError == ERROR_LOCK_VIOLATION || dwError == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// Whether a process of that id runs now.
bool IsRunning(DWORD dwProcessId)
{
    const UniqueKernelHandle hProcess(::OpenProcess(SYNCHRONIZE, FALSE, dwProcessId));
    if (!hProcess)
        return ::GetLastError() != ERROR_INVALID_PARAMETER; // no such process; otherwise not ours to see
    return ::WaitForSingleObject(hProcess.Get(), 0) == WAIT_TIMEOUT;
}

} // namespace

CSettingsFileCopy::CSettingsFileCopy(const wchar_t* lpszFile)
    : m_strFile(lpszFile), m_turn(lpszFile), m_ullDeadline(::GetTickCount64() + kPatienceMs)
{
    // One name per process: two launchers may share the directory.
    m_strCopy.Format(L"%ls.%lu.tmp", lpszFile, ::GetCurrentProcessId());
    if (!m_turn.IsHeld())
        return;
    FinishCutOffSaves(lpszFile);
    m_dwAttributes = ::GetFileAttributesW(lpszFile);
    // A read-only file is the player's way of keeping it as it is.
    if (m_dwAttributes != INVALID_FILE_ATTRIBUTES && (m_dwAttributes & FILE_ATTRIBUTE_READONLY))
        return;
    for (;;)
    {
        if (::CopyFileW(lpszFile, m_strCopy, FALSE))
        {
            // The copy is writable, and removable if the replace is refused.
            ::SetFileAttributesW(m_strCopy, FILE_ATTRIBUTE_NORMAL);
            m_bOpen = true;
            return;
        }
        // Without the file the copy starts empty. A file that cannot be read
        // (a directory in its place, a file another program keeps locked) is
        // left alone: a copy without its other lines must not replace it.
        const DWORD dwError = ::GetLastError();
        if (dwError == ERROR_FILE_NOT_FOUND)
        {
            m_bOpen = true;
            return;
        }
        if (!IsMomentary(dwError) || ::GetTickCount64() >= m_ullDeadline)
            return;
        ::Sleep(kRetryMs);
    }
}

CSettingsFileCopy::~CSettingsFileCopy()
{
    if (m_bOpen)
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
        if (bWhole && ::GetFileAttributesW(lpszFile) == INVALID_FILE_ATTRIBUTES)
            ::MoveFileExW(strCopy, lpszFile, MOVEFILE_WRITE_THROUGH);
        else if (ulProcessId == ::GetCurrentProcessId() || !IsRunning(ulProcessId))
            ::DeleteFileW(strCopy);
    } while (::FindNextFileW(hFind.Get(), &fd));
}

bool CSettingsFileCopy::Commit()
{
    if (!m_bOpen)
        return false;
    {
        // The copy's bytes reach the disk before it takes the file's name.
        const UniqueFileHandle hCopy(::CreateFileW(m_strCopy, GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!hCopy || !::FlushFileBuffers(hCopy.Get()))
            return false;
    }
    // The file stays hidden or whatever else it was; a replace keeps that on
    // Windows, and the copy carries it where the system would not.
    if (m_dwAttributes != INVALID_FILE_ATTRIBUTES && (m_dwAttributes & kKeptAttributes))
        ::SetFileAttributesW(m_strCopy, m_dwAttributes & kKeptAttributes);
    // Whole from here on.
    CString strWhole;
    strWhole.Format(L"%ls.%lu.new", static_cast<const wchar_t*>(m_strFile), ::GetCurrentProcessId());
    if (!::MoveFileExW(m_strCopy, strWhole, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    m_strCopy = strWhole;
    for (;;)
    {
        // A replace keeps the file's security, attributes and creation time;
        // a first file, or one a failed replace took away, is moved in.
        const bool bReplace = ::GetFileAttributesW(m_strFile) != INVALID_FILE_ATTRIBUTES;
        const BOOL bDone =
            bReplace ? ::ReplaceFileW(m_strFile, m_strCopy, nullptr,
                                      REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)
                     : ::MoveFileExW(m_strCopy, m_strFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (bDone)
        {
            m_bOpen = false;
            return true;
        }
        // A replace that took the file away but could not move the copy in
        // leaves the copy to be moved in at once.
        const DWORD dwError = ::GetLastError();
        const bool bMoveNow = dwError == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
        if ((!bMoveNow && !IsMomentary(dwError)) || ::GetTickCount64() >= m_ullDeadline)
            return false;
        if (!bMoveNow)
            ::Sleep(kRetryMs);
    }
}
