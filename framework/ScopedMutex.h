#pragma once

#include "UniqueHandle.h"

#include <windows.h>

// Holds a named mutex, which other processes may name too, while it lives.
class ScopedMutex
{
public:
    // Waits at most dwTimeoutMs for it. A holder that ended without letting
    // go counts as gone.
    ScopedMutex(const wchar_t* lpszName, DWORD dwTimeoutMs) noexcept
        : m_hMutex(::CreateMutexW(nullptr, FALSE, lpszName))
    {
        if (!m_hMutex)
            return;
        const DWORD dwWait = ::WaitForSingleObject(m_hMutex.Get(), dwTimeoutMs);
        m_bHeld = dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED;
    }
    ~ScopedMutex()
    {
        if (m_bHeld)
            ::ReleaseMutex(m_hMutex.Get());
    }
    ScopedMutex(const ScopedMutex&) = delete;
    ScopedMutex& operator=(const ScopedMutex&) = delete;

    bool IsHeld() const noexcept { return m_bHeld; }

private:
    UniqueKernelHandle m_hMutex;
    bool m_bHeld = false;
};
