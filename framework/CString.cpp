#include "CString.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

namespace
{
const size_t kMaxFormatLength = size_t(1) << 24;
}

CString::CString(const wchar_t* psz) : m_str(psz ? psz : L"") {}

CString::CString(const wchar_t* pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.assign(pch, static_cast<size_t>(nLength));
}

int CString::Find(const wchar_t* pszSub, int iStart) const noexcept
{
    if (iStart < 0 || iStart > GetLength())
        return -1;
    const size_t pos = m_str.find(pszSub, static_cast<size_t>(iStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

void CString::Format(const wchar_t* pszFormat, ...)
{
    std::vector<wchar_t> buffer(64);
    for (;;)
    {
        va_list args;
        va_start(args, pszFormat);
        const int n = std::vswprintf(buffer.data(), buffer.size(), pszFormat, args);
        va_end(args);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size())
        {
            m_str.assign(buffer.data(), static_cast<size_t>(n));
            return;
        }
        if (buffer.size() >= kMaxFormatLength)
        {
            m_str.clear(); // unformattable: an encoding error, or absurdly long
            return;
        }
        buffer.resize(buffer.size() * 2);
    }
}

wchar_t* CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinBufLength));
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(::wcsnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(nNewLength));
}
