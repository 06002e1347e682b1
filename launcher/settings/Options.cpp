#include "Options.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace
{

const wchar_t kOptionsSection[] = L"options";
// A section longer than this (no launcher writes one) is read cut.
const DWORD kSectionMost = DWORD(1) << 20;

std::wstring Lower(const wchar_t* psz, size_t cch)
{
    std::wstring str(psz, cch);
    if (!str.empty())
        ::CharLowerBuffW(str.data(), static_cast<DWORD>(str.size()));
    return str;
}

// The section's lines, key=value\0key=value\0\0, whole: a buffer too small
// for them is given a cut list (and its size less two), never the
// section's end. *pbWhole says whether it was read to its end.
std::vector<wchar_t> ReadSection(const wchar_t* lpszFile, bool* pbWhole)
{
    for (DWORD cchBuffer = 512;; cchBuffer *= 2)
    {
        std::vector<wchar_t> section(cchBuffer);
        const DWORD cch = ::GetPrivateProfileSectionW(kOptionsSection, section.data(), cchBuffer, lpszFile);
        *pbWhole = cch < cchBuffer - 2;
        if (*pbWhole || cchBuffer >= kSectionMost)
        {
            section.resize(std::min(cch, cchBuffer - 2));
            return section;
        }
    }
}

} // namespace

COptions COptions::Read(const wchar_t* lpszFile)
{
    COptions options;
    bool bWhole = false;
    const std::vector<wchar_t> section = ReadSection(lpszFile, &bWhole);
    // key=value\0key=value: the profile functions trim blanks and quotes of
    // a value they read one by one: each is read so.
    for (const wchar_t* pLine = section.data(); pLine < section.data() + section.size() && *pLine;
         pLine += std::wcslen(pLine) + 1)
    {
        const wchar_t* pEquals = std::wcschr(pLine, L'=');
        if (!pEquals)
            continue;
        const wchar_t* pKey = pLine;
        const wchar_t* pKeyEnd = pEquals;
        while (pKey < pKeyEnd && *pKey <= L' ')
            ++pKey;
        while (pKeyEnd > pKey && pKeyEnd[-1] <= L' ')
            --pKeyEnd;
        const std::wstring key = Lower(pKey, static_cast<size_t>(pKeyEnd - pKey));
        wchar_t szValue[64] = {};
        ::GetPrivateProfileStringW(kOptionsSection, key.c_str(), L"", szValue, 64, lpszFile);
        options.m_values[key] = CString(szValue);
    }
    return options;
}

CString COptions::Text(const wchar_t* lpszKey) const
{
    const auto it = m_values.find(Lower(lpszKey, std::wcslen(lpszKey)));
    return it == m_values.end() ? CString() : it->second;
}

void COptions::Set(const wchar_t* lpszKey, const wchar_t* lpszValue)
{
    const std::wstring key = Lower(lpszKey, std::wcslen(lpszKey));
    if (lpszValue)
        m_values[key] = CString(lpszValue);
    else
        m_values.erase(key);
}

int COptions::Number(const wchar_t* lpszKey, int nDefault, bool (*isValue)(int)) const
{
    const CString strValue = Text(lpszKey);
    const wchar_t* szValue = strValue;
    wchar_t* pEnd = nullptr;
    const long nValue = std::wcstol(szValue, &pEnd, 10);
    if (pEnd == szValue || *pEnd != L'\0' || !isValue(static_cast<int>(nValue)))
        return nDefault;
    return static_cast<int>(nValue);
}

bool COptions::Switch(const wchar_t* lpszKey) const
{
    return Number(lpszKey, 0, [](int nValue) { return nValue == 0 || nValue == 1; }) == 1;
}

bool COptions::WriteTo(const wchar_t* lpszFile, const wchar_t* lpszKey, const wchar_t* lpszValue)
{
    if (!::WritePrivateProfileStringW(kOptionsSection, lpszKey, lpszValue, lpszFile))
        return false;
    if (lpszValue)
        return true;
    // A launcher that only used the boss key leaves no "[options]"; the
    // player's other choices keep it.
    bool bWhole = false;
    if (ReadSection(lpszFile, &bWhole).empty() && bWhole)
        return ::WritePrivateProfileStringW(kOptionsSection, nullptr, nullptr, lpszFile) != FALSE;
    return true;
}
