#include "SettingsPlace.h"

#include "framework/UniqueHandle.h"

#include <cwchar>
#include <cwctype>

namespace
{

const wchar_t kFileName[] = L"UserVar.ini";
// A name in a folder ("C:\\" is a drive's own).
CString PathIn(const CString& strFolder, const wchar_t* lpszName)
{
    const int cch = strFolder.GetLength();
    const bool bSeparated = cch > 0 && static_cast<const wchar_t*>(strFolder)[cch - 1] == L'\\';
    CString strPath;
    strPath.Format(bSeparated ? L"%ls%ls" : L"%ls\\%ls", static_cast<const wchar_t*>(strFolder), lpszName);
    return strPath;
}

bool IsRefusal(DWORD dwError)
{
    return dwError == ERROR_ACCESS_DENIED || dwError == ERROR_WRITE_PROTECT;
}

// Whether the launcher may keep its file in a folder: make files there (one
// under Program Files, for a program that asks for no elevation, it may
// not; nor on a medium that is read-only) and replace the file that is
// there (not one another account made in a folder an installer made: it may
// add files there, not take one's name). Held by another program, the file
// tells nothing yet: the saves wait for it.
bool MayKeepFileIn(const CString& strFolder, const SettingsFileCalls& calls)
{
    CString strName;
    strName.Format(L"%ls.%lu.tmp", kFileName, ::GetCurrentProcessId());
    const CString strProbe = PathIn(strFolder, strName);
    {
        const UniqueFileHandle hProbe(
            calls.pfnCreateFile(strProbe, GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (!hProbe && IsRefusal(::GetLastError()))
            return false;
        // Its maker may delete it through the handle that made it; a save
        // renames its copy by name.
        if (hProbe &&
            !UniqueFileHandle(calls.pfnCreateFile(strProbe, DELETE,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) &&
            ::GetLastError() == ERROR_ACCESS_DENIED)
            return false;
    }
    // A save takes the file's name with the right to delete it. (A read-only
    // file is the player's way of keeping it as it is, and says so.)
    const CString strFile = PathIn(strFolder, kFileName);
    const DWORD dwAttributes = ::GetFileAttributesW(strFile);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES ||
        (dwAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return true;
    const UniqueFileHandle hFile(calls.pfnCreateFile(strFile, DELETE,
                                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return hFile || ::GetLastError() != ERROR_ACCESS_DENIED;
}

// A folder's long path (a shortcut's "Start in" may give its 8.3 name).
CString LongPathOf(const wchar_t* lpszFolder)
{
    CString strLong;
    const DWORD cch = ::GetLongPathNameW(lpszFolder, nullptr, 0);
    if (cch == 0)
        return CString(lpszFolder);
    const DWORD cchCopied = ::GetLongPathNameW(lpszFolder, strLong.GetBuffer(static_cast<int>(cch)), cch);
    strLong.ReleaseBuffer(cchCopied < cch ? static_cast<int>(cchCopied) : 0);
    return strLong.IsEmpty() ? CString(lpszFolder) : strLong;
}

CString Environment(const wchar_t* lpszName)
{
    CString strValue;
    const DWORD cch = ::GetEnvironmentVariableW(lpszName, nullptr, 0);
    if (cch == 0)
        return strValue;
    const DWORD cchCopied = ::GetEnvironmentVariableW(lpszName, strValue.GetBuffer(static_cast<int>(cch)), cch);
    strValue.ReleaseBuffer(cchCopied < cch ? static_cast<int>(cchCopied) : 0);
    return strValue;
}

// Whether a path is a folder's or lies in it, whatever the letter case.
bool IsIn(const CString& strPath, const CString& strFolder)
{
    const int cch = strFolder.GetLength();
    if (cch < 3 || strPath.GetLength() < cch ||
        ::CompareStringOrdinal(strPath, cch, strFolder, cch, TRUE) != CSTR_EQUAL)
        return false;
    const wchar_t chNext = static_cast<const wchar_t*>(strPath)[cch];
    return chNext == L'\0' || chNext == L'\\';
}

// Where an unwritable folder's files are kept: the folder's path without its
// drive, under the player's %LOCALAPPDATA%\VirtualStore, where Windows kept
// them for the folders it virtualized; any other folder keeps its drive's
// letter there, so that D:\Games and E:\Games stay apart. Empty where there
// is none (a network path).
CString VirtualStoreOf(const CString& strFolder)
{
    const wchar_t* pszFolder = strFolder;
    const CString strLocal = Environment(L"LOCALAPPDATA");
    if (strLocal.IsEmpty() || !std::iswalpha(pszFolder[0]) || pszFolder[1] != L':' || pszFolder[2] != L'\\')
        return CString();
    bool bVirtualized = false;
    for (const wchar_t* lpszName :
         {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432", L"SystemRoot", L"ProgramData"})
        bVirtualized = bVirtualized || IsIn(strFolder, Environment(lpszName));
    CString strStore;
    if (bVirtualized)
        strStore.Format(L"%ls\\VirtualStore%ls", static_cast<const wchar_t*>(strLocal), pszFolder + 2);
    else
        strStore.Format(L"%ls\\VirtualStore\\%lc%ls", static_cast<const wchar_t*>(strLocal),
                        static_cast<wint_t>(std::towupper(pszFolder[0])), pszFolder + 2);
    if (static_cast<const wchar_t*>(strStore)[strStore.GetLength() - 1] == L'\\')
        strStore = CString(strStore, strStore.GetLength() - 1); // the drive's own folder
    return strStore;
}

// The folder the settings are kept in.
CString FolderFor(const CString& strStartFolder, const SettingsFileCalls& calls)
{
    if (MayKeepFileIn(strStartFolder, calls))
        return strStartFolder;
    const CString strStore = VirtualStoreOf(strStartFolder);
    return strStore.IsEmpty() ? strStartFolder : strStore;
}

} // namespace

CSettingsPlace::CSettingsPlace(const wchar_t* lpszStartFolder, const SettingsFileCalls& calls)
    : m_strStartFolder(LongPathOf(lpszStartFolder)), m_strStartFile(PathIn(m_strStartFolder, kFileName)),
      m_strFolder(FolderFor(m_strStartFolder, calls)), m_strFile(PathIn(m_strFolder, kFileName)),
      m_bElsewhere(std::wcscmp(m_strFolder, m_strStartFolder) != 0)
{
}

void CSettingsPlace::MakeFolder() const
{
    if (!m_bElsewhere)
        return;
    const wchar_t* pszFolder = m_strFolder;
    for (int i = 3; i <= m_strFolder.GetLength(); ++i)
        if (pszFolder[i] == L'\\' || pszFolder[i] == L'\0')
            ::CreateDirectoryW(CString(pszFolder, i), nullptr); // one that is there already is no failure
}

CString CSettingsPlace::Where() const
{
    if (!m_bElsewhere)
        return CString();
    // Short enough for the strip.
    const CString strLocal = Environment(L"LOCALAPPDATA");
    CString strWhere;
    if (IsIn(m_strFolder, strLocal))
        strWhere.Format(L"设置保存在 %%LOCALAPPDATA%%%ls",
                        static_cast<const wchar_t*>(m_strFolder) + strLocal.GetLength());
    else
        strWhere.Format(L"设置保存在 %ls", static_cast<const wchar_t*>(m_strFolder));
    return strWhere;
}
