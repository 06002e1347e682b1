#pragma once

#include "launcher/services/SiteCache.h"

#include <windows.h>

#include <thread>

// Removing a site's entries from the browser's cache, off the window's
// thread: the whole cache is walked to find them, which takes seconds for
// a cache of tens of thousands of entries, and the game would stop meanwhile.
class CSiteCacheClear
{
public:
    CSiteCacheClear() = default;
    // Waits for a clear still under way.
    ~CSiteCacheClear();
    CSiteCacheClear(const CSiteCacheClear&) = delete;
    CSiteCacheClear& operator=(const CSiteCacheClear&) = delete;

    // Starts removing the site's entries; nDoneMessage is posted to hWnd
    // once they are gone, whose handler calls Finish. False while one is
    // under way.
    bool Start(CSiteCache site, HWND hWnd, UINT nDoneMessage);
    // From Start until Finish.
    bool IsUnderWay() const noexcept { return m_worker.joinable(); }
    void Finish();

private:
    std::thread m_worker;
};
