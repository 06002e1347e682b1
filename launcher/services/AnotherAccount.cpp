#include "AnotherAccount.h"

#include "framework/UniqueHandle.h"

#include <wininet.h>

#include <cwchar>
#include <vector>

namespace
{

// The mark a launcher started from the menu finds in its environment: the
// top left corner of the launcher that started it.
const wchar_t kMark[] = L"ORLIMWEB_ANOTHER_ACCOUNT";

// Internet Explorer 8 and later; not in every SDK's header.
const DWORD kSuppressCookiePersist = 3; // INTERNET_SUPPRESS_COOKIE_PERSIST

struct LauncherSearch
{
    DWORD dwProcessId;
    HWND hWnd;
};

BOOL CALLBACK FindLauncherOf(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<LauncherSearch*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    // A minimised one stands nowhere to stand beside.
    if (dwProcessId != pSearch->dwProcessId || !::IsWindowVisible(hWnd) || ::IsIconic(hWnd) ||
        ::GetWindow(hWnd, GW_OWNER))
        return TRUE;
    pSearch->hWnd = hWnd;
    return FALSE;
}

} // namespace

BOOL(WINAPI* CAnotherAccount::s_pfnSetOption)(HINTERNET, DWORD, LPVOID, DWORD) = ::InternetSetOptionW;

bool CAnotherAccount::IsStartedAsOne(POINT* pptFrom)
{
    wchar_t szValue[64] = {};
    const DWORD cch = ::GetEnvironmentVariableW(kMark, szValue, ARRAYSIZE(szValue));
    if (cch == 0 || cch >= ARRAYSIZE(szValue))
        return false;
    ::SetEnvironmentVariableW(kMark, nullptr);
    long x = 0;
    long y = 0;
    if (std::swscanf(szValue, L"%ld,%ld", &x, &y) != 2)
        return false;
    *pptFrom = POINT{x, y};
    return true;
}

void CAnotherAccount::KeepCookiesToItself()
{
    DWORD dwBehavior = kSuppressCookiePersist;
    // Refused only by a browser older than Internet Explorer 8: its session
    // cookies are still this process's own.
    s_pfnSetOption(nullptr, INTERNET_OPTION_SUPPRESS_BEHAVIOR, &dwBehavior, sizeof(dwBehavior));
}

bool CAnotherAccount::Start(HWND hWnd, const CString& strFolder)
{
    std::vector<wchar_t> exe(MAX_PATH);
    DWORD cch = 0;
    while ((cch = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()))) == exe.size())
        exe.resize(exe.size() * 2);
    if (cch == 0)
        return false;
    // Below and right of the last one started, while it is open: where it
    // stands, or, not shown yet, where it was to stand.
    POINT ptBase = m_ptLast;
    if (!m_hLast || ::WaitForSingleObject(m_hLast.Get(), 0) != WAIT_TIMEOUT)
    {
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        ptBase = {rc.left, rc.top};
    }
    else
    {
        LauncherSearch search = {m_dwLastProcessId, nullptr};
        ::EnumWindows(FindLauncherOf, reinterpret_cast<LPARAM>(&search));
        RECT rc;
        if (search.hWnd && ::GetWindowRect(search.hWnd, &rc))
            ptBase = {rc.left, rc.top};
    }
    CString strMark;
    strMark.Format(L"%ld,%ld", ptBase.x, ptBase.y);
    // The new process inherits the mark; this one sheds it at once.
    ::SetEnvironmentVariableW(kMark, strMark);
    CString strCommand;
    strCommand.Format(L"\"%ls\"", exe.data());
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = ::CreateProcessW(exe.data(), strCommand.GetBuffer(strCommand.GetLength()), nullptr, nullptr,
                                           FALSE, 0, nullptr, strFolder, &si, &pi);
    ::SetEnvironmentVariableW(kMark, nullptr);
    if (!bStarted)
        return false;
    m_hLast.Reset(pi.hProcess);
    m_dwLastProcessId = pi.dwProcessId;
    const int nOffset = ::GetSystemMetrics(SM_CYCAPTION);
    m_ptLast = {ptBase.x + nOffset, ptBase.y + nOffset};
    const UniqueKernelHandle hThread(pi.hThread);
    return true;
}
