#include "ChildProcess.h"

#include "MessagePump.h"

#include <stdexcept>

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& directory)
    : m_hJob(::CreateJobObjectW(nullptr, nullptr))
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!m_hJob || !::SetInformationJobObject(m_hJob.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits)))
        throw std::runtime_error("cannot make a job for a child process");
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // Suspended until it is in the job, so that nothing it starts escapes.
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &si, &pi))
        throw std::runtime_error("cannot start a child process");
    m_pid = pi.dwProcessId;
    m_hProcess.Reset(pi.hProcess);
    const UniqueKernelHandle hThread(pi.hThread);
    if (!::AssignProcessToJobObject(m_hJob.Get(), pi.hProcess))
    {
        ::TerminateProcess(pi.hProcess, 1);
        throw std::runtime_error("cannot put a child process in its job");
    }
    ::ResumeThread(pi.hThread);
}

ChildProcess::~ChildProcess()
{
    ::TerminateJobObject(m_hJob.Get(), 1);
    ::WaitForSingleObject(m_hProcess.Get(), 5000);
}

bool ChildProcess::IsRunning() const
{
    return ::WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess::WaitForExit(DWORD timeoutMs)
{
    PumpUntil([&] { return !IsRunning(); }, timeoutMs);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_hProcess.Get(), &code);
    return code;
}

namespace
{

struct Search
{
    const std::function<bool(HWND, DWORD)>* match;
    HWND found;
};

BOOL CALLBACK VisitTopLevel(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (!::IsWindowVisible(hWnd) || !(*search->match)(hWnd, pid))
        return TRUE;
    search->found = hWnd;
    return FALSE;
}

} // namespace

HWND FindVisibleWindow(const std::function<bool(HWND hWnd, DWORD pid)>& match)
{
    Search search = {&match, nullptr};
    ::EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowTextOf(HWND hWnd)
{
    wchar_t text[256] = {};
    ::SendMessageTimeoutW(hWnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

std::wstring BuildDirectory()
{
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    dir = dir.substr(0, dir.find_last_of(L'\\'));  // tests\ ...
    return dir.substr(0, dir.find_last_of(L'\\')); // ... the build directory
}

std::unique_ptr<ChildProcess> HoldFile(const std::wstring& path, DWORD ms)
{
    const std::wstring event = L"OrlimTestHolding" + std::to_wstring(::GetCurrentProcessId());
    const UniqueKernelHandle hEvent(::CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    auto holder = std::make_unique<ChildProcess>(BuildDirectory() + L"\\harness\\hold_file.exe",
                                                 L"\"" + path + L"\" " + std::to_wstring(ms) + L" " + event, L"");
    const HANDLE handles[] = {hEvent.Get(), holder->Handle()};
    ::WaitForMultipleObjects(2, handles, FALSE, 10000);
    return holder;
}
