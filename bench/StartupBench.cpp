// Start-up and memory of the launcher against its floors, measured side by
// side: each run starts each program in turn in a fresh directory and times
// it from process start until its window is visible with the browser
// control in it. Then the launcher's start-up timeline: where its start
// goes, phase by phase, from the marks it notes when asked to (runs of their
// own, so that the timed ones run as players run them).
//   startup_bench.exe RUNS LAUNCHER.exe FLOOR.exe [FLOOR.exe...]

#include "bench/Timing.h"
#include "harness/ChildProcess.h"
#include "harness/TempDir.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <map>
#include <sstream>
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
    const double start = NowMs();
    const ChildProcess process(exe, L"", dir.Path());
    HWND hFound = nullptr;
    while (!hFound && process.IsRunning())
    {
        hFound =
            FindVisibleWindow([&](HWND hWnd, DWORD pid) { return pid == process.ProcessId() && HasBrowser(hWnd); });
        if (!hFound)
            ::Sleep(1);
    }
    run.ms = NowMs() - start;

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

// One start of the launcher with its marks on: each phase and its time since
// the process was created.
std::vector<std::pair<std::string, double>> Timeline(const std::wstring& exe)
{
    const TempDir dir;
    const std::wstring file = dir.File(L"marks.txt");
    ::SetEnvironmentVariableW(L"ORLIM_STARTUP_MARKS", file.c_str());
    std::vector<std::pair<std::string, double>> marks;
    {
        const ChildProcess process(exe, L"", dir.Path());
        for (int i = 0; i < 10000 && ::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
            ::Sleep(1);
        ::Sleep(50); // written whole
    }
    ::SetEnvironmentVariableW(L"ORLIM_STARTUP_MARKS", nullptr);
    std::istringstream in(ReadFileBytes(file));
    std::string line;
    while (std::getline(in, line))
    {
        const size_t at = line.rfind(' ');
        if (at != std::string::npos)
            marks.emplace_back(line.substr(0, at), std::stod(line.substr(at + 1)));
    }
    return marks;
}

// A phase's name as a reader knows it: a feature's class, without the length
// its compiler's name begins with.
std::string Readable(const std::string& phase)
{
    size_t at = 0;
    while (at < phase.size() && phase[at] >= '0' && phase[at] <= '9')
        ++at;
    return at > 0 && at < phase.size() ? phase.substr(at) + " started" : phase;
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

    // The timelines of the launcher and of the last floor (its face, which
    // marks the phases it has too): the median time of each phase since the
    // process was created, in the order the phases come.
    for (const int p : {0, programs - 1})
    {
        std::vector<std::string> order;
        std::map<std::string, std::vector<double>> phases;
        for (int i = 0; i < runs; ++i)
            for (const auto& mark : Timeline(argv[2 + p]))
            {
                if (!phases.count(mark.first))
                    order.push_back(mark.first);
                phases[mark.first].push_back(mark.second);
            }
        for (const std::string& phase : order)
            std::printf("%s %.1f %s\n", p == 0 ? "timeline" : "face_timeline", Median(phases[phase]),
                        Readable(phase).c_str());
    }
    return 0;
}
