#include "LauncherProcess.h"

#include "MessagePump.h"

#include <stdexcept>
#include <vector>

namespace
{

struct FindContext
{
    DWORD pid;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND hWnd, LPARAM lParam)
{
    auto* ctx = reinterpret_cast<FindContext*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != ctx->pid || !::IsWindowVisible(hWnd))
        return TRUE;
    wchar_t text[256] = {};
    ::SendMessageTimeoutW(hWnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    if (std::wstring(text) != ctx->caption)
        return TRUE;
    ctx->found = hWnd;
    return FALSE;
}

} // namespace

std::wstring LauncherExePath()
{
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    dir = dir.substr(0, dir.find_last_of(L'\\')); // tests\ ...
    dir = dir.substr(0, dir.find_last_of(L'\\')); // ... the build directory
    return dir + L"\\OrlimWeb.exe";
}

LauncherProcess::LauncherProcess(const std::wstring& directory, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + LauncherExePath() + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &si, &m_pi))
        throw std::runtime_error("cannot start OrlimWeb.exe");
    m_hProcess.Reset(m_pi.hProcess);
    m_hThread.Reset(m_pi.hThread);
}

LauncherProcess::~LauncherProcess()
{
    if (IsRunning())
    {
        ::TerminateProcess(m_hProcess.Get(), 1);
        ::WaitForSingleObject(m_hProcess.Get(), 5000);
    }
}

HWND LauncherProcess::WaitForWindow(DWORD timeoutMs)
{
    m_hWnd = WaitForOwnWindow(L"Velka登陆器", timeoutMs);
    return m_hWnd;
}

HWND LauncherProcess::WaitForOwnWindow(const std::wstring& caption, DWORD timeoutMs) const
{
    FindContext ctx = {m_pi.dwProcessId, caption.c_str(), nullptr};
    PumpUntil(
        [&] {
            ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&ctx));
            return ctx.found != nullptr || !IsRunning();
        },
        timeoutMs);
    return ctx.found;
}

bool LauncherProcess::IsRunning() const
{
    return ::WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT;
}

DWORD LauncherProcess::WaitForExit(DWORD timeoutMs)
{
    PumpUntil([&] { return !IsRunning(); }, timeoutMs);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_hProcess.Get(), &code);
    return code;
}
