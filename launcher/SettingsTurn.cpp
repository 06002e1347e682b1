#include "SettingsTurn.h"

#include "framework/CString.h"

#include <cwchar>

namespace
{

// The name the launchers of one file share: the file's full path, whatever
// its letter case, boiled down (FNV-1a) to fit a name.
CString TurnName(const wchar_t* lpszFile)
{
    CString strUpper(lpszFile);
    wchar_t* psz = strUpper.GetBuffer(strUpper.GetLength());
    ::CharUpperBuffW(psz, static_cast<DWORD>(std::wcslen(psz)));
    unsigned long long ullHash = 14695981039346656037ULL;
    for (const wchar_t* p = psz; *p; ++p)
        ullHash = (ullHash ^ static_cast<unsigned short>(*p)) * 1099511628211ULL;
    strUpper.ReleaseBuffer();
    CString strName;
    strName.Format(L"Local\\OrlimWeb.Settings.%016llx", ullHash);
    return strName;
}

} // namespace

CSettingsTurn::CSettingsTurn(const wchar_t* lpszFile, DWORD dwWaitMs) : m_mutex(TurnName(lpszFile), dwWaitMs) {}
