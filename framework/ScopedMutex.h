#pragma once

#include "UniqueHandle.h"

#include <windows.h>

// Holds a named mutex, which other processes may name too, while it lives.
class ScopedMutex
{
public:
    // How the mutex is made, or opened where it is there: CreateMutexExW,
    // unless a test stands in for what Windows answers.
    using CreateFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);
    // How it is let go: ReleaseMutex, unless a test stands in for Windows,
    // which lets go only through a handle with MUTEX_MODIFY_STATE (Wine
    // asks for none).
    using ReleaseFn = BOOL(WINAPI*)(HANDLE);

    // Waits at most dwTimeoutMs for it, handling the messages other threads
    // and programs send to the thread's windows meanwhile, so that none of
    // them waits on this one. A holder that ended without letting go counts
    // as gone. psa is the mutex's security where this makes it; only the
    // access to wait for it and let it go is asked for (CreateMutexW asks
    // for all, which Windows refuses where that security grants less).
    ScopedMutex(const wchar_t* lpszName, DWORD dwTimeoutMs, SECURITY_ATTRIBUTES* psa = nullptr,
                CreateFn pfnCreate = ::CreateMutexExW, ReleaseFn pfnRelease = ::ReleaseMutex) noexcept
        : m_hMutex(pfnCreate(psa, lpszName, 0, SYNCHRONIZE | MUTEX_MODIFY_STATE)), m_pfnRelease(pfnRelease)
    {
        if (!m_hMutex)
            return;
        const HANDLE hMutex = m_hMutex.Get();
        const ULONGLONG ullDeadline = ::GetTickCount64() + dwTimeoutMs;
        for (;;)
        {
            const ULONGLONG ullNow = ::GetTickCount64();
            const DWORD dwLeft = ullNow < ullDeadline ? static_cast<DWORD>(ullDeadline - ullNow) : 0;
            const DWORD dwWait = ::MsgWaitForMultipleObjectsEx(1, &hMutex, dwLeft, QS_SENDMESSAGE, 0);
            if (dwWait == WAIT_OBJECT_0 + 1)
            {
                MSG msg;
                ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
                continue;
            }
            m_bHeld = dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED_0;
            return;
        }
    }
    ~ScopedMutex()
    {
        if (m_bHeld)
            m_pfnRelease(m_hMutex.Get());
    }
    ScopedMutex(const ScopedMutex&) = delete;
    ScopedMutex& operator=(const ScopedMutex&) = delete;

    bool IsHeld() const noexcept { return m_bHeld; }

private:
    UniqueKernelHandle m_hMutex;
    ReleaseFn m_pfnRelease;
    bool m_bHeld = false;
};
