#include "RowAndUrl.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace
{

const wchar_t kRowSection[] = L"section";
const wchar_t kKeyRow[] = L"ServersSel";
const wchar_t kKeyUrl[] = L"Url";
const int kRowDigits = 2; // a stored row is read as its first two characters
const DWORD kBufferStart = 260;
// A longer value is no address (the browser takes 2,083 characters at
// most), and reading it would hold up the start: it counts as absent.
const DWORD kValueLengthMost = DWORD(1) << 20;

// A key's value whole; absent when the file has none, or one longer than
// kValueLengthMost. (No value the launcher writes is the default.)
std::optional<CString> ReadKey(const wchar_t* lpszFile, const wchar_t* lpszKey)
{
    const wchar_t kAbsent[] = L"\x7f";
    CString strValue;
    for (DWORD cchBuffer = kBufferStart;; cchBuffer = std::min(2 * cchBuffer, kValueLengthMost + 2))
    {
        const DWORD cchRead = ::GetPrivateProfileStringW(
            kRowSection, lpszKey, kAbsent, strValue.GetBuffer(static_cast<int>(cchBuffer - 1)), cchBuffer, lpszFile);
        if (cchRead < cchBuffer - 1)
        {
            strValue.ReleaseBuffer(static_cast<int>(cchRead));
            if (std::wcscmp(strValue, kAbsent) == 0)
                return std::nullopt;
            return strValue;
        }
        if (cchBuffer == kValueLengthMost + 2)
            return std::nullopt;
    }
}

bool Same(const std::optional<CString>& a, const std::optional<CString>& b)
{
    return a.has_value() == b.has_value() && (!a || std::wcscmp(*a, *b) == 0);
}

// Reading a value trims the blanks around it and removes a pair of quotes
// around it: a value that would lose either is written in quotes.
CString Quoted(const CString& str)
{
    const int n = str.GetLength();
    const wchar_t* psz = str;
    if (n == 0 || !(std::iswspace(psz[0]) || std::iswspace(psz[n - 1]) || psz[0] == L'"' || psz[0] == L'\''))
        return str;
    CString strQuoted;
    strQuoted.Format(L"\"%ls\"", psz);
    return strQuoted;
}

} // namespace

CRowAndUrl::CRowAndUrl(int nRow, const CString& strUrl) : m_strUrl(strUrl)
{
    CString strRow;
    strRow.Format(L"%d", nRow);
    m_strRow = strRow;
}

CRowAndUrl CRowAndUrl::Read(const wchar_t* lpszFile)
{
    CRowAndUrl values;
    values.m_strRow = ReadKey(lpszFile, kKeyRow);
    values.m_strUrl = ReadKey(lpszFile, kKeyUrl);
    return values;
}

int CRowAndUrl::Row() const
{
    if (!m_strRow)
        return 0;
    const CString strDigits(*m_strRow, std::min(m_strRow->GetLength(), kRowDigits));
    return static_cast<int>(std::wcstol(strDigits, nullptr, 10));
}

CString CRowAndUrl::Url(const wchar_t* lpszDefault) const
{
    return m_strUrl ? *m_strUrl : CString(lpszDefault);
}

bool CRowAndUrl::WriteTo(const wchar_t* lpszFile, const CRowAndUrl* lpBefore) const
{
    const CRowAndUrl there = Read(lpszFile);
    const auto write = [&](const wchar_t* lpszKey, const std::optional<CString>& strMine,
                           const std::optional<CString>& strThere, const std::optional<CString>* pBefore) {
        if (!strMine || Same(strMine, strThere) || (pBefore && !Same(*pBefore, strThere)))
            return true;
        return ::WritePrivateProfileStringW(kRowSection, lpszKey, Quoted(*strMine), lpszFile) != FALSE;
    };
    return write(kKeyRow, m_strRow, there.m_strRow, lpBefore ? &lpBefore->m_strRow : nullptr) &&
           write(kKeyUrl, m_strUrl, there.m_strUrl, lpBefore ? &lpBefore->m_strUrl : nullptr);
}

bool CRowAndUrl::operator==(const CRowAndUrl& other) const
{
    return Same(m_strRow, other.m_strRow) && Same(m_strUrl, other.m_strUrl);
}
