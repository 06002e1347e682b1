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

} // namespace

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
    ::InternetSetOptionW(nullptr, INTERNET_OPTION_SUPPRESS_BEHAVIOR, &dwBehavior, sizeof(dwBehavior));
}

bool CAnotherAccount::Start(HWND hWnd, const CString& strFolder)
{
    std::vector<wchar_t> exe(MAX_PATH);
    DWORD cch = 0;
    while ((cch = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()))) == exe.size())
        exe.resize(exe.size() * 2);
    if (cch == 0)
        return false;
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    CString strMark;
    strMark.Format(L"%ld,%ld", rc.left, rc.top);
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
    const UniqueKernelHandle hProcess(pi.hProcess);
    const UniqueKernelHandle hThread(pi.hThread);
    return true;
}
