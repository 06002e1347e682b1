#pragma once

#include <windows.h>

// Shows this thread's windows on a screen of the given size: a Wine desktop
// of its own (its work area is the whole of it). Made before the thread has
// any window, that is first thing in a test's process.
class ScreenOfSize
{
public:
    ScreenOfSize(int cx, int cy);
    ScreenOfSize(const ScreenOfSize&) = delete;
    ScreenOfSize& operator=(const ScreenOfSize&) = delete;

    // False when the thread had windows already (tests run one to a process
    // under ctest; a whole test program run at once cannot switch).
    bool IsInPlace() const { return m_bInPlace; }

private:
    bool m_bInPlace = false;
};
