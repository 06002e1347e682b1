// One auto-fit tick over window trees of 10, 100 and 1,000 windows under
// the browser control, against the floor of enumerating the same tree once
// with EnumChildWindows. The tree holds no Flash window, so the tick walks
// all of it, as it does on every page without a game.
//   tick_bench.exe

#include "bench/Timing.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/TempDir.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{

BOOL CALLBACK Visit(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

// Builds n windows under hParent: all siblings ("wide"), or groups of
// about sqrt(n) siblings each holding as many ("nested").
std::vector<HWND> BuildTree(HWND hParent, int n, bool nested)
{
    std::vector<HWND> windows;
    auto add = [&](HWND hOwner) {
        const HWND hWnd = ::CreateWindowExW(0, L"PageBox", L"", WS_CHILD, 0, 0, 10, 10, hOwner, nullptr,
                                            ::GetModuleHandleW(nullptr), nullptr);
        windows.push_back(hWnd);
        return hWnd;
    };
    if (!nested)
    {
        for (int i = 0; i < n; ++i)
            add(hParent);
        return windows;
    }
    const int group = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
    while (static_cast<int>(windows.size()) < n)
    {
        const HWND hGroup = add(hParent);
        for (int i = 1; i < group && static_cast<int>(windows.size()) < n; ++i)
            add(hGroup);
    }
    return windows;
}

} // namespace

int main()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PageBox";
    ::RegisterClassW(&wc);

    TempDir dir;
    FakeWebBrowserClass browser;
    LauncherWindow launcher;
    ::KillTimer(launcher.Hwnd(), 0);
    const HWND hBrowser = launcher.Explorer();

    for (bool nested : {false, true})
    {
        for (int n : {10, 100, 1000})
        {
            std::vector<HWND> windows = BuildTree(hBrowser, n, nested);
            const int repeats = std::max(30, 30000 / n);
            std::vector<double> tick, floor;
            for (int r = 0; r < repeats; ++r)
            {
                double t = 1e3 * NowMs();
                launcher.Tick();
                tick.push_back(1e3 * NowMs() - t);
                int visited = 0;
                t = 1e3 * NowMs();
                ::EnumChildWindows(hBrowser, Visit, reinterpret_cast<LPARAM>(&visited));
                floor.push_back(1e3 * NowMs() - t);
            }
            const double tickUs = Median(tick);
            const double floorUs = Median(floor);
            std::printf("tick_%s_%d_us %.1f\ntick_floor_%s_%d_us %.1f\ntick_ratio_%s_%d %.2f\n",
                        nested ? "nested" : "wide", n, tickUs, nested ? "nested" : "wide", n, floorUs,
                        nested ? "nested" : "wide", n, tickUs / floorUs);
            for (auto it = windows.rbegin(); it != windows.rend(); ++it)
                ::DestroyWindow(*it);
        }
    }
    return 0;
}
