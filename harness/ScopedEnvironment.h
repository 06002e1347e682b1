#pragma once

#include <windows.h>

#include <string>

// Sets an environment variable of the process while it lives (a folder of
// the player's, moved into the test's folder).
class ScopedEnvironment
{
public:
    ScopedEnvironment(const wchar_t* lpszName, const std::wstring& value) : m_name(lpszName)
    {
        wchar_t szOld[MAX_PATH] = {};
        m_bHad = ::GetEnvironmentVariableW(lpszName, szOld, MAX_PATH) != 0;
        m_old = szOld;
        ::SetEnvironmentVariableW(lpszName, value.c_str());
    }
    ~ScopedEnvironment() { ::SetEnvironmentVariableW(m_name.c_str(), m_bHad ? m_old.c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring m_name;
    std::wstring m_old;
    bool m_bHad = false;
};
