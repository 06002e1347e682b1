#include "LauncherProcess.h"

#include "MessagePump.h"

std::wstring LauncherExePath()
{
    return BuildDirectory() + L"\\OrlimWeb.exe";
}

LauncherProcess::LauncherProcess(const std::wstring& directory, const std::wstring& arguments)
    : ChildProcess(LauncherExePath(), arguments, directory)
{
}

HWND LauncherProcess::WaitForWindow(DWORD timeoutMs)
{
    m_hWnd = WaitForOwnWindow(L"Velka登陆器", timeoutMs);
    return m_hWnd;
}

HWND LauncherProcess::WaitForOwnWindow(const std::wstring& caption, DWORD timeoutMs) const
{
    HWND hFound = nullptr;
    PumpUntil(
        [&] {
            hFound = FindVisibleWindow(
                [&](HWND hWnd, DWORD pid) { return pid == ProcessId() && WindowTextOf(hWnd) == caption; });
            return hFound != nullptr || !IsRunning();
        },
        timeoutMs);
    return hFound;
}
