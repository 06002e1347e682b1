#include "Options.h"

#include "PageZoom.h"
#include "SettingsTurn.h"

#include <windows.h>

#include <cwchar>

namespace
{

const wchar_t kSection[] = L"options";
const wchar_t kKeyTopMost[] = L"TopMost";
const wchar_t kKeyZoom[] = L"Zoom";
const wchar_t kKeyMute[] = L"Mute";
const wchar_t kKeyBossKey[] = L"BossKey";
const wchar_t kKeyBossMute[] = L"BossMute";
const DWORD kValueBuffer = 32;
// Another launcher's save takes milliseconds; one that hangs in its save is
// not waited for (the file is replaced in one step: it is whole to read).
const DWORD kTurnWaitMs = 250;

CString ReadText(const wchar_t* lpszFile, const wchar_t* lpszKey)
{
    wchar_t szValue[kValueBuffer];
    ::GetPrivateProfileStringW(kSection, lpszKey, L"", szValue, kValueBuffer, lpszFile);
    return CString(szValue);
}

// A whole decimal number that isValue accepts; anything else gives the
// default.
int ReadNumber(const wchar_t* lpszFile, const wchar_t* lpszKey, int nDefault, bool (*isValue)(int))
{
    const CString strValue = ReadText(lpszFile, lpszKey);
    const wchar_t* szValue = strValue;
    wchar_t* pEnd = nullptr;
    const long nValue = std::wcstol(szValue, &pEnd, 10);
    if (pEnd == szValue || *pEnd != L'\0' || !isValue(static_cast<int>(nValue)))
        return nDefault;
    return static_cast<int>(nValue);
}

bool IsSwitch(int nValue)
{
    return nValue == 0 || nValue == 1;
}

// Removes a key, and the section with it when nothing else is left in it:
// a launcher that only used the boss key leaves no "[options]".
bool RemoveKey(const wchar_t* lpszFile, const wchar_t* lpszKey)
{
    if (!::WritePrivateProfileStringW(kSection, lpszKey, nullptr, lpszFile))
        return false;
    wchar_t szRest[2] = {};
    if (::GetPrivateProfileSectionW(kSection, szRest, 2, lpszFile) == 0)
        return ::WritePrivateProfileStringW(kSection, nullptr, nullptr, lpszFile) != FALSE;
    return true;
}

} // namespace

COptions COptions::Read(const wchar_t* lpszFile)
{
    const CSettingsTurn turn(lpszFile, kTurnWaitMs);
    COptions options;
    options.bTopMost = ReadNumber(lpszFile, kKeyTopMost, 0, IsSwitch) == 1;
    options.nZoom = ReadNumber(lpszFile, kKeyZoom, 100, CPageZoom::IsOption);
    options.bMute = ReadNumber(lpszFile, kKeyMute, 0, IsSwitch) == 1;
    options.strBossKey = ReadText(lpszFile, kKeyBossKey);
    options.bBossMute = ReadNumber(lpszFile, kKeyBossMute, 0, IsSwitch) == 1;
    return options;
}

const wchar_t* COptions::Key(Item item) noexcept
{
    switch (item)
    {
    case Item::Zoom:
        return kKeyZoom;
    case Item::Mute:
        return kKeyMute;
    case Item::BossMute:
        return kKeyBossMute;
    default:
        return kKeyTopMost;
    }
}

bool COptions::WriteTo(const wchar_t* lpszFile, Item item) const
{
    int nValue = bTopMost ? 1 : 0;
    if (item == Item::Zoom)
        nValue = nZoom;
    else if (item == Item::Mute)
        nValue = bMute ? 1 : 0;
    else if (item == Item::BossMute && !bBossMute)
        return RemoveKey(lpszFile, kKeyBossMute);
    else if (item == Item::BossMute)
        nValue = 1;
    CString strValue;
    strValue.Format(L"%d", nValue);
    return ::WritePrivateProfileStringW(kSection, Key(item), strValue, lpszFile) != FALSE;
}
