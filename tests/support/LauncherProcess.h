#pragma once

#include "support/TestHandles.h"

#include <windows.h>

#include <string>

// The real OrlimWeb.exe, started as a child process in a directory of the
// test's choosing and driven from the test through its windows.
class LauncherProcess
{
public:
    explicit LauncherProcess(const std::wstring& directory, const std::wstring& arguments = L"");
    ~LauncherProcess(); // ends the process if it still runs
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    // The launcher window, once it is visible (null if it never shows).
    HWND WaitForWindow(DWORD timeoutMs = 15000);
    HWND Window() const { return m_hWnd; }
    // A top-level window of the process with this caption, once it is visible.
    HWND WaitForOwnWindow(const std::wstring& caption, DWORD timeoutMs = 10000) const;

    bool IsRunning() const;
    // Waits for the process to end; its exit code, or STILL_ACTIVE.
    DWORD WaitForExit(DWORD timeoutMs);
    DWORD ProcessId() const { return m_pi.dwProcessId; }

private:
    PROCESS_INFORMATION m_pi = {};
    UniqueKernelHandle m_hProcess;
    UniqueKernelHandle m_hThread;
    HWND m_hWnd = nullptr;
};

// The launcher executable beside the test executables' build directory.
std::wstring LauncherExePath();
