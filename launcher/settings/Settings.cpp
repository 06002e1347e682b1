#include "Settings.h"

#include "launcher/settings/SettingsFileCopy.h"
#include "launcher/settings/SettingsTurn.h"
#include "framework/UniqueHandle.h"

#include <cwchar>
#include <cwctype>

namespace
{

const wchar_t kFileName[] = L"UserVar.ini";
// Another launcher's save takes milliseconds; one that hangs in its save is
// not waited for (the file is replaced in one step: it is whole to read).
const DWORD kTurnWaitMs = 250;

// A name in a folder ("C:\\" is a drive's own).
CString PathIn(const CString& strFolder, const wchar_t* lpszName)
{
    const int cch = strFolder.GetLength();
    const bool bSeparated = cch > 0 && static_cast<const wchar_t*>(strFolder)[cch - 1] == L'\\';
    CString strPath;
    strPath.Format(bSeparated ? L"%ls%ls" : L"%ls\\%ls", static_cast<const wchar_t*>(strFolder), lpszName);
    return strPath;
}

// Whether files can be made in a folder. One under Program Files cannot, for
// a program that asks for no elevation: Windows refuses it, as it refuses a
// medium that is read-only.
bool CanMakeFiles(const CString& strFolder, const SettingsFileCalls& calls)
{
    CString strName;
    strName.Format(L"%ls.%lu.tmp", kFileName, ::GetCurrentProcessId());
    const UniqueFileHandle hProbe(calls.pfnCreateFile(PathIn(strFolder, strName), GENERIC_WRITE, 0, nullptr,
                                                      CREATE_ALWAYS,
                                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (hProbe)
        return true;
    const DWORD dwError = ::GetLastError();
    return dwError != ERROR_ACCESS_DENIED && dwError != ERROR_WRITE_PROTECT;
}

// Where Windows keeps the files that a program writes into a folder it may
// not write to: the folder's path without its drive, under the player's
// %LOCALAPPDATA%\VirtualStore. Empty where there is none (a network path).
CString VirtualStoreOf(const CString& strFolder)
{
    const wchar_t* pszFolder = strFolder;
    wchar_t szLocal[MAX_PATH];
    const DWORD cchLocal = ::GetEnvironmentVariableW(L"LOCALAPPDATA", szLocal, MAX_PATH);
    if (cchLocal == 0 || cchLocal >= MAX_PATH || !std::iswalpha(pszFolder[0]) || pszFolder[1] != L':' ||
        pszFolder[2] != L'\\')
        return CString();
    CString strStore;
    strStore.Format(L"%ls\\VirtualStore%ls", szLocal, pszFolder + 2);
    if (strStore.GetLength() > 0 && static_cast<const wchar_t*>(strStore)[strStore.GetLength() - 1] == L'\\')
        strStore = CString(strStore, strStore.GetLength() - 1); // the drive's own folder
    return strStore;
}

// The folder the settings are kept in.
CString FolderFor(const CString& strStartFolder, const SettingsFileCalls& calls)
{
    if (CanMakeFiles(strStartFolder, calls))
        return strStartFolder;
    const CString strStore = VirtualStoreOf(strStartFolder);
    return strStore.IsEmpty() ? strStartFolder : strStore;
}

// Makes a folder and those it is in, as far as they are missing.
void MakeFolders(const CString& strFolder)
{
    const wchar_t* pszFolder = strFolder;
    for (int i = 3; i <= strFolder.GetLength(); ++i)
        if (pszFolder[i] == L'\\' || pszFolder[i] == L'\0')
            ::CreateDirectoryW(CString(pszFolder, i), nullptr); // one that is there already is no failure
}

} // namespace

CSettings::CSettings(const wchar_t* lpszStartFolder, const SettingsFileCalls& calls)
    : m_calls(calls), m_strStartFile(PathIn(lpszStartFolder, kFileName)),
      m_strFolder(FolderFor(lpszStartFolder, calls)), m_strFile(PathIn(m_strFolder, kFileName)),
      m_bElsewhere(std::wcscmp(m_strFolder, lpszStartFolder) != 0), m_saver(m_strFile, calls)
{
}

void CSettings::Attach(HWND hWnd, UINT_PTR nTimerId, std::function<void()> onNoticeChanged)
{
    m_saver.Attach(hWnd, nTimerId, std::move(onNoticeChanged));
}

void CSettings::Load(const std::function<void(const wchar_t* lpszFile)>& readSection)
{
    const CSettingsTurn turn(m_strFile, kTurnWaitMs);
    if (turn.IsHeld())
    {
        if (m_bElsewhere && ::GetFileAttributesW(m_strFile) == INVALID_FILE_ATTRIBUTES)
        {
            // Kept elsewhere from now on, begun with what the start folder's
            // file holds (as Windows begins it at the first save); another
            // launcher starting too reads it once whole.
            MakeFolders(m_strFolder);
            m_calls.pfnCopyFile(m_strStartFile, m_strFile, TRUE);
        }
        CSettingsFileCopy::FinishCutOffSaves(m_strFile);
    }
    // Where the copy could not be begun, the start folder's file is read.
    const wchar_t* lpszRead =
        m_bElsewhere && ::GetFileAttributesW(m_strFile) == INVALID_FILE_ATTRIBUTES ? m_strStartFile : m_strFile;
    readSection(lpszRead);
    m_options = COptions::Read(lpszRead);
}

void CSettings::Save(const wchar_t* lpszItem, CSettingsSaver::Writer writer)
{
    m_saver.Save(lpszItem, std::move(writer));
}

void CSettings::SaveOption(const wchar_t* lpszKey, const wchar_t* lpszValue)
{
    // A choice that cannot be saved holds for this run all the same.
    const CString strValue(lpszValue ? lpszValue : L"");
    const bool bRemove = lpszValue == nullptr;
    const CString strKey(lpszKey);
    m_saver.Save(lpszKey, [strKey, strValue, bRemove](const wchar_t* lpszCopy) {
        return COptions::WriteTo(lpszCopy, strKey, bRemove ? nullptr : static_cast<const wchar_t*>(strValue));
    });
}

CString CSettings::Where() const
{
    CString strWhere;
    if (m_bElsewhere)
        strWhere.Format(L"启动器所在的文件夹不能写入，设置保存在 %ls", static_cast<const wchar_t*>(m_strFolder));
    return strWhere;
}
