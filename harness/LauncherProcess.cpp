#include "LauncherProcess.h"

#include "MessagePump.h"

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
    FindContext ctx = {ProcessId(), caption.c_str(), nullptr};
    PumpUntil(
        [&] {
            ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&ctx));
            return ctx.found != nullptr || !IsRunning();
        },
        timeoutMs);
    return ctx.found;
}
