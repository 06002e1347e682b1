// Start-up and memory of the launcher against its floors, measured side by
// side: each run starts each program in turn in a fresh directory and times
// it from process start until its window is visible with the browser
// control in it.
//   startup_bench.exe RUNS LAUNCHER.exe FLOOR.exe [FLOOR.exe...]

#include "harness/ChildProcess.h"
#include "harness/TempDir.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

BOOL CALLBACK FindBrowser(HWND hWnd, LPARAM lParam)
{
    wchar_t cls[64];
    if (!::IsWindowVisible(hWnd) || !::GetClassNameW(hWnd, cls, 64) || std::wstring(cls) != L"Shell Embedding")
        return TRUE;
    *reinterpret_cast<bool*>(lParam) = true;
    return FALSE;
}

// The program's window, once it shows the browser control.
bool HasBrowser(HWND hWnd)
{
    bool bFound = false;
    ::EnumChildWindows(hWnd, FindBrowser, reinterpret_cast<LPARAM>(&bFound));
    return bFound;
}

double Now()
{
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Run
{
    double ms = 0;
    SIZE_T peakAfterStart = 0;
    SIZE_T peakAfterTicks = 0;
    SIZE_T workingSetAfterTicks = 0;
};

SIZE_T PeakWorkingSet(HANDLE hProcess, SIZE_T* current = nullptr)
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    ::GetProcessMemoryInfo(hProcess, &pmc, sizeof(pmc));
    if (current)
        *current = pmc.WorkingSetSize;
    return pmc.PeakWorkingSetSize;
}

Run StartOnce(const std::wstring& exe, bool ticks)
{
    const TempDir dir;
    Run run;
    const double start = Now();
    const ChildProcess process(exe, L"", dir.Path());
    HWND hFound = nullptr;
    while (!hFound && process.IsRunning())
    {
        hFound =
            FindVisibleWindow([&](HWND hWnd, DWORD pid) { return pid == process.ProcessId() && HasBrowser(hWnd); });
        if (!hFound)
            ::Sleep(1);
    }
    run.ms = Now() - start;

    if (ticks && hFound)
    {
        ::Sleep(500); // let the first page load fail and settle
        run.peakAfterStart = PeakWorkingSet(process.Handle());
        for (int i = 0; i < 100; ++i)
            ::SendMessageW(hFound, WM_TIMER, 0, 0);
        run.peakAfterTicks = PeakWorkingSet(process.Handle(), &run.workingSetAfterTicks);
    }
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: startup_bench RUNS LAUNCHER.exe FLOOR.exe [FLOOR.exe...]\n");
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    const int programs = argc - 2;
    for (int p = 0; p < programs; ++p)
        StartOnce(argv[2 + p], false); // warm the caches of each first

    std::vector<std::vector<double>> times(programs);
    std::vector<Run> launcherRuns;
    for (int i = 0; i < runs; ++i)
    {
        // Rotate which goes first, so that none always follows another.
        for (int k = 0; k < programs; ++k)
        {
            const int p = (i + k) % programs;
            const Run run = StartOnce(argv[2 + p], p == 0);
            times[p].push_back(run.ms);
            if (p == 0)
                launcherRuns.push_back(run);
        }
    }
    const double launcher = Median(times[0]);
    std::printf("startup_launcher_ms %.1f\n", launcher);
    for (int p = 1; p < programs; ++p)
    {
        const double floor = Median(times[p]);
        std::printf("startup_floor%d_ms %.1f\nstartup_ratio%d %.2f\n", p, floor, p, launcher / floor);
    }

    std::vector<double> peakStart, peakTicks, wsTicks;
    for (const Run& run : launcherRuns)
    {
        peakStart.push_back(static_cast<double>(run.peakAfterStart) / 1024);
        peakTicks.push_back(static_cast<double>(run.peakAfterTicks) / 1024);
        wsTicks.push_back(static_cast<double>(run.workingSetAfterTicks) / 1024);
    }
    std::printf("peak_ws_after_start_kib %.0f\npeak_ws_after_100_ticks_kib %.0f\nws_after_100_ticks_kib %.0f\n",
                Median(peakStart), Median(peakTicks), Median(wsTicks));
    return 0;
}
