#include "MessagePump.h"

#include "framework/CWnd.h"

#include <algorithm>

namespace
{
const ULONGLONG kPollMs = 10;
}

void PumpPending()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!AfxPreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;)
    {
        PumpPending();
        if (done())
            return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline)
            return done();
        // done() may depend on other processes or threads: look again soon.
        const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, kPollMs));
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}
