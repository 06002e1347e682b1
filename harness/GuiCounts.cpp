#include "GuiCounts.h"

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

namespace
{

// An entry of the GDI handle table (Wine's layout, 24 bytes).
struct GdiHandleEntry
{
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    UCHAR type; // 0: free
    UCHAR flags;
    unsigned long long userPointer;
};

const size_t kGdiHandleCount = 0x10000;
// Where the process environment block points at the table.
#ifdef _WIN64
const size_t kPebGdiSharedHandleTable = 0xF8;
#else
const size_t kPebGdiSharedHandleTable = 0x94;
#endif

int CountGdiObjects()
{
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return static_cast<int>(reported);
    PROCESS_BASIC_INFORMATION info = {};
    if (::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), nullptr) != 0)
        return -1;
    const auto* peb = reinterpret_cast<const BYTE*>(info.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + kPebGdiSharedHandleTable);
    if (!table)
        return -1;
    int count = 0;
    for (size_t i = 0; i < kGdiHandleCount; ++i)
        count += table[i].type != 0;
    return count;
}

BOOL CALLBACK CountChildren(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND hWnd, LPARAM lParam)
{
    ++*reinterpret_cast<int*>(lParam);
    ::EnumChildWindows(hWnd, CountChildren, lParam);
    return TRUE;
}

} // namespace

GuiCounts GuiCounts::Now()
{
    GuiCounts counts = {};
    counts.gdiObjects = CountGdiObjects();
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindowAndChildren, reinterpret_cast<LPARAM>(&counts.windows));
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof(pmc));
    counts.workingSet = pmc.WorkingSetSize;
    DWORD dwHandles = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &dwHandles);
    counts.handles = dwHandles;
    return counts;
}
