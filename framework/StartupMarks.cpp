#include "StartupMarks.h"

#include "SystemFunction.h"
#include "UniqueHandle.h"

#include <windows.h>

#include <cstdio>

namespace
{

const int kMostMarks = 64;

struct Marks
{
    bool bOn = false;
    bool bDone = false;
    wchar_t szFile[MAX_PATH] = {};
    int nMarks = 0;
    const char* phases[kMostMarks] = {};
    ULONGLONG times[kMostMarks] = {}; // 100 ns since the process was created
};

ULONGLONG FromFileTime(const FILETIME& ft) noexcept
{
    return (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// The time now, as finely as the system tells it (Windows 8 and later:
// better than a microsecond; Windows 7: the clock's tick).
ULONGLONG Now() noexcept
{
    using PreciseFn = void(WINAPI*)(LPFILETIME);
    static const auto pfnPrecise = SystemFunction<PreciseFn>(L"kernel32.dll", "GetSystemTimePreciseAsFileTime");
    FILETIME ft;
    (pfnPrecise ? pfnPrecise : ::GetSystemTimeAsFileTime)(&ft);
    return FromFileTime(ft);
}

Marks& TheMarks() noexcept
{
    static Marks s_marks = [] {
        Marks marks;
        const DWORD cch = ::GetEnvironmentVariableW(L"ORLIM_STARTUP_MARKS", marks.szFile, MAX_PATH);
        marks.bOn = cch > 0 && cch < MAX_PATH;
        return marks;
    }();
    return s_marks;
}

} // namespace

void StartupMarks::Mark(const char* lpszPhase) noexcept
{
    Marks& marks = TheMarks();
    if (!marks.bOn || marks.bDone || marks.nMarks == kMostMarks)
        return;
    marks.phases[marks.nMarks] = lpszPhase;
    marks.times[marks.nMarks] = Now();
    ++marks.nMarks;
}

void StartupMarks::Done() noexcept
{
    Marks& marks = TheMarks();
    if (!marks.bOn || marks.bDone)
        return;
    marks.bDone = true;
    FILETIME ftCreated, ftExited, ftKernel, ftUser;
    if (!::GetProcessTimes(::GetCurrentProcess(), &ftCreated, &ftExited, &ftKernel, &ftUser))
        return;
    const ULONGLONG ullCreated = FromFileTime(ftCreated);
    const UniqueFileHandle hFile(
        ::CreateFileW(marks.szFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile)
        return;
    for (int i = 0; i < marks.nMarks; ++i)
    {
        char szLine[160];
        const int cch =
            std::snprintf(szLine, sizeof(szLine), "%s %.3f\n", marks.phases[i],
                          static_cast<double>(static_cast<LONGLONG>(marks.times[i] - ullCreated)) / 10000.0);
        DWORD cbWritten = 0;
        if (cch > 0)
            ::WriteFile(hFile.Get(), szLine, static_cast<DWORD>(cch), &cbWritten, nullptr);
    }
}
