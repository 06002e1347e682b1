#include "SettingsFileCopy.h"

#include "framework/UniqueHandle.h"

namespace
{

// Another program (a virus scanner, an editor) may hold the file open for a
// moment; the replace waits that long, no longer.
const int kReplaceTries = 5;
const DWORD kReplaceRetryMs = 20;

} // namespace

CSettingsFileCopy::CSettingsFileCopy(const wchar_t* lpszFile) : m_strFile(lpszFile)
{
    // One name per process: two launchers may share the directory.
    m_strCopy.Format(L"%ls.%lu.tmp", lpszFile, ::GetCurrentProcessId());
    ::DeleteFileW(m_strCopy);
    if (::CopyFileW(lpszFile, m_strCopy, FALSE))
    {
        // A read-only file's copy is writable, and removable if the replace
        // is refused.
        ::SetFileAttributesW(m_strCopy, FILE_ATTRIBUTE_NORMAL);
        m_bOpen = TRUE;
    }
    else
    {
        // Without the file the copy starts empty. A file that cannot be read
        // (a directory in its place, a file another program locks) is left
        // alone: a copy without its other lines must not replace it.
        m_bOpen = ::GetLastError() == ERROR_FILE_NOT_FOUND;
    }
}

CSettingsFileCopy::~CSettingsFileCopy()
{
    if (m_bOpen)
        ::DeleteFileW(m_strCopy);
}

BOOL CSettingsFileCopy::Commit()
{
    if (!m_bOpen)
        return FALSE;
    {
        // The copy's bytes reach the disk before it takes the file's name.
        const UniqueFileHandle hCopy(::CreateFileW(m_strCopy, GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!hCopy || !::FlushFileBuffers(hCopy.Get()))
            return FALSE;
    }
    for (int nTry = 1;; ++nTry)
    {
        if (::MoveFileExW(m_strCopy, m_strFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        {
            m_bOpen = FALSE;
            return TRUE;
        }
        if (::GetLastError() != ERROR_SHARING_VIOLATION || nTry == kReplaceTries)
            return FALSE;
        ::Sleep(kReplaceRetryMs);
    }
}
