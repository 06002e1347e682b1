#pragma once

#include "harness/ChildProcess.h"

#include <string>

// The real OrlimWeb.exe, started as a child process in a directory of the
// test's choosing and driven from the test through its windows.
class LauncherProcess : public ChildProcess
{
public:
    explicit LauncherProcess(const std::wstring& directory, const std::wstring& arguments = L"");

    // The launcher window, once it is visible (null if it never shows).
    HWND WaitForWindow(DWORD timeoutMs = 15000);
    HWND Window() const { return m_hWnd; }
    // A top-level window of the process with this caption, once it is visible.
    HWND WaitForOwnWindow(const std::wstring& caption, DWORD timeoutMs = 10000) const;

private:
    HWND m_hWnd = nullptr;
};

// The launcher executable in the build directory.
std::wstring LauncherExePath();
