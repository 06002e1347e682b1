#pragma once

#include "framework/ScopedMutex.h"

// A launcher's turn with its settings file: launchers of the same file (in
// any process) read it and save it one at a time. Held while it lives.
class CSettingsTurn
{
public:
    // lpszFile is the file's full path; its letter case does not matter.
    explicit CSettingsTurn(const wchar_t* lpszFile);

    // False when the turn never came (another launcher hangs in its save).
    bool IsHeld() const noexcept { return m_mutex.IsHeld(); }

private:
    ScopedMutex m_mutex;
};
