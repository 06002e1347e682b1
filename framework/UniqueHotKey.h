#pragma once

#include <windows.h>

// Owns one system-wide hot key registered for a window: unregistered when
// the owner is reset or destroyed.
class UniqueHotKey
{
public:
    UniqueHotKey() noexcept = default;
    ~UniqueHotKey() { Reset(); }
    UniqueHotKey(const UniqueHotKey&) = delete;
    UniqueHotKey& operator=(const UniqueHotKey&) = delete;

    // FALSE when the keys are taken (another program holds them) or the
    // system refuses them; what was held before is let go first.
    bool Register(HWND hWnd, int nID, UINT fsModifiers, UINT nVirtKey) noexcept
    {
        Reset();
        if (!::RegisterHotKey(hWnd, nID, fsModifiers, nVirtKey))
            return false;
        m_hWnd = hWnd;
        m_nID = nID;
        m_bRegistered = true;
        return true;
    }
    bool IsRegistered() const noexcept { return m_bRegistered; }

    void Reset() noexcept
    {
        if (m_bRegistered)
            ::UnregisterHotKey(m_hWnd, m_nID);
        m_bRegistered = false;
    }

private:
    HWND m_hWnd = nullptr; // null: the keys come to the thread
    int m_nID = 0;
    bool m_bRegistered = false;
};
