#include "SiteCacheClear.h"

#include <utility>

CSiteCacheClear::~CSiteCacheClear()
{
    Finish();
}

bool CSiteCacheClear::Start(CSiteCache site, HWND hWnd, UINT nDoneMessage)
{
    if (IsUnderWay())
        return false;
    m_worker = std::thread([site = std::move(site), hWnd, nDoneMessage] {
        site.Remove();
        // A window that went meanwhile takes no message: nothing to do then.
        ::PostMessageW(hWnd, nDoneMessage, 0, 0);
    });
    return true;
}

void CSiteCacheClear::Finish()
{
    if (m_worker.joinable())
        m_worker.join();
}
