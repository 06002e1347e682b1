#pragma once

#include <windows.h>

#include <string>

// A UTF-16 string. Embedded NUL characters are kept: the length, not the
// first NUL, ends the text (what a BSTR carries arrives whole).
class CString
{
public:
    CString() = default;
    CString(const wchar_t* psz);
    CString(const wchar_t* pch, int nLength);

    int GetLength() const noexcept { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const noexcept { return m_str.empty(); }
    operator const wchar_t*() const noexcept { return m_str.c_str(); }
    const wchar_t* GetString() const noexcept { return m_str.c_str(); }

    // Position of the first occurrence of pszSub at or after iStart, searched
    // over the whole text, exact and case-sensitive; -1 if there is none.
    int Find(const wchar_t* pszSub, int iStart = 0) const noexcept;

    void Format(const wchar_t* pszFormat, ...);
    CString& operator+=(const wchar_t* psz)
    {
        m_str += psz;
        return *this;
    }

    // Direct access for API calls that write into a buffer: GetBuffer makes
    // room for at least nMinBufLength characters plus the terminator;
    // ReleaseBuffer sets the length (by default, up to the first NUL).
    wchar_t* GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::wstring m_str;
};
