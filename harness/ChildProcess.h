#pragma once

#include "harness/TestHandles.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// A program started as a child process in a directory of the caller's
// choosing. It runs in a job of its own with whatever it starts in turn (the
// browser's helper programs, another launcher): when the object goes, all of
// them end. A helper left running by a killed program would otherwise hold
// the test's output open, and the test runner waits for it.
class ChildProcess
{
public:
    // Throws std::runtime_error when the program cannot be started.
    ChildProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& directory);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool IsRunning() const;
    // Waits for the process to end, handling this thread's messages
    // meanwhile; its exit code, or STILL_ACTIVE.
    DWORD WaitForExit(DWORD timeoutMs);
    DWORD ProcessId() const { return m_pid; }
    HANDLE Handle() const { return m_hProcess.Get(); }

private:
    DWORD m_pid = 0;
    UniqueKernelHandle m_hJob;
    UniqueKernelHandle m_hProcess;
};

// Another program holding a file for ms milliseconds (hold_file: it reads
// it, letting others read it too); returns once it holds the file.
std::unique_ptr<ChildProcess> HoldFile(const std::wstring& path, DWORD ms);

// The first visible top-level window that match accepts, with the id of the
// process it belongs to; null when none does.
HWND FindVisibleWindow(const std::function<bool(HWND hWnd, DWORD pid)>& match);
// A window's text, asked with a time limit (the window may be another
// process's, and hung).
std::wstring WindowTextOf(HWND hWnd);

// The build directory: the parent of the folder this executable is in
// (tests\, tools\, bench\ or harness\).
std::wstring BuildDirectory();
