#pragma once

#include "framework/ScopedMutex.h"

// A lock between processes on a settings file, the launchers' turn with it:
// launchers of the same file (in any process) save it one at a time, and
// read it when none is saving. Held while it lives.
class CSettingsLock
{
public:
    // lpszFile is the file's full path; its letter case does not matter.
    // Waits at most dwWaitMs for the turn (the window's thread must not
    // wait long: a launcher that hangs in its save would hang this one).
    CSettingsLock(const wchar_t* lpszFile, DWORD dwWaitMs, ScopedMutex::CreateFn pfnCreate = ::CreateMutexExW,
                  ScopedMutex::ReleaseFn pfnRelease = ::ReleaseMutex);

    // False when the turn did not come in that time.
    bool IsHeld() const noexcept { return m_mutex.IsHeld(); }

private:
    ScopedMutex m_mutex;
};
